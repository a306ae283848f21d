// A connector library for the agent's tests: scripted answers read from the
// connector properties, every call written to the file "FakeTrace".
//   FakeInit     init answers in turn, "0,-2,..." (then 0)
//   FakePoll     poll answers in turn (then 0); a poll answering 0 hands the
//                next of "FakeEvents" events (AgF_Event, verb "FakeVerb",
//                default Create) to the subscriber
//   FakeRequest  the answer of every request (default 1); a request sets
//                ObjId to "99"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kl_connector.h"

namespace {

std::string prop(const char* name, const char* otherwise = "") {
  const char* v = KlProperties::get(name);
  return v && *v ? v : otherwise;
}

std::vector<int> answers(const std::string& text) {
  std::vector<int> out;
  size_t at = 0;
  while (at < text.size()) {
    size_t comma = text.find(',', at);
    out.push_back(std::atoi(text.substr(at, comma - at).c_str()));
    at = comma == std::string::npos ? text.size() : comma + 1;
  }
  return out;
}

void trace(const std::string& line) {
  std::string path = prop("FakeTrace");
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

class FakeHandler : public BOHandlerCPP {
 public:
  int doVerbFor(BusinessObject& bo, ReturnStatusDescriptor*) override {
    trace(std::string("request ") + bo.getName() + " " + bo.getVerb());
    bo.setAttrValue("ObjId", const_cast<char*>("99"), BOAttrType::STRING);
    return std::atoi(prop("FakeRequest", "1").c_str());
  }
};

class FakeGlobals : public GenGlobals {
 public:
  ~FakeGlobals() override { delete JToCPPVeneer::getTheHandlerStuff()->getTheSubHandler(); }
  BOHandlerCPP* getBOHandlerforBO(char*) override { return &handler_; }
  int init(KzVersion*) override {
    std::printf("library noise on standard output\n");
    std::fflush(stdout);
    int r = next(answers(prop("FakeInit")), inits_);
    trace("init " + std::to_string(r));
    return r;
  }
  int pollForEvents() override {
    int r = next(answers(prop("FakePoll")), polls_);
    trace("poll " + std::to_string(r));
    if (r != 0 || delivered_ >= std::atoi(prop("FakeEvents", "0").c_str())) return r;
    SubscriptionHandlerCPP* sub = JToCPPVeneer::getTheHandlerStuff()->getTheSubHandler();
    std::string verb = prop("FakeVerb", "Create");
    if (sub->checkSubscription("AgF_Event", verb.c_str()) != 1) {
      ++delivered_;
      return 0;
    }
    BusinessObject bo("AgF_Event");
    bo.setVerb(verb.c_str());
    std::string id = std::to_string(++delivered_);
    bo.setAttrValue("ObjId", id.data(), BOAttrType::STRING);
    if (sub->deliverEvent(&bo) != 0) --delivered_;
    return 0;
  }
  int terminate() override {
    trace("terminate");
    return 0;
  }
  char* getVersion() override { return const_cast<char*>("fake-1"); }

 private:
  static int next(const std::vector<int>& list, size_t& at) { return at < list.size() ? list[at++] : 0; }
  FakeHandler handler_;
  size_t inits_ = 0, polls_ = 0;
  int delivered_ = 0;
};

FakeGlobals* fake_globals = [] {
  auto* g = new FakeGlobals();
  JToCPPVeneer::theAppGlobPtr = g;
  return g;
}();

}  // namespace

extern "C" __attribute__((visibility("default"))) void gcInitialize(int enable) { gcFixPrematureFrees(enable); }
