// KUsrContext: construction, the login filter and the statements.
#include "bo/bo_usr.h"

#include "bo/bo_num.h"
#include "bo/bo_usr_sql.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr const char* kFindMethod = "KUsrContext::GetFindUserQuery";
constexpr const char* kInitMethod = "KUsrContext::GetInitSelectStmt";
// The filter's text stops here, leaving room for the closing quote and NUL.
constexpr int kFilterTextEnd = 124;

bool valid_kind(long kind) { return kind >= USR_KIND_WEB_CONTACT_ONLY && kind <= USR_KIND_EMPLOYEE; }
bool associate_is_contact(long kind) { return kind == USR_KIND_WEB_EMPLOYEE_USER || kind == USR_KIND_EMPLOYEE; }

const char* login_format(long kind) {
  switch (kind) {
    case USR_KIND_WEB_CONTACT_ONLY: return WEB_CONTACT_ONLY_LOGIN_SELECT_FORMAT;
    case USR_KIND_WEB_CONTACT_USER: return WEB_USER_CONTACT_LOGIN_SELECT_FORMAT;
    case USR_KIND_WEB_EMPLOYEE_USER: return WEB_USER_EMPLOYEE_LOGIN_SELECT_FORMAT;
    case USR_KIND_CONTACT: return CONTACT_LOGIN_SELECT_FORMAT;
    default: return EMPLOYEE_LOGIN_SELECT_FORMAT;
  }
}

// Login columns each kind reads.
long login_columns(long kind) {
  return kind == USR_KIND_CONTACT || kind == USR_KIND_EMPLOYEE ? 1 : 3;
}

KZString text_of(const char* format, const char* text) {
  KZString s;
  s.Format(format, text);
  return s;
}

KZString stmt_of(const char* format, long objid) {
  KZString s;
  s.Format(format, int(objid));
  return s;
}

// The statements that load a user: its employee context, page class (when
// asked for) and configuration items.
void add_user_block(KStringList& list, long id, int pageClass) {
  list.AddTail(stmt_of(EMPLOYEE_CONTEXT_FORMAT, id));
  if (pageClass) list.AddTail(stmt_of(PAGECLASS_CONTEXT_FORMAT, id));
  list.AddTail(stmt_of(USER_CONFIG_ITEM_FORMAT, id));
  list.AddTail(KZString(GLOBAL_CONFIG_ITEM_FORMAT));
}

// The first row's column of a result set.
long cell(KUtlRecord& rs, long col) { return rs.GetLongVal(0, col); }

} // namespace

KUsrContext::KUsrContext(const char* loginName, const char* login2, int caseInsensitive, long kind,
                         const char* associate, int pageClass)
    : m_lLoginKind(kind),
      m_strLoginName(loginName),
      m_strLogin2(login2),
      m_strAssociate(associate),
      m_bCaseInsensitive(caseInsensitive),
      m_bPageClass(pageClass) {
  BuildMap();
}

KUsrContext::KUsrContext(char* image) {
  DeSerialize(image);
  BuildMap();
}

KUsrContext::~KUsrContext() = default;

int KUsrContext::IsEmployeeUser() const {
  return m_lLoginKind == USR_KIND_WEB_EMPLOYEE_USER || m_lLoginKind == USR_KIND_EMPLOYEE;
}

int KUsrContext::IsContactUser() const {
  return m_lLoginKind == USR_KIND_WEB_CONTACT_USER || m_lLoginKind == USR_KIND_CONTACT;
}

KZString& KUsrContext::GetUserId(KZString& out) const {
  if (m_lUserId) out.Format("%ld", m_lUserId);
  else out.Empty();
  return out;
}

KZString& KUsrContext::GetWebUserId(KZString& out) const {
  if (m_lWebUserId) out.Format("%ld", m_lWebUserId);
  else out.Empty();
  return out;
}

const char* KUsrContext::MakeFilter(const char* value) {
  KZString text(value);
  if (m_bCaseInsensitive) text.MakeUpper();
  int w = 0;
  for (const char* p = m_bCaseInsensitive ? "S_LOGIN_NAME='" : "login_name='"; *p;) m_szFilter[w++] = *p++;
  for (const char* p = text; *p; ++p) {
    int need = *p == '\'' ? 2 : 1;
    if (w + need > kFilterTextEnd) {
      m_szFilter[0] = '\0';
      throw new KErr(KERR_ILLEGAL_ARGUMENT, kFindMethod, "Login name too long for its filter");
    }
    if (*p == '\'') m_szFilter[w++] = '\'';
    m_szFilter[w++] = *p;
  }
  m_szFilter[w++] = '\'';
  m_szFilter[w] = '\0';
  return m_szFilter;
}

void KUsrContext::GetFindUserQuery(long kind, KStringList& list) {
  list.RemoveAll();
  if (!valid_kind(kind)) throw new KErr(KERR_VALIDATE_USER, kFindMethod);
  bool withAssociate = !m_strAssociate.IsEmpty();
  // An objid goes into the SQL unquoted: only a whole number passes.
  if (withAssociate && associate_is_contact(kind) && !bo_text_is_number(m_strAssociate, true))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, kFindMethod, m_strAssociate);
  KZString login = text_of(login_format(kind), MakeFilter(m_strLoginName));
  KZString associate;
  if (withAssociate) {
    associate = associate_is_contact(kind) ? text_of(CONTACT_ONLY_ASSOC_SELECT_FORMAT, m_strAssociate)
                                           : text_of(EMPLOYEE_ASSOC_SELECT_FORMAT, MakeFilter(m_strAssociate));
  }
  list.AddTail(login);
  if (withAssociate) list.AddTail(associate);
}

void KUsrContext::GetInitSelectStmt(long kind, KUtlRecord& loginResults, KStringList& list) {
  list.RemoveAll();
  if (!valid_kind(kind)) {
    m_lUserId = m_lWebUserId = 0;
    throw new KErr(KERR_VALIDATE_USER, kInitMethod);
  }
  if (loginResults.GetRows() < 1 || loginResults.GetColumns() < 1 ||
      loginResults.GetColCellType(0) != UTL_CELL_RECORD)
    throw new KErr(KERR_VALIDATE_USER, kInitMethod);
  KUtlRecord& login = *loginResults.GetRecordPtr(0, 0);
  if (login.GetRows() < 1 || login.GetColumns() < login_columns(kind)) throw new KErr(KERR_VALIDATE_USER, kInitMethod);
  KUtlRecord* assoc = nullptr;
  if (loginResults.GetRows() > 1 && !m_strAssociate.IsEmpty()) {
    assoc = loginResults.GetRecordPtr(1, 0);
    if (assoc->GetRows() < 1 || assoc->GetColumns() < 1)
      throw new KErr(KERR_ASSOCIATE_UNKNOWN, kInitMethod, m_strAssociate);
  }
  switch (kind) {
    case USR_KIND_WEB_CONTACT_ONLY:
      m_lWebUserId = cell(login, 0);
      m_lUserId = cell(login, 1);
      list.AddTail(stmt_of(CONTACT_ONLY_CONTEXT_FORMAT, cell(login, 2)));
      if (assoc) {
        m_lUserId = cell(*assoc, 0);
        add_user_block(list, m_lUserId, m_bPageClass);
      }
      break;
    case USR_KIND_WEB_CONTACT_USER:
      m_lWebUserId = cell(login, 0);
      m_lUserId = cell(login, 1);
      list.AddTail(stmt_of(CONTACT_CONTEXT_FORMAT, m_lUserId));
      if (assoc) add_user_block(list, cell(*assoc, 0), m_bPageClass);
      break;
    case USR_KIND_WEB_EMPLOYEE_USER:
      m_lWebUserId = cell(login, 0);
      m_lUserId = cell(login, 1);
      if (assoc && cell(login, 2) != 0) throw new KErr(KERR_USER_AND_CONTACT, kInitMethod);
      add_user_block(list, m_lUserId, m_bPageClass);
      list.AddTail(stmt_of(CONTACT_ONLY_CONTEXT_FORMAT, assoc ? cell(*assoc, 0) : cell(login, 2)));
      break;
    case USR_KIND_CONTACT:
      m_lWebUserId = 0;
      m_lUserId = cell(login, 0);
      list.AddTail(stmt_of(CONTACT_CONTEXT_FORMAT, m_lUserId));
      if (m_bPageClass) list.AddTail(stmt_of(PAGECLASS_CONTEXT_FORMAT, m_lUserId));
      list.AddTail(stmt_of(USER_CONFIG_ITEM_FORMAT, m_lUserId));
      list.AddTail(KZString(GLOBAL_CONFIG_ITEM_FORMAT));
      if (assoc) list.AddTail(stmt_of(EMPLOYEE_CONTEXT_FORMAT, cell(*assoc, 0)));
      break;
    default:
      m_lWebUserId = 0;
      m_lUserId = cell(login, 0);
      add_user_block(list, m_lUserId, m_bPageClass);
      if (assoc) list.AddTail(stmt_of(CONTACT_ONLY_CONTEXT_FORMAT, cell(*assoc, 0)));
      break;
  }
}

} // namespace KCLASSIC
