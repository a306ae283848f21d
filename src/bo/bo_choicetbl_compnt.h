// The choice tables of a dictionary: KDdChoiceTableCompnt (kind
// eDicChoiceTables) keeps tables by language and lower-cased name, finds a
// table also by its detail name, fetches a missing one from the metadata
// server and keeps its tables in its cache file. A table displaced from its
// name by a newer one is retired: it stays valid for whoever holds it until
// DeleteContents, which destroys every table once.
#pragma once

#include "bo/bo_choicetbl.h"
#include "bo/bo_compnt.h"
#include "bo/bo_userlist.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

class ORB_API KDdChoiceTableCompnt : public KDdComponent {
 public:
  using TableMap = KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdChoiceTable*>;

  KDdChoiceTableCompnt(long language, KSessionMgr* mgr);
  ~KDdChoiceTableCompnt() override;

  IDdChoiceTable* FindChoiceTable(KDdDict* dict, long lang, KZString& name, int flags);
  // By name, then by detail name, both under language 0 whatever lang is;
  // without BO_DD_LOCAL_ONLY a miss fetches once (the request carries
  // language 0) and throws KERR_DD_CHOICE_TABLE_NOT_FOUND when the table is
  // still missing; with it a miss gives null.
  IDdChoiceTable* FindChoiceTableByLang(KDdDict* dict, KZString& name, long lang, int flags);
  // The first table of language lang, in map order, whose detail name
  // equals detailName in any letter case; never fetches.
  KDdChoiceTable* FindLocalChoiceTableByDetailName(KZString& detailName, long lang);
  // Takes the table over and marks the component modified.
  void AddChoiceTable(KDdChoiceTable* table, long lang);
  // Files the table under its lower-cased name in the map of lang,
  // retiring the table it displaces.
  void AddChoiceTableDo(long lang, KZString name, KDdChoiceTable* table);
  int GetRetiredCount();
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KMap<unsigned long, unsigned long, TableMap*, TableMap*&> m_mapLangs{10};
  KArray<KDdChoiceTable*, KDdChoiceTable*> m_arrRetired;
};

} // namespace KCLASSIC
