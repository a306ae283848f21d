// KUsrContext: the result records filled from the executed statements, and
// the context's image.
#include <vector>

#include "bo/bo_usr.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {

constexpr const char* kInitMethod = "KUsrContext::InitFromDb";
constexpr const char* kImageMethod = "KUsrContext::DeSerialize";
constexpr const char* kImageName = "KUsrContext";

// What each executed statement's result set fills.
enum class Slot { Employee, Contact, ContactOnly, PageClass, UserConfig, GlobalConfig };

enum ImageColumn : long {
  kColKind,
  kColUserId,
  kColWebUserId,
  kColLoginName,
  kColLogin2,
  kColAssociate,
  kColPageClass,
  kColResults,
  kImageColumns
};

void add_user_slots(std::vector<Slot>& plan, int pageClass) {
  plan.push_back(Slot::Employee);
  if (pageClass) plan.push_back(Slot::PageClass);
  plan.push_back(Slot::UserConfig);
  plan.push_back(Slot::GlobalConfig);
}

// The statements GetInitSelectStmt makes for a kind, in order.
std::vector<Slot> statement_plan(long kind, bool associate, int pageClass) {
  std::vector<Slot> plan;
  switch (kind) {
    case USR_KIND_WEB_CONTACT_ONLY:
    case USR_KIND_WEB_CONTACT_USER:
      plan.push_back(kind == USR_KIND_WEB_CONTACT_ONLY ? Slot::ContactOnly : Slot::Contact);
      if (associate) add_user_slots(plan, pageClass);
      break;
    case USR_KIND_WEB_EMPLOYEE_USER:
      add_user_slots(plan, pageClass);
      plan.push_back(Slot::ContactOnly);
      break;
    case USR_KIND_CONTACT:
      plan.push_back(Slot::Contact);
      if (pageClass) plan.push_back(Slot::PageClass);
      plan.push_back(Slot::UserConfig);
      plan.push_back(Slot::GlobalConfig);
      if (associate) plan.push_back(Slot::Employee);
      break;
    default:
      add_user_slots(plan, pageClass);
      if (associate) plan.push_back(Slot::ContactOnly);
      break;
  }
  return plan;
}

} // namespace

void KUsrContext::ClearRecords() {
  for (KUtlRecord* rec : {&m_recEmployee, &m_recContact, &m_recContactOnly, &m_recConfig, &m_recPageClass})
    rec->RemoveAll();
}

long KUsrContext::InitFromDb(KUtlRecord& results, int copy) {
  if (results.GetRows() < 1 || results.GetColumns() < 1 || results.GetColCellType(0) != UTL_CELL_RECORD)
    throw new KErr(KERR_VALIDATE_USER, kInitMethod);
  if (m_lLoginKind < USR_KIND_WEB_CONTACT_ONLY || m_lLoginKind > USR_KIND_EMPLOYEE)
    throw new KErr(KERR_VALIDATE_USER, kInitMethod);
  if (copy) m_results.FromUtlRecord(&results, 0);
  ClearRecords();
  std::vector<Slot> plan = statement_plan(m_lLoginKind, !m_strAssociate.IsEmpty(), m_bPageClass);
  for (size_t row = 0; row < plan.size() && long(row) < m_results.GetRows(); ++row) {
    KUtlRecord* rs = m_results.GetRecordPtr(long(row), 0);
    switch (plan[row]) {
      case Slot::Employee: m_recEmployee.FromUtlRecord(rs, 0); break;
      case Slot::Contact: m_recContact.FromUtlRecord(rs, 0); break;
      case Slot::ContactOnly: m_recContactOnly.FromUtlRecord(rs, 0); break;
      case Slot::PageClass: m_recPageClass.FromUtlRecord(rs, 0); break;
      case Slot::UserConfig: m_recConfig.FromUtlRecord(rs, 0); break;
      case Slot::GlobalConfig:
        if (m_recConfig.GetRows() == 0) m_recConfig.FromUtlRecord(rs, 0);
        else m_recConfig.Append(*rs);
        break;
    }
  }
  return 0;
}

char* KUsrContext::Serialize() {
  KUtlRecord image;
  image.SetRecordName(kImageName);
  image.SetColType(kColKind, UTL_CELL_LONG, "LoginKind", UTL_DB_LONG);
  image.SetColType(kColUserId, UTL_CELL_LONG, "UserId", UTL_DB_LONG);
  image.SetColType(kColWebUserId, UTL_CELL_LONG, "WebUserId", UTL_DB_LONG);
  image.SetColType(kColLoginName, UTL_CELL_STRING, "LoginName", UTL_DB_VARSTR);
  image.SetColType(kColLogin2, UTL_CELL_STRING, "Login2", UTL_DB_VARSTR);
  image.SetColType(kColAssociate, UTL_CELL_STRING, "Associate", UTL_DB_VARSTR);
  image.SetColType(kColPageClass, UTL_CELL_LONG, "PageClass", UTL_DB_LONG);
  image.SetColType(kColResults, UTL_CELL_RECORD, "Results", UTL_DB_RECORD);
  image.SetLongVal(0, kColKind, m_lLoginKind);
  image.SetLongVal(0, kColUserId, m_lUserId);
  image.SetLongVal(0, kColWebUserId, m_lWebUserId);
  image.SetString(0, kColLoginName, m_strLoginName);
  image.SetString(0, kColLogin2, m_strLogin2);
  image.SetString(0, kColAssociate, m_strAssociate);
  image.SetLongVal(0, kColPageClass, m_bPageClass);
  image.SetRecord(0, kColResults, m_results, 0);
  return image.Serialize();
}

void KUsrContext::DeSerialize(const char* image) {
  if (!image) throw new KErr(KERR_ILLEGAL_ARGUMENT, kImageMethod, "image");
  KUtlRecord rec;
  rec.Deserialize(const_cast<char*>(image));
  if (rec.GetRows() < 1 || rec.GetColumns() < kImageColumns || rec.GetColCellType(kColResults) != UTL_CELL_RECORD)
    throw new KErr(KERR_ILLEGAL_ARGUMENT, kImageMethod, "image");
  auto text = [&](long col) {
    const char* s = rec.GetString(0, col);
    return KZString(s ? s : "");
  };
  m_lLoginKind = rec.GetLongVal(0, kColKind);
  m_lUserId = rec.GetLongVal(0, kColUserId);
  m_lWebUserId = rec.GetLongVal(0, kColWebUserId);
  m_strLoginName = text(kColLoginName);
  m_strLogin2 = text(kColLogin2);
  m_strAssociate = text(kColAssociate);
  m_bPageClass = int(rec.GetLongVal(0, kColPageClass));
  // The image does not carry the flag: a rebuilt context matches login
  // names as they are.
  m_bCaseInsensitive = 0;
  m_results.FromUtlRecord(rec.GetRecordPtr(0, kColResults), 0);
  ClearRecords();
  // A context that was never loaded comes back unloaded.
  if (m_results.GetRows() > 0) InitFromDb(m_results, 0);
}

} // namespace KCLASSIC
