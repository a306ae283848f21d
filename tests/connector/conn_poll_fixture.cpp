#include "conn_poll_fixture.h"

namespace {

std::string value_of(BusinessObject* bo, const char* name) {
  void* v = bo->getAttrValue(name);
  if (!v || BusinessObject::isIgnoreValue(v)) return "<ignore>";
  return static_cast<const char*>(v);
}

class conn_recording_subscriber : public SubscriptionHandlerCPP {
 public:
  explicit conn_recording_subscriber(std::shared_ptr<conn_delivery_log> log) : log_(std::move(log)) {}
  int deliverEvent(BusinessObject* bo) override {
    if (++log_->deliveries == log_->refuse_at) return log_->refuse_code;
    log_->delivered.push_back({bo->getName(), bo->getVerb(), value_of(bo, "ObjectEventId"),
                               value_of(bo, "Title"), value_of(bo, "CaseId")});
    return 0;
  }
  int checkSubscription(const char* name, const char* verb) override {
    std::string pair = std::string(name) + "/" + verb;
    log_->asked.push_back(pair);
    return log_->unsubscribed.count(pair) ? 0 : 1;
  }

 private:
  std::shared_ptr<conn_delivery_log> log_;
};

}  // namespace

void conn_poll_test::install_subscriber() {
  JToCPPVeneer::getTheHandlerStuff()->setTheSubHandler(new conn_recording_subscriber(log));
}

void conn_poll_test::SetUp() {
  conn_crm_test::SetUp();
  ASSERT_EQ(fresh_world(), 0);
}

int conn_poll_test::fresh_world(const std::vector<std::pair<const char*, const char*>>& props) {
  globals->terminate();
  delete globals;
  cpi_double::reset();
  cpi_double::define("orbisan_events", {{"object_name", 't'},
                                        {"object_verb", 't'},
                                        {"object_key", 't'},
                                        {"event_time", 't'},
                                        {"event_status", 't'},
                                        {"event_priority", 'l'}});
  // The event table has no modification stamp: connectors sharing it rely
  // on the take alone.
  cpi_double::unstamped("orbisan_events");
  cpi_double::define("orbisan_archive", {{"event_id", 'l'}, {"event_status", 't'}});
  cpi_double::define("case", {{"id_number", 't'}, {"title", 't'}});
  conn_define("Orbisan_Case", "",
              {{"CaseId", "case:id_number", BOAttrType::KEY},
               {"Title", "case:title"},
               {"ObjectEventId", ""}});
  KlProperties::clear();
  for (auto& [name, value] : props) KlProperties::set(name, value);
  *log = conn_delivery_log{};
  globals = new OrbisanGlobals();
  JToCPPVeneer::theAppGlobPtr = globals;
  install_subscriber();
  return globals->init(nullptr);
}

long conn_poll_test::event(const std::string& name, const char* verb, long priority,
                           const char* status, const char* key) {
  return cpi_double::insert("orbisan_events", {{"object_name", name},
                                               {"object_verb", verb},
                                               {"object_key", key},
                                               {"event_time", "12/11/2026 03:00:00"},
                                               {"event_status", status},
                                               {"event_priority", std::to_string(priority)}});
}

std::vector<std::string> conn_poll_test::delivered_ids() const {
  std::vector<std::string> out;
  for (auto& d : log->delivered) out.push_back(d.event_id);
  return out;
}
