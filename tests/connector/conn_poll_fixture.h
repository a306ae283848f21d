// The poll tests' world: an event table, an archive table, cases to
// retrieve, and a subscription handler that records what it receives.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "conn_crm.h"

// What the subscription handler saw and how it answers.
struct conn_delivery_log {
  struct delivery {
    std::string name, verb, event_id, title, case_id;
  };
  std::vector<delivery> delivered;
  std::vector<std::string> asked;  // "name/verb" of every subscription check
  std::set<std::string> unsubscribed;  // "name/verb" pairs answered 0
  int refuse_at = 0;                   // the n-th delivery answers refuse_code
  int refuse_code = 7;
  int deliveries = 0;
};

class conn_poll_test : public conn_crm_test {
 protected:
  void SetUp() override;
  // A fresh database, connector and subscription handler (after a
  // terminate of the old connector); init's answer.
  int fresh_world(const std::vector<std::pair<const char*, const char*>>& props = {});
  // A ready event row; returns its objid.
  long event(const std::string& name, const char* verb, long priority, const char* status = "0",
             const char* key = "");
  long stored_case(const char* id, const char* title) {
    return cpi_double::insert("case", {{"id_number", id}, {"title", title}});
  }
  long archive_row(long event_id) {
    return cpi_double::insert("orbisan_archive", {{"event_id", std::to_string(event_id)}});
  }
  int poll() { return globals->pollForEvents(); }
  std::vector<std::string> delivered_ids() const;
  void install_subscriber();

  std::shared_ptr<conn_delivery_log> log = std::make_shared<conn_delivery_log>();
};
