// The database comment log: adding a comment row and reading the log back
// as one text.
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_sess.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/osl/osl_loc.h"
#include "core/utl/utl_mem.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"

namespace {

constexpr long kCommentType = 100000001;  // object type of comment rows
constexpr long kDateFormatPhrase = 34;
constexpr long kCommentsPhrase = 0;
constexpr long kTimeCol = 256;
constexpr long kTextCol = 804;
constexpr size_t kMaxLog = 150000;  // the log text and its terminator
constexpr long kTextType = 516;

// One conversion of a format: its text and its conversion character.
std::string format_one(const std::string& spec, char conv, long arg) {
  std::string out(64, '\0');
  for (;;) {
    int n = 0;
    switch (conv) {
      case 's': {
        const char* s = reinterpret_cast<const char*>(arg);
        n = std::snprintf(out.data(), out.size(), spec.c_str(), s != nullptr ? s : "(null)");
        break;
      }
      case 'p': n = std::snprintf(out.data(), out.size(), spec.c_str(), reinterpret_cast<void*>(arg)); break;
      case 'c': n = std::snprintf(out.data(), out.size(), spec.c_str(), static_cast<int>(arg)); break;
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G': n = std::snprintf(out.data(), out.size(), spec.c_str(), static_cast<double>(arg)); break;
      default: {
        // Every integer conversion reads a long.
        std::string lspec = spec.substr(0, spec.find_first_of("hlqjzt" + std::string(1, conv))) + "l" + conv;
        n = std::snprintf(out.data(), out.size(), lspec.c_str(), arg);
      }
    }
    if (n < 0) return "";
    if (static_cast<size_t>(n) < out.size()) return out.substr(0, static_cast<size_t>(n));
    out.assign(static_cast<size_t>(n) + 1, '\0');
  }
}

}  // namespace

// Formats a comment from its five word-sized arguments, each read as the
// type its conversion names (a pointer for %s, a long for integers).
std::string adp_db_format_comment(const char* format, const long args[5]) {
  std::string out;
  int used = 0;
  for (const char* p = format != nullptr ? format : ""; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    if (p[1] == '%') {
      out += '%';
      ++p;
      continue;
    }
    const char* end = p + 1;
    while (*end != '\0' && std::strchr("diouxXcspeEfgG", *end) == nullptr) ++end;
    if (*end == '\0') break;
    std::string spec(p, static_cast<size_t>(end - p + 1));
    out += format_one(spec, *end, used < 5 ? args[used] : 0);
    ++used;
    p = end;
  }
  return out;
}

long adp_db_add_comment(KAdpConnId* cid, const char* format, long a1, long a2, long a3, long a4, long a5) {
  const long args[5] = {a1, a2, a3, a4, a5};
  std::string comment = adp_db_format_comment(format, args);
  const char* server_text = nullptr;
  adp_db_convert_str_to_server(cid, comment.c_str(), &server_text);
  std::string text = server_text != nullptr ? server_text : "";
  if (long st = adp_db_check_conn(cid)) return st;
  long max_seq = 0;
  char found = 0;
  if (long st = adp_sql_parse_now(cid, "select max(seq_num) from adp_db_comments")) return st;
  if (long st = adp_sql_define(cid, KAdpBindCol(max_seq))) return st;
  if (long st = adp_sql_exec_and_fetch(cid, &found)) return st;
  if (!found) max_seq = 0;
  clktime now{};
  if (long st = adp_time_get(&now)) return st;
  char when[64] = "";
  if (long st = adp_time_clk_to_str(&now, when)) return st;
  if (long st = adp_trn_begin(cid)) return st;
  char roamer = 0;
  dbs_db_if_roamer_enabled(cid, &roamer);
  long objid = 0;
  long st = 0;
  if (roamer) {
    long number = 0, site = 0;
    st = dbs_obj_ids_create(cid, 1, &kCommentType, &number);
    if (st == 0) st = dbs_db_get_site_id(cid, &site);
    obj_id id{kCommentType, 0, 0};
    dbs_main_id_site_set(&id, site);
    dbs_main_id_number_set(&id, number);
    objid = id.num;
  }
  std::string prefix, suffix;
  if (adp_db_is_db_oracle()) {
    prefix = " TO_DATE( ";
    suffix = std::string(" '") +
             cid->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDateFormatPhrase)) +
             "' ) , ";
  }
  const long seq = max_seq + 1;
  if (st == 0) {
    void* stmt = nullptr;
    st = adp_sql_create(cid, &stmt);
    if (st == 0) {
      auto* b = static_cast<KAdpSqlBatch*>(stmt);
      *b << "insert into adp_db_comments";
      if (roamer) {
        *b << "( objid, dev, seq_num, time, comments) values (" << KAdpBindParam(objid) << ", 1, ";
      } else {
        *b << "( seq_num, time, comments) values (";
      }
      std::string time_text = prefix + "'" + when + "', " + suffix;
      *b << KAdpBindParam(seq) << ", " << time_text.c_str() << KAdpBindParam(text.c_str()) << " )";
      st = adp_sql_parse(cid, stmt);
      if (st == 0) st = adp_sql_execute(cid, stmt);
      if (st == 0) st = adp_sql_free(cid, stmt);
    }
  }
  if (st != 0) {
    adp_trn_rollback(cid);
    return st;
  }
  return adp_trn_commit(cid);
}

long adp_db_get_hdr_comment(KAdpConnId* cid, char** out) {
  if (out != nullptr) *out = nullptr;
  if (long st = adp_db_check_conn(cid)) return st;
  const char* query =
      cid->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kCommentsPhrase));
  KAdpSqlBatch* b = cid->GetSqlBatch(1);
  char when[kTimeCol] = "", comment[kTextCol] = "";
  *b << query << KAdpBindCol(when, kTimeCol) << KAdpBindCol(comment, kTextCol);
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  std::string log;
  const char* nl = osl_loc_newline();
  bool full = false;
  for (long row; (row = b->GetNextRow()) == 1;) {
    if (full) continue;
    const char* local = nullptr;
    adp_db_convert_str_to_local(cid, comment, &local);
    std::string line = std::string(when) + " " + (local != nullptr ? local : "") + nl + " " + nl;
    // Whole lines only: the text and its terminator fit the limit.
    if (log.size() + line.size() + 1 > kMaxLog) {
      full = true;
      continue;
    }
    log += line;
  }
  long st = b->GetStatus();
  b->Reset();
  if (st != 0) return st;
  void* block = nullptr;
  const long type = kTextType;
  const long size = static_cast<long>(log.size()) + 1;
  if (long rc = utl_mem_alloc("adp_db_get_hdr_comment", 1, &type, &size, &block)) return rc;
  std::memcpy(block, log.c_str(), log.size() + 1);
  if (out != nullptr) *out = static_cast<char*>(block);
  return 0;
}
