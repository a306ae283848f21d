// KAdpProcessError: error numbers to alerts, and the server log.
#include "adapter/adp_err.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sql_log.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"

using KCLASSIC::KErr;

// The schema's type names (the schema layer implements it).
ORB_API long typ_sch_id_to_name(long type_id, long field_id, const char** type_name, const char** field_name);

namespace {

struct err_pair {
  long number;
  long code;
};

constexpr err_pair m_ErrorMap[16] = {
    {0x8B00138, ADP_DB_ERROR}, {0x8B0013B, DBS_SERVER_CONNECTION_FAIL},
    {0x8B00137, ADP_DB_ERROR}, {0x8B00140, ADP_DB_ERROR},
    {0x8B00141, ADP_DB_ERROR}, {0x8B00134, ADP_SQL_NEXTROW_FAIL},
    {0x8B0012D, ADP_SQL_NEXTROW_FAIL}, {0x8B00149, ADP_DB_ERROR},
    {0x8B00176, ADP_DB_ERROR}, {0x8B0014E, DBS_DEADLOCK},
    {0x8B0014F, DBS_NOT_UNIQUE}, {0x8B000CD, ADP_DB_ERROR},
    {0x8B000C9, ADP_DB_ERROR}, {0x8B000D8, ADP_DB_ERROR},
    {0x8B000CA, ADP_DB_ERROR}, {0x8B000D7, ADP_DB_ERROR},
};

constexpr const char* kDefaultLogName = "server.log";

std::string m_strServerLogFile = kDefaultLogName;
FILE* m_fleServerLog = nullptr;
char m_bSqlHint = 0;

std::string server_name() {
  KAdpConnId* con = adp_db_get_conn();
  if (con == nullptr) return "";
  return static_cast<const char*>(con->GetConfig().GetPropertyStr(static_cast<KAdpConfig::str_type>(2)));
}

long log_line(const char* text) { return KAdpProcessError::AddToServerLog(nullptr, "%s", text); }

// Text after the first "'", cut at the next "'".
std::string quoted_name(const char* text) {
  std::string s = text != nullptr ? text : "";
  size_t q = s.find('\'');
  if (q == std::string::npos) return s;
  s = s.substr(q + 1);
  size_t e = s.find('\'');
  return e == std::string::npos ? s : s.substr(0, e);
}

// The sequence name of a description: before the first ".", from the first
// blank on, without the leading characters of " sequence ".
std::string sequence_name(const char* text) {
  std::string s = text != nullptr ? text : "";
  size_t dot = s.find('.');
  if (dot != std::string::npos) s.resize(dot);
  size_t blank = s.find(' ');
  if (blank != std::string::npos) s = s.substr(blank);
  size_t start = s.find_first_not_of(" sequence ");
  return start == std::string::npos ? std::string() : s.substr(start);
}

}  // namespace

long KAdpProcessError::GetConvErrNo(long number) {
  for (const err_pair& p : m_ErrorMap) {
    if (p.number == number) return p.code;
  }
  return ADP_DB_ERROR;
}

long KAdpProcessError::ProcessError(const char* context, const KErr* err) {
  if (err == nullptr) return ProcessError(context);
  long number = ProcessPPOMSError(context, err);
  return ProcessConvError(GetConvErrNo(number), err->m_strText2, err->m_strText1);
}

long KAdpProcessError::ProcessError(const char* context) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_DB_ERROR, 2, "Memory Exception", "_");
  if (rc != 0) return rc;
  std::string text = std::string("Memory CException : ") + (context != nullptr ? context : "") + " ";
  rc = AddToServerLogWithHint(text.c_str());
  return rc != 0 ? rc : ADP_DB_ERROR;
}

long KAdpProcessError::ProcessPPOMSError(const char* /*context*/, const KErr* err) {
  long number = err->ErrorNum;
  const char* text1 = err->m_strText1;
  const char* text2 = err->m_strText2;
  long rc = 0;
  switch (number) {
    case 0x8B0017D:
    case 0x8B00180:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_PASSWD_FAIL, 0);
      break;
    case 0x8B0017E:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_SERVER, 3, "Can not login to the database server, SQL Server '",
                         server_name().c_str(), "'");
      break;
    case 0x8B00181:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_SERVER, 3, "Can not login to the Oracle Server, '",
                         server_name().c_str(), "'");
      break;
    case 0x8B0017F:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_LOGIN_NAME, 1, quoted_name(text1).c_str());
      break;
    case 0x8B00182:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_SEQUENCE_NAME, 1, sequence_name(text2).c_str());
      break;
    case 0x8B00183:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_SEQUENCE, 0);
      break;
    default:
      rc = cmn_alrt_push(nullptr, nullptr, ADP_DB_ERROR, 2, "Database Error: ", text1);
      break;
  }
  if (rc != 0) return rc;
  if (long st = AddToServerLogWithHint(text2)) return st;
  return number;
}

long KAdpProcessError::ProcessConvError(long code, const char* text1, const char* text2) {
  switch (code) {
    case DBS_NOT_UNIQUE: {
      const char* source = adp_db_is_db_mssql() ? text2 : text1;
      std::string message = source != nullptr ? source : "";
      long type_id = -1;
      char* columns = nullptr;
      char* table = nullptr;
      if (long st = adp_obj_not_unique_by_msg(message.data(), &type_id, &columns, &table)) return st;
      if (columns == nullptr) columns = const_cast<char*>("");
      if (table == nullptr) table = const_cast<char*>("");
      if (type_id == -1) {
        if (long st = cmn_alrt_push(nullptr, nullptr, ADP_NOT_UNIQUE, 2, columns, table)) return st;
        if (long st = log_line("\n-------------\nADP Error: ERR_ADP_NOT_UNIQUE\n")) return st;
        return DBS_NOT_UNIQUE;
      }
      const char* type_name = nullptr;
      if (long st = typ_sch_id_to_name(type_id, -1, &type_name, nullptr)) return st;
      if (long st = cmn_alrt_push(nullptr, nullptr, DBS_NOT_UNIQUE, 2, type_name != nullptr ? type_name : "",
                                  columns)) {
        return st;
      }
      if (long st = log_line("\n-------------\nADP Error: ERR_DBS_NOT_UNIQUE\n")) return st;
      return DBS_NOT_UNIQUE;
    }
    case DBS_SERVER_CONNECTION_FAIL:
    case ADP_SQL_NEXTROW_FAIL:
    case DBS_DEADLOCK: {
      const char* name = code == DBS_SERVER_CONNECTION_FAIL ? "ERR_DBS_SERVER_CONNECTION_FAIL"
                         : code == ADP_SQL_NEXTROW_FAIL     ? "ERR_ADP_SQL_NEXTROW_FAIL"
                                                            : "ERR_DBS_DEADLOCK";
      if (long st = cmn_alrt_push(nullptr, nullptr, code, 0)) return st;
      if (long st = AddToServerLog(nullptr, "\n-------------\nADP Error: %s\n", name)) return st;
      return code;
    }
    case ADP_DB_ERROR: {
      if (!adp_db_is_db_mssql() || text1 == nullptr) return ADP_DB_ERROR;
      for (const char* n : {"SQL1046N", "SQL1403N", "SQL1003N"}) {
        if (std::strstr(text1, n) == nullptr) continue;
        if (long st = cmn_alrt_push(nullptr, nullptr, ADP_PASSWD_FAIL, 0)) return st;
        if (long st = log_line("\n-------------\nADP Error: ERR_ADP_PASSWD_FAIL\n")) return st;
        return ADP_PASSWD_FAIL;
      }
      for (const char* n : {"SQL1000N", "SQL1001N", "SQL1013N", "SQL1005N"}) {
        if (std::strstr(text1, n) == nullptr) continue;
        std::string server = server_name();
        if (long st = cmn_alrt_push(nullptr, nullptr, ADP_NO_SUCH_SERVER, 2, "db alias", server.c_str())) return st;
        if (long st = AddToServerLog(nullptr, "\n-------------\nADP Error: ERR_ADP_NO_SUCH_SERVER %s %s\n", "db alias",
                                     server.c_str())) {
          return st;
        }
        return ADP_NO_SUCH_SERVER;
      }
      return ADP_DB_ERROR;
    }
    default:
      if (text1 != nullptr) {
        if (long st = cmn_alrt_push(nullptr, nullptr, code, 1, text1)) return st;
        if (long st = AddToServerLog(nullptr, "\n-------------\nError: No: %ld Description: %s\n", code, text1)) {
          return st;
        }
      } else {
        if (long st = cmn_alrt_push(nullptr, nullptr, code, 0)) return st;
        if (long st = AddToServerLog(nullptr, "\n-------------\nError: No: %ld \n", code)) return st;
      }
      return code;
  }
}

long KAdpProcessError::SetSqlHint(char flag) {
  m_bSqlHint = flag;
  return 0;
}

long KAdpProcessError::SetServerLogFileName(const char* name) {
  m_strServerLogFile = name != nullptr ? name : "";
  return 0;
}

long KAdpProcessError::GetServerLogFileName(char* out, long size) {
  if (out == nullptr || size <= 0) return 0;
  std::snprintf(out, static_cast<size_t>(size), "%s", m_strServerLogFile.c_str());
  return 0;
}

const char* KAdpProcessError::GetServerLogFileName() { return m_strServerLogFile.c_str(); }

long KAdpProcessError::OpenServerLogFile() {
  if (m_fleServerLog == nullptr) m_fleServerLog = std::fopen(m_strServerLogFile.c_str(), "w");
  return 0;
}

long KAdpProcessError::AppendServerLogFile() {
  if (m_fleServerLog == nullptr) m_fleServerLog = std::fopen(m_strServerLogFile.c_str(), "a");
  return 0;
}

long KAdpProcessError::CloseServerLogFile() {
  if (m_fleServerLog != nullptr) std::fclose(m_fleServerLog);
  m_fleServerLog = nullptr;
  return 0;
}

bool KAdpProcessError::IsServerLogOpen() { return m_fleServerLog != nullptr; }

long KAdpProcessError::AddToServerLog(const char* file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (file != nullptr) {
    if (FILE* f = std::fopen(file, "a")) {
      std::vfprintf(f, format, args);
      std::fclose(f);
    }
  } else if (m_fleServerLog != nullptr) {
    std::vfprintf(m_fleServerLog, format, args);
    std::fflush(m_fleServerLog);
  } else {
    char* cache = nullptr;
    if (osl_sys_get_config_string("dbcache", &cache) == 0 && cache != nullptr && *cache != '\0') {
      SetServerLogFileName((std::string(cache) + kDefaultLogName).c_str());
    }
    AppendServerLogFile();
    if (m_fleServerLog != nullptr) {
      std::vfprintf(m_fleServerLog, format, args);
      CloseServerLogFile();
    }
  }
  va_end(args);
  return 0;
}

long KAdpProcessError::AddToServerLogWithHint(const char* text) {
  if (text == nullptr) {
    long code = 0;
    if (long st = cmn_alrt_top(nullptr, &code, &text)) return st;
  }
  if (long st = AddToServerLog(nullptr, "\n--------------\n Error Message:\n %s", adp_sql_log_masked(text).c_str())) {
    return st;
  }
  KAdpConnId* con = adp_db_get_conn();
  if (m_bSqlHint && con != nullptr && m_fleServerLog != nullptr) {
    std::fprintf(m_fleServerLog, "\n SQL Hint : \n");
    std::fprintf(m_fleServerLog, "%s \n", adp_sql_log_masked(con->GetLastSql()).c_str());
    std::fflush(m_fleServerLog);
  }
  return 0;
}

long KAdpProcessError::Reset() {
  CloseServerLogFile();
  m_strServerLogFile = kDefaultLogName;
  m_bSqlHint = 0;
  return 0;
}
