// GenBOHandler: building, logging and tracing broker messages.
#include "connector/conn_globals.h"
#include "connector/conn_handler.h"
#include "connector/conn_msg.h"

namespace {
char conn_handler_empty[1] = "";
}

char* GenBOHandler::vgenerateTraceMsg(int number, int type, const char* info, int count,
                                      va_list args) {
  int level = globals ? globals->traceLevel : 0;
  if (level == 0 && type != KzMsgFormat::ORB_ERROR && type != KzMsgFormat::ORB_FATAL) {
    conn_handler_empty[0] = '\0';
    return conn_handler_empty;
  }
  return conn_msg_generate(
      level, traceBuf, sizeof traceBuf, count, args,
      [&](va_list a) {
        return JToCPPVeneer::getTheHandlerStuff()->generateMsg(number, type, info, count, a);
      },
      [&]() { return BOHandlerCPP::generateMsg(number, type, info, 0); },
      [&](const char* text, int lvl) { dbgMsg(text, lvl); });
}

char* GenBOHandler::generateTraceMsg(int number, int type, const char* info, int count, ...) {
  va_list args;
  va_start(args, count);
  char* text = vgenerateTraceMsg(number, type, info, count, args);
  va_end(args);
  return text;
}

void GenBOHandler::dbgMsg(const char* text, int level) {
  if (level >= 1) BOHandlerCPP::traceWrite(level, text, nullptr);
}

void GenBOHandler::logMessage(int number, int type, int count, ...) {
  va_list args;
  va_start(args, count);
  char* text = vgenerateTraceMsg(number, type, nullptr, count, args);
  va_end(args);
  if (*text) JToCPPVeneer::getTheHandlerStuff()->logMsg(text, type);
}

void GenBOHandler::traceMessage(int level, int number, int type, int count, ...) {
  va_list args;
  va_start(args, count);
  char* text = vgenerateTraceMsg(number, type, nullptr, count, args);
  va_end(args);
  if (*text) JToCPPVeneer::getTheHandlerStuff()->traceWrite(level, text, nullptr);
}
