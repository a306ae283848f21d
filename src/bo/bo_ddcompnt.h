// KDdDataDictCompnt, the table component of a dictionary (kind
// eDicDataDict): the tables and views by id, by lower-cased name and in the
// order they were added, and the business-object descriptors by id and by
// lower-cased name. Finds fetch what is missing; tables and views are
// created and deleted here with their id and name checks, and renamed or
// re-numbered (re-keyed) through ChangeTableKeys. Owns every record.
#pragma once

#include "bo/bo_busobj.h"
#include "bo/bo_compnt.h"
#include "bo/bo_ddtable.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

// Editing errors of the table component.
inline constexpr long KERR_DD_BAD_TABLE_ID = 0x8B001A3;
inline constexpr long KERR_DD_EMPTY_TABLE_NAME = 0x8B001A4;
inline constexpr long KERR_DD_DUP_TABLE_NAME = 0x8B001A5;
inline constexpr long KERR_DD_DUP_TABLE_ID = 0x8B001A6;
// Buckets of the table maps.
inline constexpr unsigned BO_TABLE_HASH_SIZE = 503;
// Flag the component adds to every table it creates.
inline constexpr int BO_TABLE_CREATED = int(DD_TBL_LOCAL);
// Table ids of user mode: two ranges, both bounds included.
inline constexpr long BO_USER_TABLE_ID_LOW1 = 430;
inline constexpr long BO_USER_TABLE_ID_HIGH1 = 511;
inline constexpr long BO_USER_TABLE_ID_LOW2 = 2000;
inline constexpr long BO_USER_TABLE_ID_HIGH2 = 4999;
// Table ids of product mode: 0 up to this one.
inline constexpr unsigned long BO_PRODUCT_TABLE_ID_HIGH = 9999;

class ORB_API KDdDataDictCompnt : public KDdComponent {
 public:
  KDdDataDictCompnt(long language, KSessionMgr* mgr);
  ~KDdDataDictCompnt() override;

  int GetTableCount();
  // Local only: flags must hold BO_DD_LOCAL_ONLY; null outside the array.
  IDdTable* GetTable(int index, int flags);
  IDdTable* FindTable(KDdDict* dict, long id, int flags);
  IDdTable* FindTable(KDdDict* dict, const KZString& name, int flags);
  IDdBusObj* FindBusObj(KDdDict* dict, long id, int flags);
  IDdBusObj* FindBusObj(KDdDict* dict, const KZString& name, int flags);
  IDdBusObj* GetGenericBusObj(const KZString& name);
  // Takes the table over; one whose id is held already is deleted.
  void AddTable(KDdTable* table);
  // Takes the descriptor over, filed by id and lower-cased name; one whose
  // id is held already is deleted.
  void AddBusObj(KDdBusObj* busObj);
  IDdTable* CreateTable(KDdDict* dict, const KZString& name, const KZString& comment, const int id,
                        const int flags, const KZString& objGroup);
  void DeleteTable(KDdDict* dict, IDdTable* table);
  void DeleteView(KDdDict* dict, IDdTable* view);
  void CheckTableId(KDdDict* dict, long id);
  // Moves table from its old name and id to its present ones.
  void ChangeTableKeys(KDdTable* table, const KZString& oldName, long oldId);

  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KDdTable* LocalById(long id);
  KDdTable* LocalByName(const KZString& name);
  int PositionOf(IDdTable* table);
  // Checks shared by both deletes; the position of the record.
  int CheckDelete(KDdDict* dict, IDdTable* table, bool view, const char* method);
  void Remove(int pos, KDdTable* table);

  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdBusObj*> m_mapFirstBusObjsByName{10};
  KMap<unsigned long, unsigned long, KDdBusObj*, KDdBusObj*&> m_mapFirstBusObjsById{10};
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdBusObj*> m_mapBusObjsByName{10};
  KMap<unsigned long, unsigned long, KDdBusObj*, KDdBusObj*&> m_mapBusObjsById{10};
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdTable*> m_mapTablesByName{10};
  KMap<unsigned long, unsigned long, KDdTable*, KDdTable*&> m_mapTablesById{10};
  KArray<KDdTable*, KDdTable*> m_arrTables;
};

} // namespace KCLASSIC
