// KUsrContext: the field getters, the 104 items and the configuration items.
#include <cstring>

#include "bo/bo_usr.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr long kNone = -1;
// Column-code ranges of the result records.
constexpr long kEmployeeCodes = 0;
constexpr long kContactCodes = 1000;
constexpr long kContactOnlyCodes = 2000;
constexpr long kPageClassCodes = 3000;
constexpr long kCodeRange = 1000;
constexpr long kPageClassIdCode = 3000;
constexpr long kPageClassNameCode = 3001;
constexpr long kConfigName = 2;
constexpr long kConfigValueType = 3;
constexpr long kConfigIValue = 4;
constexpr long kConfigFValue = 5;
constexpr long kConfigStrValue = 6;
constexpr const char* kItemMethod = "KUsrContext::GetItem";
constexpr const char* kConfigMethod = "KUsrContext::GetConfigItemType";
constexpr const char* kConfigSyntax =
    "Syntax is: config_itm.<name>.<field>, where <field> is one of: value_type, i_value, f_value, or str_value";

struct FieldCodes {
  long employee;
  long contactUser; // the contact variant for a contact user
  long contactOther; // the contact variant otherwise
  bool number;
  bool contactFirst; // GetF reads the contact variant for a contact user
};

// Indexed by EUsrField.
const FieldCodes kFields[eUsrFieldCount] = {
    {4, 1004, kNone, false, true},     {5, 1005, kNone, true, true},     {1, 1001, kNone, false, true},
    {3, 1003, kNone, true, true},      {6, 1006, kNone, true, true},     {7, 1007, kNone, false, true},
    {8, 1008, kNone, true, true},      {9, 1009, kNone, false, true},    {10, kNone, kNone, true, true},
    {2000, 1010, 2000, true, false},   {2006, 1016, 2006, false, true},  {11, 1011, 2001, false, false},
    {12, 1012, 2002, false, false},    {13, 1013, 2003, false, false},   {14, kNone, kNone, false, false},
    {15, 1014, 2004, false, false},    {16, 1015, 2005, false, false},   {17, 1017, 2007, true, false},
    {18, 1018, 2008, false, false},    {19, 1019, 2009, false, false},   {20, 1020, 2010, true, false},
    {21, 1021, 2011, true, false},     {22, 1022, 2012, false, false},   {23, 1023, 2013, false, false},
    {24, 1024, 2014, false, false},    {25, 1025, 2015, false, false},   {26, 1026, 2016, false, false},
    {27, 1027, 2017, true, false},     {28, 1028, 2018, true, false},    {29, 1029, 2019, true, false},
};

// Items 0 to 3 and their meaning in every prefix group.
enum BaseItem { kItemUserId, kItemWebUserId, kItemLoginName, kItemPassword, kBaseItems };
const char* const kBaseNames[kBaseItems] = {"user.id", "web_user.id", "login_name", "password"};

// Items 4 to 35: a field, or the page class (eUsrFieldCount + 0 / 1).
constexpr int kPageClassIdItem = eUsrFieldCount;
constexpr int kPageClassNameItem = eUsrFieldCount + 1;
struct FieldItem {
  const char* name;
  int field;
};
const FieldItem kFieldItems[] = {
    {"user.login_name", eUsrUserLoginName},
    {"user.locale", eUsrLocale},
    {"user.agentid", eUsrAgentId},
    {"user.status", eUsrStatus},
    {"wipbin.id", eUsrDefaultWipBinId},
    {"wipbin.title", eUsrDefaultWipBinTitle},
    {"privclass.id", eUsrPrivClassId},
    {"privclass.name", eUsrPrivClassName},
    {"page_class.id", kPageClassIdItem},
    {"page_class.name", kPageClassNameItem},
    {"employee.id", eUsrEmployeeId},
    {"contact.id", eUsrContactId},
    {"contact.title", eUsrContactTitle},
    {"first_name", eUsrFirstName},
    {"last_name", eUsrLastName},
    {"email", eUsrEmailAddress},
    {"pager", eUsrPager},
    {"phone", eUsrPhone},
    {"fax", eUsrFax},
    {"site.id", eUsrSiteId},
    {"site.name", eUsrSiteName},
    {"site.site_id", eUsrSiteSiteId},
    {"site.type", eUsrSiteType},
    {"address.id", eUsrAddressId},
    {"address.address", eUsrAddress},
    {"address.city", eUsrCity},
    {"address.state", eUsrState},
    {"address.zipcode", eUsrZipCode},
    {"address.address2", eUsrAddress2},
    {"timezone.id", eUsrTimeZoneId},
    {"country.id", eUsrCountryId},
    {"stateprov.id", eUsrStateProvId},
};
constexpr long kFieldItemCount = long(sizeof kFieldItems / sizeof kFieldItems[0]);
constexpr long kUserGroupSize = kBaseItems + kFieldItemCount;  // 36
constexpr long kPrefixedGroupSize = kUserGroupSize - 2;          // 34: no page class
const char* const kPrefixes[] = {"employee.", "contact."};

KZString number_text(long v) {
  KZString s;
  s.Format("%d", int(v));
  return s;
}

} // namespace

KUtlRecord* KUsrContext::RecordOfCode(long code, long& column) {
  if (code < 0) return nullptr;
  KUtlRecord* recs[] = {&m_recEmployee, &m_recContact, &m_recContactOnly, &m_recPageClass};
  long group = code / kCodeRange;
  if (group >= long(std::size(recs))) return nullptr;
  column = code % kCodeRange;
  return recs[group];
}

KZString KUsrContext::ReadText(long code) {
  long col = 0;
  KUtlRecord* rec = RecordOfCode(code, col);
  if (!rec || rec->GetRows() < 1 || col >= rec->GetColumns()) return KZString();
  KZString out;
  try {
    rec->GetStringVal(0, col, out);
  } catch (KErr* e) {
    delete e;
    out.Empty();
  }
  return out;
}

long KUsrContext::ReadNumber(long code) {
  long col = 0;
  KUtlRecord* rec = RecordOfCode(code, col);
  if (!rec || rec->GetRows() < 1 || col >= rec->GetColumns()) return 0;
  try {
    return rec->GetLongVal(0, col);
  } catch (KErr* e) {
    delete e;
    return 0;
  }
}

KZString KUsrContext::FieldText(EUsrField field, EUsrVariant variant) {
  if (field < 0 || field >= eUsrFieldCount) return KZString();
  const FieldCodes& f = kFields[field];
  if (variant == eUsrUserVariant) {
    bool contact = f.contactFirst ? IsContactUser() != 0 : IsEmployeeUser() == 0;
    variant = contact ? eUsrContactVariant : eUsrEmployeeVariant;
  }
  long code = variant == eUsrEmployeeVariant ? f.employee : IsContactUser() ? f.contactUser : f.contactOther;
  return f.number ? number_text(ReadNumber(code)) : ReadText(code);
}

KZString KUsrContext::GetPageClassId() { return number_text(ReadNumber(kPageClassIdCode)); }
KZString KUsrContext::GetPageClassName() { return ReadText(kPageClassNameCode); }

void KUsrContext::BuildMap() {
  m_itemMap.RemoveAll();
  long index = 0;
  for (const char* name : kBaseNames) m_itemMap[name] = index++;
  for (const FieldItem& item : kFieldItems) m_itemMap[item.name] = index++;
  for (const char* prefix : kPrefixes) {
    for (const char* name : kBaseNames) m_itemMap[KZString(prefix) + name] = index++;
    for (const FieldItem& item : kFieldItems) {
      if (item.field >= eUsrFieldCount) continue;
      m_itemMap[KZString(prefix) + item.name] = index++;
    }
  }
}

KZString KUsrContext::RetrieveFromMap(long index) {
  if (index < 0 || index >= USR_ITEM_COUNT) return KZString();
  EUsrVariant variant = eUsrUserVariant;
  long at = index;
  if (index >= kUserGroupSize) {
    long prefixed = index - kUserGroupSize;
    variant = prefixed < kPrefixedGroupSize ? eUsrEmployeeVariant : eUsrContactVariant;
    at = prefixed % kPrefixedGroupSize;
  }
  KZString out;
  switch (at) {
    case kItemUserId: return GetUserId(out);
    case kItemWebUserId: return GetWebUserId(out);
    case kItemLoginName: return m_strLoginName;
    case kItemPassword: return out;
    default: break;
  }
  long k = at - kBaseItems;
  if (variant != eUsrUserVariant) {
    // The prefixed groups skip the two page-class items.
    for (long i = 0; i <= k && i < kFieldItemCount; ++i)
      if (kFieldItems[i].field >= eUsrFieldCount) ++k;
  }
  int field = kFieldItems[k].field;
  if (field == kPageClassIdItem) return GetPageClassId();
  if (field == kPageClassNameItem) return GetPageClassName();
  return FieldText(EUsrField(field), variant);
}

KZString KUsrContext::RetrieveFromMap(KZString& name) { return RetrieveFromMap(GetItemIndex(name)); }

long KUsrContext::GetItemIndex(KZString& name) {
  name.MakeLower();
  long index = -1;
  return m_itemMap.Lookup(name, index) ? index : -1;
}

KZString KUsrContext::GetItem(long index) { return RetrieveFromMap(index); }

KZString KUsrContext::GetItem(KZString& name) {
  if (name.IsEmpty()) throw new KErr(KERR_ILLEGAL_ARGUMENT, kItemMethod, "name");
  return RetrieveFromMap(name);
}

namespace {

void give_text(const KZString& text, char** out) {
  *out = text.IsEmpty() ? nullptr : KBinSysAllocStringByteLen(text, unsigned(text.GetLength()));
}

} // namespace

void KUsrContext::GetItem(long index, char** out) {
  if (!out) throw new KErr(KERR_ILLEGAL_ARGUMENT, kItemMethod, "out");
  give_text(RetrieveFromMap(index), out);
}

void KUsrContext::GetItem(KZString& name, char** out) {
  if (!out) throw new KErr(KERR_ILLEGAL_ARGUMENT, kItemMethod, "out");
  give_text(GetItem(name), out);
}

void KUsrContext::GetConfigItemType(KZString& key, EConfigField& field) {
  static const char* const kFieldNames[] = {"value_type", "i_value", "f_value", "str_value"};
  int dot = key.Find('.');
  if (dot >= 0) {
    KZString name = key.Left(dot);
    KZString which = key.Mid(dot + 1);
    for (int i = 0; i < int(std::size(kFieldNames)); ++i) {
      if (which.CompareNoCase(kFieldNames[i]) == 0) {
        key = name;
        field = EConfigField(i);
        return;
      }
    }
  }
  throw new KErr(KERR_ILLEGAL_ARGUMENT, kConfigMethod, kConfigSyntax);
}

KOleVariant KUsrContext::GetConfigValue(KZString& key) {
  EConfigField field = eConfigValueType;
  GetConfigItemType(key, field);
  KOleVariant value;
  for (long row = 0; row < m_recConfig.GetRows(); ++row) {
    KZString name;
    m_recConfig.GetStringVal(row, kConfigName, name);
    if (name.CompareNoCase(key) != 0) continue;
    switch (field) {
      case eConfigValueType: value = m_recConfig.GetLongVal(row, kConfigValueType); break;
      case eConfigIValue: value = m_recConfig.GetLongVal(row, kConfigIValue); break;
      case eConfigFValue: {
        // Read as the float it is, whatever cell holds it.
        KZString text;
        m_recConfig.GetStringVal(row, kConfigFValue, text);
        value = float(UtlLnStringToDouble(text));
        break;
      }
      case eConfigStrValue: {
        KZString text;
        m_recConfig.GetStringVal(row, kConfigStrValue, text);
        value = text;
        break;
      }
    }
    return value;
  }
  return value;
}

} // namespace KCLASSIC
