// KAdpConfig: the settings of one connection by property number, with the
// defaults of its driver ("oracle", "quill", "oledb"), the table that maps a
// driver's library id to its data-service library, the loading of that
// library, and the trace sink that writes the service's round trips into the
// SQL log. The data service receives this object and reads its settings
// through the accessors.
#pragma once

#include "adapter/adp_dsvc.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class ORB_API KAdpConfig : public KCLASSIC::tagLpmConfig {
 public:
  enum str_type : long {};
  enum long_type : long {};
  enum bool_type : long {};
  enum char_type : long {};
  enum db_type : long { DB_ORACLE = 0, DB_QUILL = 1, DB_OLEDB = 2 };

  // One row of the driver table.
  struct dll_row {
    long id;
    KCLASSIC::KZString name;
  };

  KAdpConfig();
  explicit KAdpConfig(const char* driver);
  KAdpConfig(const KAdpConfig&) = delete;
  KAdpConfig& operator=(const KAdpConfig&) = delete;
  ~KAdpConfig();

  // Always throws a new KErr: the code as message id, where as method name,
  // detail and (when number is not 0 or flag is 1) the number as inserts.
  using KCLASSIC::tagLpmConfig::Throw;
  [[noreturn]] virtual void Throw(long code, const char* where, const char* detail, long number, char flag);
  KCLASSIC::tagPpmDataSvc* LoadService(const char* library, void*& handle) override;

  KCLASSIC::tagPpmDataSvc* CreateDataService();

  void SetPropertyStr(str_type index, KCLASSIC::KZString value);
  KCLASSIC::KZString GetPropertyStr(str_type index) const;
  void SetPropertyLong(long_type index, long value);
  long GetPropertyLong(long_type index) const;
  void SetPropertyBool(bool_type index, char value);
  char GetPropertyBool(bool_type index) const;
  void SetPropertyChar(char_type index, char value);
  char GetPropertyChar(char_type index) const;
  void GetDbType(db_type& out) const { out = static_cast<db_type>(m_lDbType); }

  void SetPOrbDllName(long id, const char* name);
  const char* GetPOrbDllName(long id) const;
  void SetDBCodepageID(const char* name);
  long GetDBCodepageID() const { return m_lDbCodePage; }
  long GetProviderKind() const { return m_lProviderKind; }
  void SetUserCodepageId(long cp) { m_lUserCodePage = cp; }
  long GetUserCodepageId() const { return m_lUserCodePage; }
  void SetUTF8Flag(int f) { m_lUtf8 = f; }
  int GetUTF8Flag() const { return static_cast<int>(m_lUtf8); }
  void SetStartAppInUTF8Flag(int f) { m_lStartUtf8 = f; }
  int GetStartAppInUTF8Flag() const { return static_cast<int>(m_lStartUtf8); }
  // Bool 10 (Windows authentication), read by the data service.
  char GetWinAuthentication() const { return m_bWinAuth != 0; }
  bool HasFactory() const { return m_pFactory != nullptr; }

 private:
  void set_defaults(const char* driver);
  void free_table();

  int m_bool0 = 0, m_bool1 = 0, m_bool3 = 0, m_bool4 = 0;
  long m_reserved0 = 0;
  char m_char0 = 0;
  long m_long[4] = {0, 0, 0, 0};
  // Strings 0, 1, 2, 15, 3, 4, (no index), 5 .. 10.
  KCLASSIC::KZString m_str[13];
  long m_lLibraryId = 0;  // long 4
  long m_long5 = 0;
  KCLASSIC::KZString m_str11;
  long m_long6 = 0, m_long7 = 0, m_long8 = 0;
  long m_lProviderKind = 0;
  long m_lDbCodePage = 0;
  long m_lUserCodePage = 0;
  long m_lReservedWord = 1;
  int m_bWinAuth = 0;  // bool 10
  long m_lUtf8 = 0;
  long m_lReserved1 = 0, m_lReserved2 = 0;
  long m_lStartUtf8 = 0;
  ClassicCreateDataSvcProc m_pFactory = nullptr;
  long m_lReserved3 = 0;
  long m_lDbType = 0;  // long 9
  KCLASSIC::KZString m_strAdmin;  // string 12
  char m_bool5 = 0;
  long m_lMaxChar = 0;  // long 10
  char m_bool6 = 0;
  KCLASSIC::KPtrArray m_dllTable;
  char m_bool7 = 0;
  char m_bool8 = 0;
  KCLASSIC::KZString m_strBindMarker;  // string 14
  char m_bool9 = 0;
};
