// Message ids, database string ids and the loading of message texts.
#include "bo/bo_dd.h"
#include "bo/bo_util.h"
#include "core/cmn/cmn_subs.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"

namespace KCLASSIC {

namespace {

constexpr long kSubsysMask = 0xFFF;
constexpr int kMaxInserts = 5;
// Subsystems whose dictionary texts are taken as they stand.
constexpr long kVerbatimFirst = BO_SUBSYS_OWN;
constexpr long kVerbatimLast = 142;
constexpr long kVerbatimFrom = 145;

bool dictionary_text_is_template(long subsys) {
  return !((subsys >= kVerbatimFirst && subsys <= kVerbatimLast) || subsys >= kVerbatimFrom);
}

// The text with each "%s" numbered %1..%5 in order and "%%" made "%", as
// formatting with the arguments "%1".."%5" would give; the text as it
// stands when it holds any other conversion or more than five "%s".
KZString number_inserts(const char* text) {
  KZString out;
  int used = 0;
  for (const char* p = text; *p; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    if (p[1] == '%') {
      out += '%';
      ++p;
    } else if (p[1] == 's' && used < kMaxInserts) {
      out += '%';
      out += char('1' + used++);
      ++p;
    } else {
      return KZString(text);
    }
  }
  return out;
}

// The compiled-in text of id in language; NULL when the table has none.
const char* resource_text(long id, unsigned long language) {
  try {
    return KGetResourceString(int(id), language);
  } catch (KErr* e) {
    delete e;
    return nullptr;
  }
}

} // namespace

long OrbnStrId2SubSys(long id) { return (id >> BO_STR_SUBSYS_SHIFT) & kSubsysMask; }

long MapOrbnStrId2DbStrId(long id, long& subsys, long& number) {
  number = id & BO_STR_INDEX_MASK;
  if ((id & ~BO_STR_INDEX_MASK) == 0) {
    subsys = 0;
    return number;
  }
  subsys = id >> BO_STR_SUBSYS_SHIFT;
  if (subsys < 0 || subsys >= CMN_SUBS_NUM_ROWS) return 0;
  return cmn_subs_table()[subsys].first_id + number;
}

void MapDbStrId2OrbnStrId(long dbId, long& id, long& first, long& end) {
  id = first = end = 0;
  const cmn_ty_subs_entry* rows = cmn_subs_table();
  for (long i = 1; i < CMN_SUBS_NUM_ROWS; ++i) {
    const cmn_ty_subs_entry& row = rows[i];
    if (dbId >= row.first_id && dbId < row.first_id + row.range) {
      id = (row.number << BO_STR_SUBSYS_SHIFT) + (dbId - row.first_id);
      first = row.first_id;
      end = row.first_id + row.range;
      return;
    }
  }
}

long UtlGetLocaleFromOs() { return long(UtlGetLocale("").GetWin32Lcid()); }

int UtlLoadString(IDdDataDict* dict, long language, long id, KZString& out) {
  long subsys = 0;
  long number = 0;
  MapOrbnStrId2DbStrId(id, subsys, number);
  out.Empty();
  if (language == 0) language = UtlGetLocaleFromOs();
  if (subsys == BO_SUBSYS_OWN) {
    const char* text = resource_text(id, (unsigned long)language);
    if (!text) text = resource_text(id, BO_LANG_ENGLISH_US);
    if (!text) return 0;
    out = text;
    return 1;
  }
  if (!dict) {
    const char* text = resource_text(BO_ERR_NO_SESSION_STRING, BO_LANG_ENGLISH_US);
    KZString decimal;
    decimal.Format("%ld", id);
    out.FormatMessage(text ? text : "", static_cast<const char*>(decimal));
    return 0;
  }
  KZString* found = dict->FindString(language, id, 0);
  if (!found) {
    const char* text = resource_text(KERR_INTERNAL, BO_LANG_ENGLISH_US);
    out = text ? text : "";
    return 0;
  }
  out = dictionary_text_is_template(subsys) ? number_inserts(*found) : *found;
  return 1;
}

void UtlAppendString(IDdDataDict* dict, long language, long id, KZString& out) {
  KZString text;
  UtlLoadString(dict, language, id, text);
  out += text;
}

} // namespace KCLASSIC
