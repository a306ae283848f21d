// KAdpConfig: properties, driver defaults, the driver table, library loading
// and the trace sink.
#include "adapter/adp_cfg.h"

#include <cstring>
#include <string>
#include <strings.h>

#include "adapter/adp_sql_log.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_handle.h"
#include "kclassic/kc_loc.h"

using KCLASSIC::KErr;
using KCLASSIC::KZString;

namespace {

// Position in m_str of string property i (-1: not held there).
constexpr int kStrPos[16] = {0, 1, 2, 4, 5, 7, 8, 9, 10, 11, 12, -1, -1, -1, -1, 3};

struct driver_defaults {
  const char* name;
  long library_id, db_type, provider, db_code_page;
  int bool4;
  const char* provider_name;
  const char* bind_marker;
  long max_char;
  char bool5, bool6, bool8, bool1, bool9;
  bool set_bool10;
};

constexpr driver_defaults kDrivers[] = {
    {"oracle", 4, 0, 4, 0, 0, "", ":B", 255, 1, 0, 0, 0, 1, false},
    {"quill", 5, 1, -1, -1, 1, "", "?", 32000, 0, 1, 1, 1, -1, false},
    {"oledb", 2, 2, 2, 0, 1, "SQLOLEDB", "@V", 255, 1, 0, 0, 1, 1, true},
};

struct dll_default {
  long id;
  const char* name;
};
constexpr dll_default kDllRows[] = {
    {5, "OdbcDataSvc.DLL"}, {4, "OraDataSvc.DLL"}, {1, "NetDataSvc.DLL"}, {2, "OleDataSvc.DLL"}, {3, "OleDataSvc.DLL"},
};

// The one round-trip text of the process.
std::string& round_trip() {
  static std::string text;
  return text;
}

}  // namespace

// ---- tagLpmConfig: the adapter's side of the interface.

void KCLASSIC::tagLpmConfig::Trace(const char* event, const char* text) {
  if (event == nullptr) event = "";
  if (text == nullptr) text = "";
  auto is = [event](const char* name) { return std::strncmp(event, name, 49) == 0; };
  std::string& trip = round_trip();
  if (is("SQL Batch started")) {
    trip = "----------BEGIN ROUND TRIP----------\n";
    trip += text;
    trip += "\n";
  } else if (is("----BindVariables--")) {
    trip += "----Bind Variables: ";
    trip += text;
    trip += "\n";
  } else if (is("SQL Batch Execution")) {
    trip += "----";
    trip += text;
    trip += "\n----------END ROUND TRIP----------\n";
    adp_sql_print_out(nullptr, trip.c_str());
    trip.clear();
  } else if (is("*** Begin Transaction ***") || is("*** Commit Transaction ***") ||
             is("*** Rollback Transaction ***")) {
    adp_sql_print_out(nullptr, (std::string("--") + event).c_str());
  } else {
    adp_sql_print_out(nullptr, (std::string("--") + event + "\n" + text).c_str());
  }
}

void KCLASSIC::tagLpmConfig::Throw(long, const char*, const char*, long, int) {}

KCLASSIC::tagPpmDataSvc* KCLASSIC::tagLpmConfig::LoadService(const char*, void*&) { return nullptr; }

// ---- KAdpConfig.

KAdpConfig::KAdpConfig() {
  try {
    m_lUserCodePage = KCLASSIC::UtlGetLocaleRef("").GetWin32CodePage();
  } catch (KErr* e) {
    delete e;
  } catch (...) {
  }
}

KAdpConfig::KAdpConfig(const char* driver) : KAdpConfig() {
  m_bool0 = 1;
  m_bool7 = 0;
  m_long[2] = 20000;
  m_long8 = 0;
  m_lUtf8 = 0;
  m_lStartUtf8 = 0;
  m_pFactory = nullptr;
  set_defaults(driver);
  for (const dll_default& r : kDllRows) m_dllTable.Add(new dll_row{r.id, r.name});
}

KAdpConfig::~KAdpConfig() { free_table(); }

void KAdpConfig::set_defaults(const char* driver) {
  const driver_defaults* d = nullptr;
  for (const driver_defaults& row : kDrivers) {
    if (driver != nullptr && strcasecmp(driver, row.name) == 0) d = &row;
  }
  if (d == nullptr) {  // any other name
    m_lMaxChar = 255;
    m_bool5 = 1;
    m_bool1 = 1;
    return;
  }
  m_lLibraryId = d->library_id;
  m_lDbType = d->db_type;
  if (d->provider >= 0) m_lProviderKind = d->provider;
  if (d->db_code_page >= 0) m_lDbCodePage = d->db_code_page;
  m_bool4 = d->bool4;
  m_str[kStrPos[0]] = d->provider_name;
  m_strBindMarker = d->bind_marker;
  m_strAdmin = "sa";
  m_lMaxChar = d->max_char;
  m_bool5 = d->bool5;
  m_bool6 = d->bool6;
  m_bool8 = d->bool8;
  m_bool1 = d->bool1;
  if (d->bool9 >= 0) m_bool9 = d->bool9;
  if (d->set_bool10) m_bWinAuth = 0;
}

void KAdpConfig::free_table() {
  for (int i = 0; i < m_dllTable.GetSize(); ++i) delete static_cast<dll_row*>(m_dllTable[i]);
  m_dllTable.RemoveAll();
}

void KAdpConfig::Throw(long code, const char* where, const char* detail, long number, char flag) {
  if (number != 0 || flag == 1) {
    throw new KErr(code, where, detail, std::to_string(number).c_str());
  }
  throw new KErr(code, where, detail);
}

KCLASSIC::tagPpmDataSvc* KAdpConfig::LoadService(const char* library, void*& handle) {
  if (handle != nullptr) {
    KCLASSIC::KFreeLibrary(handle);
    handle = nullptr;
  }
  handle = KCLASSIC::KLoadLibrary(library);
  if (handle == nullptr) Throw(0, "KAdpConfig::LoadService", library, 0, static_cast<char>(0));
  m_pFactory = reinterpret_cast<ClassicCreateDataSvcProc>(KCLASSIC::KGetProcAddress(handle, "ClassicCreateDataSvc"));
  if (m_pFactory == nullptr) Throw(0, "KAdpConfig::LoadService", library, 0, static_cast<char>(0));
  Trace("POrb Subsystem", library);
  return CreateDataService();
}

KCLASSIC::tagPpmDataSvc* KAdpConfig::CreateDataService() {
  return m_pFactory != nullptr ? m_pFactory(this) : nullptr;
}

void KAdpConfig::SetPropertyStr(str_type index, KZString value) {
  long i = index;
  if (i >= 0 && i <= 15 && kStrPos[i] >= 0) {
    m_str[kStrPos[i]] = value;
  } else if (i == 11) {
    m_str11 = value;
  } else if (i == 12) {
    m_strAdmin = value;
  } else if (i == 14) {
    m_strBindMarker = value;
  }
}

KZString KAdpConfig::GetPropertyStr(str_type index) const {
  long i = index;
  if (i >= 0 && i <= 15 && kStrPos[i] >= 0) return m_str[kStrPos[i]];
  switch (i) {
    case 11: return m_str11;
    case 12: return m_strAdmin;
    case 13: {
      const char* name = GetPOrbDllName(m_lLibraryId);
      return KZString(name != nullptr ? name : "");
    }
    case 14: return m_strBindMarker;
    default: return KZString();
  }
}

void KAdpConfig::SetPropertyLong(long_type index, long value) {
  switch (static_cast<long>(index)) {
    case 0: case 1: case 2: case 3: m_long[index] = value; break;
    case 4: m_lLibraryId = value; break;
    case 5: m_long5 = value; break;
    case 6: m_long6 = value; break;
    case 7: m_long7 = value; break;
    case 8: m_long8 = value; break;
    case 9: m_lDbType = value; break;
    case 10: m_lMaxChar = value; break;
    default: break;
  }
}

long KAdpConfig::GetPropertyLong(long_type index) const {
  switch (static_cast<long>(index)) {
    case 0: case 1: case 2: case 3: return m_long[index];
    case 4: return m_lLibraryId;
    case 5: return m_long5;
    case 6: return m_long6;
    case 7: return m_long7;
    case 8: return m_long8;
    case 9: return m_lDbType;
    case 10: return m_lMaxChar;
    default: return 0;
  }
}

void KAdpConfig::SetPropertyBool(bool_type index, char value) {
  switch (static_cast<long>(index)) {
    case 0: m_bool0 = value; break;
    case 1: m_bool1 = value; break;
    case 3: m_bool3 = value; break;
    case 4: m_bool4 = value; break;
    case 5: m_bool5 = value; break;
    case 6: m_bool6 = value; break;
    case 7: m_bool7 = value; break;
    case 8: m_bool8 = value; break;
    case 9: m_bool9 = value; break;
    case 10: m_bWinAuth = value; break;
    default: break;
  }
}

char KAdpConfig::GetPropertyBool(bool_type index) const {
  switch (static_cast<long>(index)) {
    case 0: return static_cast<char>(m_bool0);
    case 1: return static_cast<char>(m_bool1);
    case 3: return static_cast<char>(m_bool3);
    case 4: return static_cast<char>(m_bool4);
    case 5: return m_bool5;
    case 6: return m_bool6;
    case 7: return m_bool7;
    case 8: return m_bool8;
    case 9: return m_bool9;
    default: return 0;
  }
}

void KAdpConfig::SetPropertyChar(char_type index, char value) {
  if (index == 0) m_char0 = value;
}

char KAdpConfig::GetPropertyChar(char_type index) const { return index == 0 ? m_char0 : 0; }

void KAdpConfig::SetPOrbDllName(long id, const char* name) {
  for (int i = 0; i < m_dllTable.GetSize(); ++i) {
    auto* row = static_cast<dll_row*>(m_dllTable[i]);
    if (row->id == id) row->name = name != nullptr ? name : "";
  }
}

const char* KAdpConfig::GetPOrbDllName(long id) const {
  for (int i = 0; i < m_dllTable.GetSize(); ++i) {
    const auto* row = static_cast<const dll_row*>(m_dllTable[i]);
    if (row->id == id) return row->name;
  }
  return nullptr;
}

void KAdpConfig::SetDBCodepageID(const char* name) {
  static const struct {
    const char* name;
    long cp;
  } kPages[] = {{"Latin1", 1252}, {"Windows-1250", 1250}, {"shift_jis", 932}, {"big5", 950}, {"euc-kr", 949}};
  if (name == nullptr) return;
  for (const auto& p : kPages) {
    if (std::strcmp(name, p.name) == 0) m_lDbCodePage = p.cp;
  }
}
