// The bridge between the broker and the connector, and the subscription
// handler that receives published business objects.
#pragma once

#include "kl_api.h"

#include <cstdarg>

#include "kl_globals.h"

// Receives the business objects the connector publishes. Virtual operations
// in slot order: destructor, deliverEvent, checkSubscription.
class KL_API SubscriptionHandlerCPP {
 public:
  SubscriptionHandlerCPP() = default;
  SubscriptionHandlerCPP(const SubscriptionHandlerCPP&) = delete;
  SubscriptionHandlerCPP& operator=(const SubscriptionHandlerCPP&) = delete;
  virtual ~SubscriptionHandlerCPP();
  // 0 = delivered. This base accepts every object and counts it.
  virtual int deliverEvent(BusinessObject* bo);
  // 1 = subscribed. This base subscribes to everything.
  virtual int checkSubscription(const char* bo_name, const char* verb);

  int deliveredCount() const { return delivered_; }

 private:
  int delivered_ = 0;
};

class KL_API JToCPPVeneer {
 public:
  // The connector's globals object, stored by the connector when it loads.
  static GenGlobals* theAppGlobPtr;

  // The one veneer of the process.
  static JToCPPVeneer* getTheHandlerStuff();

  // The subscription handler, made on first use. Whoever destroys it leaves
  // the veneer without one until the next call makes a new one.
  SubscriptionHandlerCPP* getTheSubHandler();
  // Installs a host's own subscription handler (the veneer does not own it).
  void setTheSubHandler(SubscriptionHandlerCPP* handler);
  void forgetSubHandler(SubscriptionHandlerCPP* handler);

  void logMsg(const char* text);
  void logMsg(const char* text, int type);
  void traceWrite(int level, const char* text, const char* arg);
  char* generateMsg(int number, int type, const char* info, int count, va_list args);
  char* generateKzMsg(int number, int type, const char* info, int count, ...);

 private:
  JToCPPVeneer() = default;
  SubscriptionHandlerCPP* sub_ = nullptr;
  std::string msg_;
};
