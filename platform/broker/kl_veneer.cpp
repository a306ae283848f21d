// JToCPPVeneer and the base subscription handler.
#include "kl_veneer.h"

GenGlobals* JToCPPVeneer::theAppGlobPtr = nullptr;

SubscriptionHandlerCPP::~SubscriptionHandlerCPP() {
  JToCPPVeneer::getTheHandlerStuff()->forgetSubHandler(this);
}

int SubscriptionHandlerCPP::deliverEvent(BusinessObject* /*bo*/) {
  ++delivered_;
  return 0;
}

int SubscriptionHandlerCPP::checkSubscription(const char* /*bo_name*/, const char* /*verb*/) {
  return 1;
}

JToCPPVeneer* JToCPPVeneer::getTheHandlerStuff() {
  static JToCPPVeneer veneer;
  return &veneer;
}

SubscriptionHandlerCPP* JToCPPVeneer::getTheSubHandler() {
  if (!sub_) sub_ = new SubscriptionHandlerCPP();
  return sub_;
}

void JToCPPVeneer::setTheSubHandler(SubscriptionHandlerCPP* handler) { sub_ = handler; }

void JToCPPVeneer::forgetSubHandler(SubscriptionHandlerCPP* handler) {
  if (sub_ == handler) sub_ = nullptr;
}

void JToCPPVeneer::logMsg(const char* text) { KlJournal::write(KlJournalEntry::LOG, -1, text); }

void JToCPPVeneer::logMsg(const char* text, int type) {
  KlJournal::write(KlJournalEntry::LOG, type, text);
}

void JToCPPVeneer::traceWrite(int level, const char* text, const char* /*arg*/) {
  KlJournal::write(KlJournalEntry::TRACE, level, text);
}

char* JToCPPVeneer::generateMsg(int number, int type, const char* info, int count,
                                va_list args) {
  msg_ = kl_msg_build(number, type, info, count, args);
  return msg_.data();
}

char* JToCPPVeneer::generateKzMsg(int number, int type, const char* info, int count, ...) {
  va_list args;
  va_start(args, count);
  msg_ = kl_msg_build(number, type, info, count, args);
  va_end(args);
  return msg_.data();
}
