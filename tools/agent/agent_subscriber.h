// The broker's subscription side: which objects the agent takes and where
// the delivered ones go (a JSON line each).
#pragma once

#include <cstdio>

#include "kl_veneer.h"

class AgentSpecs;

class AgentSubscriber : public SubscriptionHandlerCPP {
 public:
  // out: where delivered objects are written (the agent's standard output).
  AgentSubscriber(const AgentSpecs& specs, FILE* out) : specs_(specs), out_(out) {}

  // 0 when the object's line was written and flushed; a line that cannot be
  // written refuses the delivery (the event waits for the next poll).
  int deliverEvent(BusinessObject* bo) override;
  // 1 when the object's definition lists the verb.
  int checkSubscription(const char* bo_name, const char* verb) override;

  // Calls of either operation so far.
  long asked() const { return asked_; }
  long delivered() const { return delivered_; }

 private:
  const AgentSpecs& specs_;
  FILE* out_;
  long asked_ = 0;
  long delivered_ = 0;
};
