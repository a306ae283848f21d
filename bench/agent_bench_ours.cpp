// Our side of the agent benchmark.
#include "agent_bench_ours.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "agent_demo.h"
#include "agent_messages.h"
#include "agent_objects.h"
#include "kl_bo.h"
#include "kl_veneer.h"

namespace {

constexpr int kRequestDone = 1;
constexpr const char* kEventPrefix = "Orbisan_";
// The environment variable naming a file for the connector's SQL log.
constexpr const char* kSqlLogVariable = "ORBISAN_BENCH_SQL_LOG";

std::string text(BusinessObject& bo, const char* name) {
  void* v = bo.getAttrValue(name);
  if (v == nullptr || BusinessObject::isIgnoreValue(v) || BusinessObject::isBlankValue(v)) return "";
  return static_cast<const char*>(v);
}

long number(BusinessObject& bo, const char* name) { return std::atol(text(bo, name).c_str()); }

}  // namespace

// Keeps each delivery; takes what the demo's definitions subscribe to.
class AgentSide::Recorder : public SubscriptionHandlerCPP {
 public:
  explicit Recorder(const AgentSpecs& specs) : specs_(specs) {}
  int deliverEvent(BusinessObject* bo) override {
    BenchDelivery d;
    std::string event = text(*bo, "ObjectEventId");
    if (event.rfind(kEventPrefix, 0) != 0) return -1;
    d.event = std::atol(event.c_str() + std::strlen(kEventPrefix));
    d.contact = number(*bo, "ObjId");
    d.first = text(*bo, "FirstName"), d.last = text(*bo, "LastName");
    d.phone = text(*bo, "Phone"), d.email = text(*bo, "Email");
    void* role = bo->getAttrValue("Orbisan_Contact_Role");
    if (role != nullptr && !BusinessObject::isIgnoreValue(role)) {
      auto* r = static_cast<BusinessObject*>(role);
      d.role = number(*r, "ObjId");
      d.role_name = text(*r, "RoleName");
      d.site = number(*r, "SiteObjId");
    }
    deliveries.push_back(d);
    return 0;
  }
  int checkSubscription(const char* bo_name, const char* verb) override {
    return bo_name && verb && specs_.subscribed(bo_name, verb) ? 1 : 0;
  }
  std::vector<BenchDelivery> deliveries;

 private:
  const AgentSpecs& specs_;
};

AgentSide::AgentSide(const agent_test::DemoDatabase& db) {
  if (chdir(db.folder().c_str()) != 0) bench_agent_fail("cannot enter " + db.folder());
  // The data service is found as the agent's loader would find it.
  const std::string build = agent_test::build_dir();
  if (!dlopen((build + "/liborbisan.so").c_str(), RTLD_NOW | RTLD_GLOBAL) ||
      !dlopen((build + "/dataservice/libOraDataSvc.so").c_str(), RTLD_NOW | RTLD_GLOBAL))
    bench_agent_fail(dlerror());
  AgentMessages().load(build + "/" + AgentMessages::kFileName);
  if (const char* log = std::getenv(kSqlLogVariable)) db.set_property("SQLDumpFileName", log);
  props_.load(db.properties());
  specs_.loadDir(db.definitions());
  std::ifstream in(agent_test::source_dir() + "/tools/demo/create_contact.json");
  request_ = nlohmann::ordered_json::parse(in);
  host_.load(build + "/liborbisan.so");
  if (host_.init(props_, specs_, stdout) != 0) bench_agent_fail("the connector did not start");
  recorder_ = new Recorder(specs_);
  JToCPPVeneer::getTheHandlerStuff()->setTheSubHandler(recorder_);
}

AgentSide::~AgentSide() { host_.terminate(); }

std::unique_ptr<BusinessObject> AgentSide::create_request(const BenchContact& c) const {
  nlohmann::ordered_json j = request_;
  nlohmann::ordered_json& v = j["values"];
  v["FirstName"] = c.first, v["LastName"] = c.last, v["Phone"] = c.phone, v["Email"] = c.email;
  v["Orbisan_Contact_Role"]["values"]["SiteObjId"] = std::to_string(c.site);
  v["Orbisan_Contact_Role"]["values"]["RoleName"] = c.role;
  return AgentObjects::read(j, "create request");
}

long AgentSide::create(BusinessObject& bo) {
  if (host_.request(bo) != kRequestDone) return 0;
  return number(bo, "ObjId");
}

std::vector<BenchDelivery> AgentSide::poll_all() {
  recorder_->deliveries.clear();
  for (size_t before = 0;; before = recorder_->deliveries.size()) {
    if (host_.poll() != 0) bench_agent_fail("a poll failed");
    if (recorder_->deliveries.size() == before) break;
  }
  return std::move(recorder_->deliveries);
}
