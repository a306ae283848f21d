// The agent's subscription handler.
#include "agent_subscriber.h"

#include "agent_log.h"
#include "agent_objects.h"
#include "agent_specs.h"
#include "kl_bo.h"

int AgentSubscriber::deliverEvent(BusinessObject* bo) {
  ++asked_;
  if (!bo) return -1;
  std::string line = AgentObjects::write(*bo).dump() + "\n";
  bool written = std::fwrite(line.data(), 1, line.size(), out_) == line.size();
  written = std::fflush(out_) == 0 && written;
  if (!written) {
    std::clearerr(out_);
    agent_log("ERROR", std::string("delivery of \"") + bo->getName() + "\" could not be written; the event waits");
    return -1;
  }
  ++delivered_;
  agent_log("INFO", std::string("delivered \"") + bo->getName() + "\" " + bo->getVerb());
  return 0;
}

int AgentSubscriber::checkSubscription(const char* bo_name, const char* verb) {
  ++asked_;
  return bo_name && verb && specs_.subscribed(bo_name, verb) ? 1 : 0;
}
