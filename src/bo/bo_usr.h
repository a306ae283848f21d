// KUsrContext: the user behind a session. It writes the SELECT statements
// that find and load the user; the host runs them and hands the result sets
// back as one record (one row per statement, the statement's result set
// nested in column 0); the context then answers item queries from them, and
// travels with its session as a record image.
//
// Threads: a context is used by one thread at a time.
#pragma once

#include "kclassic/kc_list.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_var.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

// Login kinds.
inline constexpr long USR_KIND_WEB_CONTACT_ONLY = 1;
inline constexpr long USR_KIND_WEB_CONTACT_USER = 2;
inline constexpr long USR_KIND_WEB_EMPLOYEE_USER = 3;
inline constexpr long USR_KIND_CONTACT = 4;
inline constexpr long USR_KIND_EMPLOYEE = 5;

inline constexpr long USR_ITEM_COUNT = 104;
inline constexpr int USR_FILTER_SIZE = 128;

// Message ids of the user context.
inline constexpr long KERR_VALIDATE_USER = 0x8B000DE;
inline constexpr long KERR_USER_AND_CONTACT = 0x8B000DF;
inline constexpr long KERR_ASSOCIATE_UNKNOWN = 0x8B000E4;

enum EConfigField { eConfigValueType = 0, eConfigIValue = 1, eConfigFValue = 2, eConfigStrValue = 3 };

// The fields the getters read (the order of the getter table).
enum EUsrField {
  eUsrAgentId,
  eUsrStatus,
  eUsrUserLoginName,
  eUsrLocale,
  eUsrDefaultWipBinId,
  eUsrDefaultWipBinTitle,
  eUsrPrivClassId,
  eUsrPrivClassName,
  eUsrEmployeeId,
  eUsrContactId,
  eUsrContactTitle,
  eUsrFirstName,
  eUsrLastName,
  eUsrEmailAddress,
  eUsrPager,
  eUsrPhone,
  eUsrFax,
  eUsrSiteId,
  eUsrSiteName,
  eUsrSiteSiteId,
  eUsrSiteType,
  eUsrAddressId,
  eUsrAddress,
  eUsrCity,
  eUsrState,
  eUsrZipCode,
  eUsrAddress2,
  eUsrTimeZoneId,
  eUsrCountryId,
  eUsrStateProvId,
  eUsrFieldCount
};

// Which variant of a field a getter reads.
enum EUsrVariant { eUsrEmployeeVariant, eUsrContactVariant, eUsrUserVariant };

// The three getters of one field: GetEmployeeF, GetContactF and GetF.
#define BO_USR_GETTERS(F)                                                              \
  KZString GetEmployee##F() { return FieldText(eUsr##F, eUsrEmployeeVariant); }        \
  KZString GetContact##F() { return FieldText(eUsr##F, eUsrContactVariant); }          \
  KZString Get##F() { return FieldText(eUsr##F, eUsrUserVariant); }

class ORB_API KUsrContext : public KObject {
 public:
  KUsrContext(const char* loginName, const char* login2, int caseInsensitive, long kind, const char* associate,
              int pageClass);
  explicit KUsrContext(char* image);
  ~KUsrContext() override;
  KUsrContext(const KUsrContext&) = delete;
  KUsrContext& operator=(const KUsrContext&) = delete;

  // The login filter of value into the filter buffer; refuses (0x8B000C9)
  // a value whose filter does not fit.
  const char* MakeFilter(const char* value);
  void GetFindUserQuery(long kind, KStringList& list);
  void GetInitSelectStmt(long kind, KUtlRecord& loginResults, KStringList& list);
  long InitFromDb(KUtlRecord& results, int copy);
  // The image (a system byte string the caller frees), and back.
  using KObject::Serialize;
  char* Serialize();
  void DeSerialize(const char* image);

  int IsEmployeeUser() const;
  int IsContactUser() const;
  KZString& GetUserId(KZString& out) const;
  KZString& GetWebUserId(KZString& out) const;
  long GetLoginKind() const { return m_lLoginKind; }
  const KZString& GetLoginName() const { return m_strLoginName; }
  const KZString& GetLogin2() const { return m_strLogin2; }
  const KZString& GetAssociate() const { return m_strAssociate; }
  int IsCaseInsensitive() const { return m_bCaseInsensitive; }
  int HasPageClass() const { return m_bPageClass; }

  long GetItemCount() const { return USR_ITEM_COUNT; }
  long GetItemIndex(KZString& name);
  KZString GetItem(long index);
  KZString GetItem(KZString& name);
  void GetItem(long index, char** out);
  void GetItem(KZString& name, char** out);
  void GetConfigItemType(KZString& key, EConfigField& field);
  KOleVariant GetConfigValue(KZString& key);

  BO_USR_GETTERS(AgentId)
  BO_USR_GETTERS(Status)
  BO_USR_GETTERS(UserLoginName)
  BO_USR_GETTERS(Locale)
  BO_USR_GETTERS(DefaultWipBinId)
  BO_USR_GETTERS(DefaultWipBinTitle)
  BO_USR_GETTERS(PrivClassId)
  BO_USR_GETTERS(PrivClassName)
  BO_USR_GETTERS(EmployeeId)
  BO_USR_GETTERS(ContactId)
  BO_USR_GETTERS(ContactTitle)
  BO_USR_GETTERS(FirstName)
  BO_USR_GETTERS(LastName)
  BO_USR_GETTERS(EmailAddress)
  BO_USR_GETTERS(Pager)
  BO_USR_GETTERS(Phone)
  BO_USR_GETTERS(Fax)
  BO_USR_GETTERS(SiteId)
  BO_USR_GETTERS(SiteName)
  BO_USR_GETTERS(SiteSiteId)
  BO_USR_GETTERS(SiteType)
  BO_USR_GETTERS(AddressId)
  BO_USR_GETTERS(Address)
  BO_USR_GETTERS(City)
  BO_USR_GETTERS(State)
  BO_USR_GETTERS(ZipCode)
  BO_USR_GETTERS(Address2)
  BO_USR_GETTERS(TimeZoneId)
  BO_USR_GETTERS(CountryId)
  BO_USR_GETTERS(StateProvId)
  KZString GetPageClassId();
  KZString GetPageClassName();

  // The text of a field as the variant reads it.
  KZString FieldText(EUsrField field, EUsrVariant variant);
  // One cell of row 0 of a result record by column code; "" (text) or 0
  // (number) when it cannot be read.
  KZString ReadText(long code);
  long ReadNumber(long code);

  // The result records, filled by InitFromDb.
  KUtlRecord& Results() { return m_results; }
  KUtlRecord& EmployeeRecord() { return m_recEmployee; }
  KUtlRecord& ContactRecord() { return m_recContact; }
  KUtlRecord& ContactOnlyRecord() { return m_recContactOnly; }
  KUtlRecord& ConfigRecord() { return m_recConfig; }
  KUtlRecord& PageClassRecord() { return m_recPageClass; }

 private:
  void BuildMap();
  KZString RetrieveFromMap(long index);
  KZString RetrieveFromMap(KZString& name);
  // The record a column code reads, and the column; NULL for none.
  KUtlRecord* RecordOfCode(long code, long& column);
  void ClearRecords();

  KMap<KZString, const char*, long, long> m_itemMap;
  long m_lUserId = 0;
  long m_lWebUserId = 0;
  long m_lLoginKind = 0;
  KZString m_strLoginName;
  KZString m_strLogin2;
  KZString m_strAssociate;
  int m_bCaseInsensitive = 0;
  int m_bPageClass = 0;
  char m_szFilter[USR_FILTER_SIZE] = {};
  KUtlRecord m_results;
  KUtlRecord m_recEmployee;
  KUtlRecord m_recContact;
  KUtlRecord m_recContactOnly;
  KUtlRecord m_recConfig;
  KUtlRecord m_recPageClass;
};

#undef BO_USR_GETTERS

} // namespace KCLASSIC
