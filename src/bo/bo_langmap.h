// The containers of the two choice components: a map from a language
// number to a name map of records (keys lower-cased by the callers), and
// the cache body that walks it. Callers hold the component's lock.
#pragma once

#include <cstdint>

#include "bo/bo_choice_io.h"
#include "bo/bo_compnt.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_mapnc.h"

namespace KCLASSIC {

template <class REC>
using BoNameMap = KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, REC*>;
template <class REC>
using BoLangMap = KMap<unsigned long, unsigned long, BoNameMap<REC>*, BoNameMap<REC>*&>;

// Block size of the language and name maps.
inline constexpr int BO_LANGMAP_BLOCK = 10;

// The name map of a language, created when create is set; null otherwise.
template <class REC>
BoNameMap<REC>* bo_langmap_names(BoLangMap<REC>& langs, unsigned long lang, bool create) {
  BoNameMap<REC>* names = nullptr;
  if (langs.Lookup(lang, names) || !create) return names;
  names = new BoNameMap<REC>(BO_LANGMAP_BLOCK);
  langs.SetAt(lang, names);
  return names;
}

// The record under the lower-cased key in a language, or null.
template <class REC>
REC* bo_langmap_find(BoLangMap<REC>& langs, unsigned long lang, const KZString& lowerKey) {
  BoNameMap<REC>* names = bo_langmap_names(langs, lang, false);
  REC* found = nullptr;
  if (names) names->Lookup(lowerKey, found);
  return found;
}

// Calls visit(record) for each non-null record of a name map, in map order.
template <class REC, class VISIT>
void bo_langmap_each(const BoNameMap<REC>& names, VISIT visit) {
  KPOSITION pos = names.GetStartPosition();
  while (pos) {
    KZString key;
    REC* record = nullptr;
    names.GetNextAssoc(pos, key, record);
    if (record) visit(record);
  }
}

// Deletes every record and name map and empties the language map.
template <class REC>
void bo_langmap_delete(BoLangMap<REC>& langs) {
  KPOSITION pos = langs.GetStartPosition();
  while (pos) {
    unsigned long lang = 0;
    BoNameMap<REC>* names = nullptr;
    langs.GetNextAssoc(pos, lang, names);
    if (!names) continue;
    bo_langmap_each<REC>(*names, [](REC* record) { delete record; });
    delete names;
  }
  langs.RemoveAll();
}

// The cache body: the number of languages, then per language its number,
// its record count and the records (each by its own Serialize). Loading
// default-constructs each record, lets it read itself and hands it to
// add(record, language); counts of 0 or less read nothing more.
template <class REC, class ADD>
void bo_langmap_serialize(KArchive& ar, BoLangMap<REC>& langs, ADD add) {
  if (ar.IsStoring()) {
    ar.Put32(uint32_t(langs.GetCount()));
    KPOSITION pos = langs.GetStartPosition();
    while (pos) {
      unsigned long lang = 0;
      BoNameMap<REC>* names = nullptr;
      langs.GetNextAssoc(pos, lang, names);
      int count = 0;
      if (names) bo_langmap_each<REC>(*names, [&count](REC*) { ++count; });
      ar.Put32(uint32_t(lang)).Put32(uint32_t(count));
      if (names) bo_langmap_each<REC>(*names, [&ar](REC* record) { record->Serialize(ar); });
    }
    return;
  }
  int32_t entries = bo_choice_count(ar.Get32());
  for (int32_t e = 0; e < entries; ++e) {
    unsigned long lang = ar.Get32();
    int32_t count = bo_choice_count(ar.Get32());
    for (int32_t i = 0; i < count; ++i) add(bo_compnt_load_one<REC>(ar), long(lang));
  }
}

} // namespace KCLASSIC
