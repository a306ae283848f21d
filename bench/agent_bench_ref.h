// The reference side of the agent benchmark: what a user would write by hand
// with Connector/C. The same statements the connector sends for one Create
// and for one poll (read from its SQL log, "SQLDumpFileName"), as prepared
// statements, with the same commits.
#pragma once

#include <mysql.h>

#include <string>
#include <variant>
#include <vector>

#include "agent_bench.h"

using RefArg = std::variant<long long, std::string>;
using RefRows = std::vector<std::vector<std::string>>;

// One prepared statement; its rows come back as texts (NULL as "").
class RefStatement {
 public:
  RefStatement(MYSQL* m, const char* text);
  ~RefStatement();
  RefStatement(const RefStatement&) = delete;
  RefStatement& operator=(const RefStatement&) = delete;

  // Runs it with these parameters; the rows it gives, or the rows it changed
  // in *changed.
  const RefRows& run(const std::vector<RefArg>& args, long long* changed = nullptr);

 private:
  MYSQL_STMT* stmt_;
  unsigned columns_ = 0;
  RefRows rows_;
};

class ReferenceSide {
 public:
  // Logs in as the application user on the server's socket, in the CRM
  // database, with the session settings of the connector's data service.
  ReferenceSide(const std::string& socket, const char* user, const char* password, const char* database);
  ~ReferenceSide();
  ReferenceSide(const ReferenceSide&) = delete;
  ReferenceSide& operator=(const ReferenceSide&) = delete;

  // A Create: the session check, the site's check and both rows inserted,
  // committed; the contact and its role get `id`.
  void create(const BenchContact& c, long id);
  // Polls until no event is ready, in batches of `batch`; each event taken,
  // read, retrieved (contact, roles, each role's site), deleted and
  // archived, every write committed on its own. Returns the deliveries.
  std::vector<BenchDelivery> poll_all(long batch);

 private:
  void begin();
  void commit();
  void ping();
  bool deliver(long event, std::vector<BenchDelivery>& out);
  BenchDelivery retrieve(long event, long contact);

  MYSQL* m_;
  struct Statements;
  Statements* s_ = nullptr;
};
