// KAdpConnId: one database connection. It owns the configuration, the data
// service created by the run-time loaded library, the dialect object and the
// database header. Its virtual operations forward into the data service and
// turn every exception into an alert code (KAdpProcessError), so the
// procedural code above sees only long status codes.
#pragma once

#include "adapter/adp_cfg.h"
#include "adapter/adp_db.h"
#include "adapter/adp_dsvc.h"
#include "adapter/adp_name.h"
#include "core/clk/clk_time.h"
#include "kclassic/kc_err.h"
#include "orb_api.h"

class KAdpDbOperation;
class KAdpUtlRecord;
class KAdpSqlBatch;
struct typ_sch_srec;

class ORB_API KAdpConnId {
 public:
  static constexpr long kMaxCodePages = 1000;
  static constexpr long kMaxLocales = 32;

  // The configuration of the driver; the dialect follows the process-wide
  // server type (SQL Server, else Oracle, else none).
  explicit KAdpConnId(const char* driver);
  // The base configuration and no dialect (to read defaults).
  KAdpConnId();
  KAdpConnId(const KAdpConnId&) = delete;
  KAdpConnId& operator=(const KAdpConnId&) = delete;

  virtual ~KAdpConnId();
  virtual long LoadDataService();
  virtual long Release();
  virtual long Connect(const char* login, const char* password, const char* third);
  virtual long GenerateObjidValues(KAdpUtlRecord& record);
  virtual long ExecProc(KAdpUtlRecord& params, KCLASSIC::KZString name, long flag);
  virtual long ReConnect();
  virtual long StartBatch(KCLASSIC::KStringArray* statements, KAdpUtlRecord* binds,
                          KCLASSIC::tagPpmStats* stats);
  virtual long EndBatch();
  virtual long BeginTransaction();
  virtual long EndTransaction(char commit, char second);
  virtual long ExecSelectStmt(KCLASSIC::tagPpmStats* stats, const char* text, KAdpUtlRecord& record);
  virtual long ExecDmlStmt(KCLASSIC::tagPpmStats* stats, const char* text, long* rows);
  virtual long SetBindInfo(KAdpUtlRecord& record);
  virtual long FetchNextSet(char flag, long& rows);
  virtual long MoveRowset(KAdpUtlRecord& record, long first, long second);
  // The service's next row into row 0 of the record; moved receives 1, 0
  // when no row is left, or -1 when the service moves whole rowsets only.
  long MoveNextRow(KAdpUtlRecord& record, long& moved);
  virtual long GetDbSvrTime(clktime* out);
  // Shows "ADP Exception in Function %s , Error Number : %d " (the error's
  // second text and number) in a message box; returns the number.
  virtual long ProcessError(KCLASSIC::KErr* err);

  // A new, initialised batch bound to this connection.
  KAdpSqlBatch* GetNewSqlId();
  // The connection's one batch, made on first use; reset first when reset is 1.
  KAdpSqlBatch* GetSqlBatch(char reset);
  void SetLastSql(const char* text) { m_lastSql = text != nullptr ? text : ""; }

  KAdpDbOperation* GetDbOperation() const { return m_pDbOperation; }
  // The physical name of a logical one (the connection's name mapper).
  KCLASSIC::KZString GetPhys(KCLASSIC::KZString logical, KAdpNameMapper::convert_type type, long number,
                             typ_sch_srec* type_record) const {
    return m_mapper.GetPhys(logical, type, number, type_record);
  }
  KAdpNameMapper& GetNameMapper() { return m_mapper; }

  // Code pages of the current connection's installed locales: the default
  // locale's first when it is the UTF-8 locale, then one per listed locale.
  long GetSysInstalledCodepages();
  // Makes an installed code page (or the first, when none is installed) the
  // user code page; another goes to the server log only.
  long SetUserCodepageId(long code_page);
  // out: 1 when the user code page is the default locale's.
  long IsDefaultCodepageId(char* out);
  // The zero-terminated code-page list.
  const long* GetCodePages() const { return m_codePages; }
  // The locale list read from table_locale (null-terminated names, their
  // character-set names and Windows locale ids, kMaxLocales at most).
  char* const* GetLocaleNames() const { return m_localeNames; }
  char* const* GetCharsetNames() const { return m_charsetNames; }
  const long* GetLcids() const { return m_lcids; }
  // Stores one locale at position pos (copies of the texts); 0 when stored.
  long SetLocale(long pos, const char* locale_name, long lcid, const char* charset_name);
  long GetRevision(int which) const { return which == 0 ? m_lRev1 : m_lRev2; }
  void SetRevisions(long first, long second) {
    m_lRev1 = first;
    m_lRev2 = second;
  }
  KAdpConfig& GetConfig() { return m_config; }
  const KAdpConfig& GetConfig() const { return m_config; }
  KCLASSIC::tagPpmDataSvc* GetDataService() const { return m_pDataSvc; }
  void* GetLibraryHandle() const { return m_hLibrary; }
  adp_db_dhead* GetHeader() { return &m_header; }
  char GetHeaderRead() const { return m_cHeadRead; }
  void SetHeaderRead(char v) { m_cHeadRead = v; }
  // The last statement text sent through this connection (the server log's
  // SQL hint).
  const char* GetLastSql() const { return m_lastSql; }
  KAdpConnId* GetNext() const { return m_pNext; }
  void SetNext(KAdpConnId* next) { m_pNext = next; }
  // The application name, owned by the connection.
  const char* GetAppName() const { return m_appName; }
  void SetAppName(const char* name) { m_appName = name != nullptr ? name : ""; }

  void SetUTF8Flag(char f) { m_config.SetUTF8Flag(f); }
  char GetUTF8Flag() const { return static_cast<char>(m_config.GetUTF8Flag()); }
  void SetStartAppInUTF8Flag(char f) { m_config.SetStartAppInUTF8Flag(f); }
  char GetStartAppInUTF8Flag() const { return static_cast<char>(m_config.GetStartAppInUTF8Flag()); }

 private:
  void init_common();
  // Runs a call into the service under the exception boundary; without a
  // service pushes and returns 0x70002E.
  template <class F>
  long forward(F&& call);

  KCLASSIC::KZString m_appName;
  long m_lRev1 = 0;
  long m_lRev2 = 0;
  KAdpConnId* m_pNext = nullptr;
  char m_cHeadRead = 0;
  adp_db_dhead m_header{};
  long m_codePages[kMaxCodePages]{};
  char* m_localeNames[kMaxLocales + 1]{};
  char* m_charsetNames[kMaxLocales]{};
  long m_lcids[kMaxLocales]{};
  KCLASSIC::tagPpmDataSvc* m_pDataSvc = nullptr;
  void* m_hLibrary = nullptr;
  KAdpConfig m_config;
  KAdpNameMapper m_mapper;
  KAdpDbOperation* m_pDbOperation = nullptr;
  KCLASSIC::KZString m_lastSql;
  KAdpSqlBatch* m_pBatch = nullptr;
};
