// KDdDict, a session's data dictionary: eight components, one of each
// kind, shared by reference count with the session manager's own
// dictionary. Every look-up forwards to the component of its kind (the
// dictionary passes itself, so a fetch on miss names the asking
// dictionary); the dictionary answers a peer's bulk request from its
// components (GetMetaData) and loads and saves their cache files.
//
// A forwarded operation whose slot is empty throws 0x8B000C9 naming the
// operation. The slots are changed only by InitializeComponents,
// SetComponent and SetNewComponent, never while another thread looks up
// through the same dictionary; the components lock themselves.
#pragma once

#include "bo/bo_bulkdata.h"
#include "bo/bo_choicetbl_compnt.h"
#include "bo/bo_dd.h"
#include "bo/bo_ddcompnt.h"
#include "bo/bo_string.h"
#include "bo/bo_userlist.h"

namespace KCLASSIC {

// Tables a peer may name before they exist: never forwarded (not exported:
// IsFutureTable is the way in).
extern const char* const g_FutureTables[];
// 1 when name is one of g_FutureTables in any letter case.
ORB_API int IsFutureTable(const char* name);
// Ids LoadTables asks for: 0 up to this one.
inline constexpr long BO_LOAD_TABLES_LAST_ID = 9999;
// Flags CreateTable and CreateView give the new record.
inline constexpr long DD_TBL_CREATE_TABLE = 0x42;
inline constexpr long DD_TBL_CREATE_VIEW = 0x244;

class ORB_API KDdDict : public IDdDataDict {
 public:
  explicit KDdDict(KSessionMgr* mgr);
  KDdDict(const KDdDict&) = delete;
  KDdDict& operator=(const KDdDict&) = delete;
  ~KDdDict() override;

  KZString* FindString(long language, long id, int flags) override;
  KZString* FindString(long language, const KZString& key, int flags) override;
  IDdTable* FindTable(long id, int flags) override;
  IDdTable* FindTable(const KZString& name, int flags) override;
  IDdCurrency* FindCurrency(long id, int flags) override;
  IDdCurrency* FindCurrency(const KZString& name, int flags) override;
  IDdTimezone* FindTimezone(const KZString& name, int flags) override;
  IDdDaylight* FindDaylight(const KZString& zoneName, long year, int flags) override;
  IDdBusObj* FindBusObj(long id, int flags) override;
  IDdBusObj* FindBusObj(const KZString& name, int flags) override;
  IDdChoiceTable* FindChoiceTable(long language, KZString& name, int flags) override;
  IDdChoiceList* FindUserChoiceList(long language, KZString& name, int flags) override;
  IDdBusObj* GetGenericBusObj(const KZString& name) override;
  int GetTableCount() override;
  IDdTable* GetTable(int index, int flags) override;
  int GetCurrencyCount() override;
  int GetLocaleCount() override;
  IDdCurrency* GetCurrency(int index, int flags) override;
  int GetTimezoneCount() override;
  IDdTimezone* GetTimezone(int index, int flags) override;
  IDdLocale* GetLocale(int index, int flags) override;
  long GetDefaultLang() override;
  long GetDBSchemaVer() const override;
  KZString GetCustDbVer() const override;
  long GetModeType() const override;
  int IsOrbnMode() const override;
  // Writes the dictionary's tables and views as schema text; 1 when
  // written, 0 when the file cannot be opened or a look-up failed.
  int OutputSchemaFile(KZString& fileName) override;
  IDdTable* CreateTable(const KZString& name, const int id, const KZString& objGroup,
                        const KZString& comment) override;
  IDdTable* CreateView(const KZString& name, const int id, const KZString& objGroup,
                       const KZString& comment) override;
  void DeleteTable(IDdTable* table) override;
  void DeleteView(IDdTable* view) override;
  // Asks for every table id not yet known, in one request.
  void LoadTables() override;

  IDdDaylight* FindDaylight(const KZString& zoneName, int flags);
  int GetDaylightCount();
  IDdDaylight* GetDaylight(int index, int flags);
  IDdLocale* FindLocale(const KZString& key, int flags);
  long Locale2OrbnLang(long win32Lcid);
  void CheckTableId(long id);

  KDdDataDictCompnt* GetDataDictCompnt() const;
  KDdStringCompnt* GetStringCompnt() const;
  KDdChoiceTableCompnt* GetChoiceTableCompnt() const;
  KDdUserChoiceListCompnt* GetUserChoiceListCompnt() const;
  KDdCurrencyCompnt* GetCurrencyCompnt() const;
  KDdTimezoneCompnt* GetTimezoneCompnt() const;
  KDdDaylightCompnt* GetDaylightCompnt() const;
  KDdLocaleCompnt* GetLocaleCompnt() const;
  KDdComponent* GetComponent(enumDicCmpnt kind) const;

  // Takes each kind's component (of languages[kind]) from the manager;
  // without languages releases every slot.
  void InitializeComponents(const char* name, unsigned long* languages);
  // Installs component in its kind's slot, releasing the one held there.
  void SetComponent(KDdComponent* component);
  // A new component of kind, installed; kinds outside 0 to 7 throw 0x8B000C9.
  KDdComponent* SetNewComponent(KSessionMgr* mgr, enumDicCmpnt kind, unsigned long language);

  // Completes this dictionary with what request lists and it lacks, then
  // (with an answer) answers request from the components.
  long GetMetaData(KDdBulkRequest* request, KDdBulkRequestData* answer);
  long LoadDictionary(IDdBulkRequest* request);
  // 1 when every slot's cache file was read (0 with an empty slot).
  int LoadFromCacheFiles(KZString& report);
  // 1 unless writing a modified component's file failed.
  int SaveToCacheFiles(KZString& report);

  const KZString& GetName() const { return m_strName; }
  KSessionMgr* GetSessionMgr() const { return m_pSessionMgr; }
  // Set when the manager's configuration holds BO_CONFIG_DICT_FLAG.
  int GetConfigFlag() const { return m_bConfigFlag; }

 private:
  // The component of kind, of class COMPNT; throws when the slot is empty.
  template <class COMPNT>
  COMPNT* Need(enumDicCmpnt kind, const char* method) const {
    auto* compnt = dynamic_cast<COMPNT*>(m_pComponents[kind]);
    if (!compnt) throw new KErr(KERR_ILLEGAL_ARGUMENT, method);
    return compnt;
  }
  void CompleteFrom(KDdBulkRequest* request);
  void AnswerFrom(KDdBulkRequest* request, KDdBulkRequestData* answer);
  void AnswerChoices(KDdBulkRequest* request, KDdBulkRequestData* answer);
  void AnswerDaylights(KDdBulkRequest* request, KDdBulkRequestData* answer);
  void AnswerStrings(KDdBulkRequest* request, KDdBulkRequestData* answer);

  KDdComponent* m_pComponents[BO_DIC_COMPNT_COUNT] = {};
  KSessionMgr* m_pSessionMgr;
  KZString m_strName;
  int m_bConfigFlag = 0;
};

} // namespace KCLASSIC
