// Our side of the agent benchmark: the connector (liborbisan.so) loaded and
// started in this process as orbisan-agent starts it, Creates sent through
// AgentHost::request and events taken by its poll. A subscriber of the
// benchmark's own keeps what each delivery carries.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "agent_bench.h"
#include "agent_host.h"
#include "agent_props.h"
#include "agent_specs.h"

namespace agent_test {
class DemoDatabase;
}
class BusinessObject;

class AgentSide {
 public:
  // Loads the connector from the build folder and starts it on the demo
  // database's properties, in the database's folder.
  explicit AgentSide(const agent_test::DemoDatabase& db);
  ~AgentSide();

  // An Orbisan_Contact Create shaped like the demo's request file, holding c.
  std::unique_ptr<BusinessObject> create_request(const BenchContact& c) const;
  // Sends it; the new contact's id (its ObjId), or 0 when refused.
  long create(BusinessObject& bo);
  // Polls until a poll delivers nothing; the deliveries in their order.
  std::vector<BenchDelivery> poll_all();

 private:
  AgentProperties props_;
  AgentSpecs specs_;
  AgentHost host_;
  nlohmann::ordered_json request_;
  class Recorder;
  Recorder* recorder_ = nullptr;
};
