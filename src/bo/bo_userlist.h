// The user choice lists of a dictionary: KDdUserChoiceListCompnt (kind
// eDicUserChoiceLists, no cache file) keeps the CRM users' own pop-up lists
// by name in any letter case, fetching a missing one from the metadata
// server. Every list lives in one name map filed under language 0,
// whatever language a caller gives. A list handed out stays valid until
// DeleteContents; a later list of the same name never replaces it.
#pragma once

#include "bo/bo_choice.h"
#include "bo/bo_compnt.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

// No list of that name after a fetch (also for choice tables).
inline constexpr long KERR_DD_CHOICE_TABLE_NOT_FOUND = 0x8B001A1;

class ORB_API KDdUserChoiceListCompnt : public KDdComponent {
 public:
  using ListMap = KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdChoiceList*>;

  KDdUserChoiceListCompnt(long language, KSessionMgr* mgr);
  ~KDdUserChoiceListCompnt() override;

  IDdChoiceList* FindUserChoiceList(KDdDict* dict, long lang, KZString& name, int flags);
  // Without BO_DD_LOCAL_ONLY a miss fetches once (the request carries
  // lang) and throws KERR_DD_CHOICE_TABLE_NOT_FOUND when the list is still
  // missing; with it a miss gives null.
  IDdChoiceList* FindUserChoiceListByLang(KDdDict* dict, KZString& name, long lang, int flags);
  // Takes the list over; one whose name is held already (in any letter
  // case) is deleted and the modified flag is left alone.
  void AddUserChoiceList(KDdChoiceList* list, long lang);
  // Files the list under its lower-cased name in the language-0 map; a list
  // it displaces stays valid until DeleteContents.
  void AddChoiceListeDo(long lang, KZString name, KDdChoiceList* list);
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KDdChoiceList* LookupList(const KZString& name);

  KMap<unsigned long, unsigned long, ListMap*, ListMap*&> m_mapLangs{10};
  // Lists displaced from the name map by a raw insertion.
  KArray<KDdChoiceList*, KDdChoiceList*> m_arrDisplaced;
};

} // namespace KCLASSIC
