// The data dictionary: its interface IDdDataDict (what a session's
// dictionary answers; KDdDict implements it), and, through bo_ddtable.h,
// the table records it hands out (the record set takes a KDdTable as its
// column definition and finds each column's KDdField by name).
#pragma once

#include "kclassic/kc_mapnc.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class IDdTable;
class IDdCurrency;
class IDdTimezone;
class IDdDaylight;
class IDdBusObj;
class IDdChoiceTable;
class IDdChoiceList;
class IDdLocale;

// A session's data dictionary. Each look-up forwards to the component of its
// kind; flags bit 1 looks locally only (never fetches from the metadata
// source), bit 2 (strings) accepts any language of the same primary
// language. Records handed out stay owned by their component. The slots
// keep this order: hosts and records call through it.
class ORB_API IDdDataDict {
 public:
  // The text of a database string id (or key) in a language, or NULL.
  virtual KZString* FindString(long language, long id, int flags) = 0;
  virtual KZString* FindString(long language, const KZString& key, int flags) = 0;
  virtual IDdTable* FindTable(long id, int flags) = 0;
  virtual IDdTable* FindTable(const KZString& name, int flags) = 0;
  virtual IDdCurrency* FindCurrency(long id, int flags) = 0;
  virtual IDdCurrency* FindCurrency(const KZString& name, int flags) = 0;
  virtual IDdTimezone* FindTimezone(const KZString& name, int flags) = 0;
  virtual IDdDaylight* FindDaylight(const KZString& zoneName, long year, int flags) = 0;
  virtual IDdBusObj* FindBusObj(long id, int flags) = 0;
  virtual IDdBusObj* FindBusObj(const KZString& name, int flags) = 0;
  virtual IDdChoiceTable* FindChoiceTable(long language, KZString& name, int flags) = 0;
  virtual IDdChoiceList* FindUserChoiceList(long language, KZString& name, int flags) = 0;
  virtual IDdBusObj* GetGenericBusObj(const KZString& name) = 0;
  virtual int GetTableCount() = 0;
  virtual IDdTable* GetTable(int index, int flags) = 0;
  virtual int GetCurrencyCount() = 0;
  virtual int GetLocaleCount() = 0;
  virtual IDdCurrency* GetCurrency(int index, int flags) = 0;
  virtual int GetTimezoneCount() = 0;
  virtual IDdTimezone* GetTimezone(int index, int flags) = 0;
  virtual IDdLocale* GetLocale(int index, int flags) = 0;
  virtual long GetDefaultLang() = 0;
  virtual long GetDBSchemaVer() const = 0;
  virtual KZString GetCustDbVer() const = 0;
  virtual long GetModeType() const = 0;
  virtual int IsOrbnMode() const = 0;
  // 1 when the schema text file was written.
  virtual int OutputSchemaFile(KZString& fileName) = 0;
  virtual IDdTable* CreateTable(const KZString& name, const int id, const KZString& objGroup,
                                const KZString& comment) = 0;
  virtual IDdTable* CreateView(const KZString& name, const int id, const KZString& objGroup,
                               const KZString& comment) = 0;
  virtual void DeleteTable(IDdTable* table) = 0;
  virtual void DeleteView(IDdTable* view) = 0;
  virtual void LoadTables() = 0;
  virtual ~IDdDataDict() = default;
};

} // namespace KCLASSIC

#include "bo/bo_ddtable.h"
