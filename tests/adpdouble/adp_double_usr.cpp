// The adapter's login calls, answering through the double.
#include <string>

#include "adapter/adp_usr.h"
#include "adpdouble/adp_double.h"

using adp_double::record;

namespace {
std::string num(long v) { return std::to_string(v); }
std::string txt(const char* t) { return t ? t : "null"; }
}  // namespace

long adp_usr_create(KAdpConnId*, const char* login, const char* password, long a, long privilege, char* out) {
  if (out) *out = 0;
  return record("adp_usr_create", {txt(login), txt(password), num(a), num(privilege)});
}
long adp_usr_login_exists(KAdpConnId*, const char* login, long a, char* exists) {
  if (exists) *exists = 0;
  return record("adp_usr_login_exists", {txt(login), num(a)}, {exists});
}
long adp_usr_login_delete(KAdpConnId*, const char* login, long a) {
  return record("adp_usr_login_delete", {txt(login), num(a)});
}
long adp_usr_groups_create(KAdpConnId*, long x) { return record("adp_usr_groups_create", {num(x)}); }
long adp_usr_change_password(KAdpConnId*, const char* account, const char* old_password, const char* new_password) {
  return record("adp_usr_change_password", {txt(account), txt(old_password), txt(new_password)});
}
