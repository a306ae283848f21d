// OrbisanGlobals: building, logging and tracing broker messages.
#include <cstdlib>

#include "connector/conn_globals.h"
#include "connector/conn_msg.h"

namespace {
char conn_empty_text[1] = "";
}

char* OrbisanGlobals::vgenerateTraceMsg(int number, int type, const char* info, int count,
                                        va_list args) {
  traceLevel = atoi(readProp("AgentTraceLevel", 24).c_str());
  if (traceLevel == 0 && type != KzMsgFormat::ORB_ERROR && type != KzMsgFormat::ORB_FATAL) {
    conn_empty_text[0] = '\0';
    return conn_empty_text;
  }
  return conn_msg_generate(
      traceLevel, msgBuf, sizeof msgBuf, count, args,
      [&](va_list a) {
        return JToCPPVeneer::getTheHandlerStuff()->generateMsg(number, type, info, count, a);
      },
      [&]() { return GenGlobals::generateMsg(number, type, info, 0); },
      [&](const char* text, int level) { dbgMsg(text, level); });
}

char* OrbisanGlobals::generateTraceMsg(int number, int type, const char* info, int count, ...) {
  va_list args;
  va_start(args, count);
  char* text = vgenerateTraceMsg(number, type, info, count, args);
  va_end(args);
  return text;
}

void OrbisanGlobals::dbgMsg(const char* text, int level) {
  if (level >= 1) traceWrite(level, text, nullptr);
}

void OrbisanGlobals::logMessage(int log_type, int number, int type, int count, ...) {
  va_list args;
  va_start(args, count);
  char* text = vgenerateTraceMsg(number, type, nullptr, count, args);
  va_end(args);
  if (text && *text) logMsg(text, log_type);
}
