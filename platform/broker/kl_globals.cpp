// GenGlobals and BOHandlerCPP: properties, logging, tracing and messages.
#include "kl_globals.h"

#include <cstring>

GenGlobals::~GenGlobals() = default;

int GenGlobals::suspend() { return 0; }
int GenGlobals::resume() { return 0; }

int GenGlobals::getConfigProp(const char* name, char* buffer, int size) {
  const char* value = KlProperties::get(name);
  if (buffer && size > 0) {
    size_t n = value ? strnlen(value, static_cast<size_t>(size) - 1) : 0;
    if (n) memcpy(buffer, value, n);
    buffer[n] = '\0';
  }
  return value ? 0 : -1;
}

void GenGlobals::logMsg(const char* text) { KlJournal::write(KlJournalEntry::LOG, -1, text); }

void GenGlobals::logMsg(const char* text, int type) {
  KlJournal::write(KlJournalEntry::LOG, type, text);
}

void GenGlobals::traceWrite(int level, const char* text, const char* /*arg*/) {
  KlJournal::write(KlJournalEntry::TRACE, level, text);
}

char* GenGlobals::generateMsg(int number, int type, const char* info, int count, ...) {
  va_list args;
  va_start(args, count);
  msg_ = kl_msg_build(number, type, info, count, args);
  va_end(args);
  return msg_.data();
}

BOHandlerCPP::~BOHandlerCPP() = default;

void BOHandlerCPP::logMsg(const char* text) { KlJournal::write(KlJournalEntry::LOG, -1, text); }

void BOHandlerCPP::logMsg(const char* text, int type) {
  KlJournal::write(KlJournalEntry::LOG, type, text);
}

void BOHandlerCPP::traceWrite(int level, const char* text, const char* /*arg*/) {
  KlJournal::write(KlJournalEntry::TRACE, level, text);
}

char* BOHandlerCPP::generateMsg(int number, int type, const char* info, int count, ...) {
  va_list args;
  va_start(args, count);
  msg_ = kl_msg_build(number, type, info, count, args);
  va_end(args);
  return msg_.data();
}
