// The reference side of the agent benchmark, through Connector/C.
#include "agent_bench_ref.h"

#include <cstring>
#include <memory>

namespace {

// Wide enough for every column the statements read (at most 255 characters).
constexpr unsigned long kColumnBytes = 1024;
constexpr const char* kReady = "0";
constexpr const char* kTaken = "1";
constexpr const char* kSuccess = "Success";
constexpr const char* kSessionMode = "SET SESSION sql_mode = 'ORACLE,STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES', autocommit = 1";

// The columns of an event row the poll reads.
enum EventColumn { kEventId = 0, kEventKey = 3 };

long number(const std::string& text) { return std::stol(text); }

void query(MYSQL* m, const char* text) {
  if (mysql_query(m, text) != 0) bench_agent_fail(std::string("reference: ") + mysql_error(m));
}

}  // namespace

RefStatement::RefStatement(MYSQL* m, const char* text) : stmt_(mysql_stmt_init(m)) {
  if (stmt_ == nullptr || mysql_stmt_prepare(stmt_, text, std::strlen(text)) != 0)
    bench_agent_fail(std::string("reference: preparing ") + text + ": " + mysql_error(m));
  columns_ = mysql_stmt_field_count(stmt_);
}

RefStatement::~RefStatement() { mysql_stmt_close(stmt_); }

const RefRows& RefStatement::run(const std::vector<RefArg>& args, long long* changed) {
  std::vector<MYSQL_BIND> in(args.size());
  std::vector<unsigned long> lengths(args.size());
  std::memset(in.data(), 0, in.size() * sizeof(MYSQL_BIND));
  for (size_t i = 0; i < args.size(); ++i) {
    if (const auto* n = std::get_if<long long>(&args[i])) {
      in[i].buffer_type = MYSQL_TYPE_LONGLONG;
      in[i].buffer = const_cast<long long*>(n);
    } else {
      const std::string& s = std::get<std::string>(args[i]);
      lengths[i] = s.size();
      in[i].buffer_type = MYSQL_TYPE_STRING;
      in[i].buffer = const_cast<char*>(s.data());
      in[i].buffer_length = lengths[i];
      in[i].length = &lengths[i];
    }
  }
  if ((!in.empty() && mysql_stmt_bind_param(stmt_, in.data()) != 0) || mysql_stmt_execute(stmt_) != 0)
    bench_agent_fail(std::string("reference: ") + mysql_stmt_error(stmt_));
  if (changed != nullptr) *changed = static_cast<long long>(mysql_stmt_affected_rows(stmt_));
  rows_.clear();
  if (columns_ == 0) return rows_;
  std::vector<MYSQL_BIND> out(columns_);
  std::vector<std::vector<char>> buffers(columns_, std::vector<char>(kColumnBytes));
  std::vector<unsigned long> out_lengths(columns_);
  std::unique_ptr<my_bool[]> nulls(new my_bool[columns_]);
  std::memset(out.data(), 0, out.size() * sizeof(MYSQL_BIND));
  for (unsigned c = 0; c < columns_; ++c) {
    out[c].buffer_type = MYSQL_TYPE_STRING;
    out[c].buffer = buffers[c].data();
    out[c].buffer_length = kColumnBytes;
    out[c].length = &out_lengths[c];
    out[c].is_null = &nulls[c];
  }
  if (mysql_stmt_bind_result(stmt_, out.data()) != 0) bench_agent_fail(mysql_stmt_error(stmt_));
  int status = 0;
  while ((status = mysql_stmt_fetch(stmt_)) == 0) {
    std::vector<std::string>& row = rows_.emplace_back();
    for (unsigned c = 0; c < columns_; ++c)
      row.emplace_back(nulls[c] ? std::string() : std::string(buffers[c].data(), out_lengths[c]));
  }
  if (status != MYSQL_NO_DATA) bench_agent_fail(std::string("reference fetch: ") + mysql_stmt_error(stmt_));
  mysql_stmt_free_result(stmt_);
  return rows_;
}

// The statements as the connector's SQL log shows them.
struct ReferenceSide::Statements {
  explicit Statements(MYSQL* m)
      : ping(m, "select site_id from adp_db_header"),
        site(m, "select objid, site_id, name, type from table_site where objid = ?"),
        insert_contact(m, "insert into table_contact (objid,first_name,last_name,phone,e_mail,status) "
                          "values(?,?,?,?,?,?)"),
        insert_role(m, "insert into table_contact_role "
                       "(objid,role_name,primary_site,contact_role2contact,contact_role2site) values(?,?,?,?,?)"),
        ready(m, "select objid, object_name, object_verb, object_key, TO_CHAR(event_time, 'MM/DD/YYYY HH24:MI:SS'), "
                 "event_status, event_priority from table_orbisan_events WHERE (event_status = ?) "
                 "order by event_priority asc, objid asc"),
        take(m, "update table_orbisan_events set event_status = ? where objid = ? and event_status = ?"),
        event(m, "select objid, object_name, object_verb, object_key, TO_CHAR(event_time, 'MM/DD/YYYY HH24:MI:SS'), "
                 "event_status, event_priority from table_orbisan_events where objid = ?"),
        contact(m, "select objid, first_name, last_name, phone, e_mail, status from table_contact where objid = ?"),
        roles(m, "select objid, role_name, primary_site from table_contact_role where contact_role2contact IN (?)"),
        role_site(m, "select contact_role2site from table_contact_role where objid = ?"),
        remove(m, "DELETE FROM table_orbisan_events WHERE objid = ?"),
        archive(m, "select objid, event_id, object_name, object_verb, object_key, event_status "
                   "from table_orbisan_archive WHERE (event_id = ?)"),
        archive_set(m, "update table_orbisan_archive set event_status=? where objid = ?") {}
  RefStatement ping, site, insert_contact, insert_role;
  RefStatement ready, take, event, contact, roles, role_site, remove, archive, archive_set;
};

ReferenceSide::ReferenceSide(const std::string& socket, const char* user, const char* password,
                             const char* database)
    : m_(mysql_init(nullptr)) {
  if (mysql_real_connect(m_, nullptr, user, password, database, 0, socket.c_str(), 0) == nullptr)
    bench_agent_fail(std::string("reference login: ") + mysql_error(m_));
  query(m_, kSessionMode);
  s_ = new Statements(m_);
}

ReferenceSide::~ReferenceSide() {
  delete s_;
  mysql_close(m_);
}

void ReferenceSide::begin() { query(m_, "START TRANSACTION"); }

void ReferenceSide::commit() {
  if (mysql_commit(m_) != 0) bench_agent_fail(std::string("reference commit: ") + mysql_error(m_));
}

void ReferenceSide::ping() {
  if (s_->ping.run({}).empty()) bench_agent_fail("reference: no database header");
}

void ReferenceSide::create(const BenchContact& c, long id) {
  ping();
  if (s_->site.run({c.site}).size() != 1) bench_agent_fail("reference: no site " + std::to_string(c.site));
  begin();
  s_->insert_contact.run({id, c.first, c.last, c.phone, c.email, 0LL});
  s_->insert_role.run({id, c.role, 0LL, id, c.site});
  commit();
}

BenchDelivery ReferenceSide::retrieve(long event, long contact) {
  BenchDelivery d;
  d.event = event;
  ping();
  s_->contact.run({contact});
  const RefRows& rows = s_->contact.run({contact});
  if (rows.size() != 1) bench_agent_fail("reference: no contact " + std::to_string(contact));
  d.contact = number(rows[0][0]);
  d.first = rows[0][1], d.last = rows[0][2], d.phone = rows[0][3], d.email = rows[0][4];
  const RefRows& roles = s_->roles.run({contact});
  for (const std::vector<std::string>& role : roles) {
    d.role = number(role[0]);
    d.role_name = role[1];
    const RefRows& site_of = s_->role_site.run({d.role});
    if (site_of.size() != 1) bench_agent_fail("reference: no role " + role[0]);
    const RefRows& site = s_->site.run({number(site_of[0][0])});
    if (site.size() == 1) d.site = number(site[0][0]);
  }
  return d;
}

bool ReferenceSide::deliver(long event, std::vector<BenchDelivery>& out) {
  long long taken = 0;
  begin();
  s_->take.run({std::string(kTaken), event, std::string(kReady)}, &taken);
  commit();
  if (taken == 0) return false;
  const RefRows& row = s_->event.run({event});
  if (row.empty()) return false;
  out.push_back(retrieve(event, number(row[0][kEventKey])));
  begin();
  s_->remove.run({event});
  commit();
  const RefRows& archive = s_->archive.run({event});
  if (archive.empty()) bench_agent_fail("reference: no archive row for event " + std::to_string(event));
  begin();
  s_->archive_set.run({std::string(kSuccess), number(archive[0][0])});
  commit();
  return true;
}

std::vector<BenchDelivery> ReferenceSide::poll_all(long batch) {
  std::vector<BenchDelivery> out;
  for (;;) {
    ping();
    const RefRows& ready = s_->ready.run({std::string(kReady)});
    std::vector<long> events;
    for (size_t i = 0; i < ready.size() && static_cast<long>(i) < batch; ++i)
      events.push_back(number(ready[i][kEventId]));
    if (events.empty()) return out;
    for (long e : events) deliver(e, out);
  }
}
