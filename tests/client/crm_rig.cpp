#include "client/crm_rig.h"

#include <cstring>

#include "adapter/adp_sch_load.h"
#include "client/oab/oab_glb.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_sec.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kText = 516;
constexpr long kLong = 512;
constexpr long kOTM = 1;
constexpr long kMTO = 2;
constexpr long kMTM = 5;

adp_store::dict_field text(const char* name, long type, long size = 80) {
  return {name, kText, 3, size, -1, -1, 0x1, -1, 0, type, ""};
}
constexpr long kGenObjid = 3;
adp_store::dict_field number(const char* name, long type) {
  return {name, kLong, 0, 0, -1, -1, 0x11, std::strcmp(name, "objid") == 0 ? kGenObjid : -1, 0, type, ""};
}
adp_store::dict_rel rel(const char* name, long kind, const char* target, const char* inverse, long type) {
  return {name, kind, target, -1, 0, inverse, 0, "", "", 0, type, ""};
}

constexpr long kDate = 609;
adp_store::dict_field date(const char* name, long type, long gen = -1) {
  return {name, kDate, 9, 0, -1, -1, 0x1, gen, 0, type, ""};
}
adp_store::dict_field generic_number(const char* name, long type, long gen) {
  return {name, kLong, 0, 0, -1, -1, 0x11, gen, 0, type, ""};
}
constexpr long kGenDefault = 0x16;
constexpr long kGenDlStart = 0x1d;
constexpr long kGenDlEnd = 0x1e;
constexpr long kGenTotal = 0x06;

struct type_def {
  long id;
  const char* name;
  std::vector<adp_store::dict_field> fields;
};

std::vector<type_def> types() {
  std::vector<adp_store::dict_field> user{number("objid", S_USER), text("login_name", S_USER)};
  for (long i = 2; i < 27; ++i) user.push_back(number(("f" + std::to_string(i)).c_str(), S_USER));
  user.push_back(text("alt_login", S_USER));
  return {
      {S_USER, "user", user},
      {S_CLASS, "privclass", {number("objid", S_CLASS), text("class_name", S_CLASS)}},
      {S_RESTRICTION,
       "restriction",
       {number("objid", S_RESTRICTION), number("obj_type", S_RESTRICTION), number("start_obj", S_RESTRICTION),
        text("path", S_RESTRICTION), text("prefix", S_RESTRICTION), text("value_path", S_RESTRICTION),
        text("suffix", S_RESTRICTION), text("opr_name", S_RESTRICTION), number("pad", S_RESTRICTION),
        number("is_cond", S_RESTRICTION)}},
      {S_EMPLOYEE, "employee", {number("objid", S_EMPLOYEE), text("name", S_EMPLOYEE)}},
      {S_CONTACT, "contact", {number("objid", S_CONTACT), text("first_name", S_CONTACT)}},
      {S_ROLE, "contact_role", {number("objid", S_ROLE), text("role_name", S_ROLE), number("primary_site", S_ROLE)}},
      {S_SITE,
       "site",
       {number("objid", S_SITE), text("site_id", S_SITE), text("name", S_SITE), number("type", S_SITE),
        number("site_type", S_SITE), number("status", S_SITE), text("region", S_SITE),
        generic_number("is_default", S_SITE, kGenDefault)}},
      {S_WIPBIN, "wipbin", {number("objid", S_WIPBIN), text("title", S_WIPBIN)}},
      {S_ADDRESS, "address", {number("objid", S_ADDRESS), text("address", S_ADDRESS)}},
      {S_ZONE,
       "time_zone",
       {number("objid", S_ZONE), text("name", S_ZONE), number("f2", S_ZONE), number("gmt_offset", S_ZONE)}},
      {S_DAYLIGHT,
       "daylight_hr",
       {number("objid", S_DAYLIGHT), date("start_time", S_DAYLIGHT, kGenDlStart),
        date("end_time", S_DAYLIGHT, kGenDlEnd)}},
      {S_CFG,
       "config_itm",
       {number("objid", S_CFG), date("time_stamp", S_CFG), text("name", S_CFG), number("refresh", S_CFG),
        number("i_value", S_CFG), text("str_value", S_CFG), text("value", S_CFG), number("value_type", S_CFG)}},
      {S_TERRITORY, "territory", {number("objid", S_TERRITORY), text("name", S_TERRITORY)}},
      {S_QRY_COND,
       "qry_cond",
       {number("objid", S_QRY_COND), text("path", S_QRY_COND), number("f2", S_QRY_COND),
        number("operator", S_QRY_COND), number("f4", S_QRY_COND), text("value", S_QRY_COND)}},
      {S_QRY_SORT,
       "qry_sort",
       {number("objid", S_QRY_SORT), number("f1", S_QRY_SORT), number("f2", S_QRY_SORT), text("path", S_QRY_SORT)}},
      {S_PWR,
       "pwr_query",
       {number("objid", S_PWR), text("title", S_PWR), number("f2", S_PWR), number("f3", S_PWR), number("f4", S_PWR),
        text("proc", S_PWR), text("sql", S_PWR, 2000)}},
      {S_PAD, "pad", {number("objid", S_PAD)}},
      {S_CAL_HDR, "cal_hdr", {number("objid", S_CAL_HDR)}},
      {S_RULE,
       "com_tmplte",
       {number("objid", S_RULE), text("title", S_RULE), number("f2", S_RULE), number("flags", S_RULE),
        text("short_text", S_RULE, 80), text("message", S_RULE, 2000), text("f6", S_RULE), number("f7", S_RULE),
        number("kind", S_RULE), number("f9", S_RULE), number("f10", S_RULE), number("period", S_RULE),
        number("repeat", S_RULE), number("code", S_RULE)}},
      {S_BOMB,
       "time_bomb",
       {number("objid", S_BOMB), number("title", S_BOMB), date("escalate_time", S_BOMB), date("end_time", S_BOMB),
        number("focus_lowid", S_BOMB), number("focus_type", S_BOMB), number("f6", S_BOMB), number("second_lowid", S_BOMB),
        number("flags", S_BOMB)}},
      {S_RULE_COND,
       "com_cond",
       {number("objid", S_RULE_COND), number("kind", S_RULE_COND), number("operator", S_RULE_COND),
        text("property", S_RULE_COND), number("f4", S_RULE_COND), text("value", S_RULE_COND),
        number("value_type", S_RULE_COND)}},
      {S_PROP,
       "prop_name",
       {number("objid", S_PROP), text("prop_name", S_PROP), number("obj_type", S_PROP), text("path_name", S_PROP),
        number("kind", S_PROP), number("val_type", S_PROP), number("is_rel", S_PROP), text("def_val", S_PROP)}},
      {S_ACT_ENTRY, "act_entry", {number("objid", S_ACT_ENTRY), number("act_code", S_ACT_ENTRY)}},
      {S_CALENDAR, "calendar", {number("objid", S_CALENDAR), date("effective", S_CALENDAR, kGenDlStart)}},
      {S_WORK_WEEK, "work_week", {number("objid", S_WORK_WEEK), generic_number("total", S_WORK_WEEK, kGenTotal)}},
      {S_WORK_HR,
       "work_hr",
       {number("objid", S_WORK_HR), generic_number("start", S_WORK_HR, kGenDlStart),
        generic_number("end", S_WORK_HR, kGenDlEnd)}},
      {S_SCHEDULE, "schedule", {number("objid", S_SCHEDULE)}},
      {S_APPT,
       "appointment",
       {number("objid", S_APPT), date("start_time", S_APPT, kGenDlStart), date("end_time", S_APPT, kGenDlEnd)}},
      {S_SCHEME,
       "num_scheme",
       {number("objid", S_SCHEME), text("name", S_SCHEME), text("value", S_SCHEME), number("f3", S_SCHEME),
        number("f4", S_SCHEME), number("f5", S_SCHEME), number("width", S_SCHEME), number("zero_fill", S_SCHEME),
        number("next_value", S_SCHEME)}},
  };
}

// A type's relations at their positions; the gaps get pad relations.
void place(std::vector<adp_store::dict_rel>* rels, const char* type_name, long type,
           const std::vector<std::pair<long, adp_store::dict_rel>>& at) {
  long next = 0;
  for (const auto& [pos, r] : at) {
    for (; next < pos; ++next) {
      std::string pad = std::string(type_name) + "_pad" + std::to_string(next);
      std::string inverse = "pad2" + pad;
      rels->push_back(rel(pad.c_str(), kMTM, "pad", inverse.c_str(), type));
      rels->push_back(rel(inverse.c_str(), kMTM, type_name, pad.c_str(), S_PAD));
    }
    rels->push_back(r);
    ++next;
  }
}

std::vector<adp_store::dict_rel> relations() {
  std::vector<adp_store::dict_rel> r;
  place(&r, "user", S_USER,
        {{0, rel("user2territory", kMTM, "territory", "territory2user", S_USER)},
         {3, rel("user2privclass", kMTO, "privclass", "privclass2user", S_USER)},
         {17, rel("user2employee", kMTO, "employee", "employee2user", S_USER)},
         {18, rel("user2contact", kMTO, "contact", "contact2user", S_USER)},
         {22, rel("user2wipbin", kMTO, "wipbin", "wipbin2user", S_USER)},
         {50, rel("user2config", kOTM, "config_itm", "config2user", S_USER)}});
  place(&r, "privclass", S_CLASS,
        {{0, rel("privclass2user", kOTM, "user", "user2privclass", S_CLASS)},
         {5, rel("privclass2restriction", kOTM, "restriction", "restriction2privclass", S_CLASS)}});
  place(&r, "restriction", S_RESTRICTION,
        {{0, rel("restriction2privclass", kMTO, "privclass", "privclass2restriction", S_RESTRICTION)}});
  place(&r, "employee", S_EMPLOYEE,
        {{10, rel("employee2site", kMTO, "site", "site2employee", S_EMPLOYEE)},
         {11, rel("employee2user", kOTM, "user", "user2employee", S_EMPLOYEE)},
         {18, rel("employee2schedule", kMTO, "schedule", "schedule2employee", S_EMPLOYEE)},
         {25, rel("employee2cal_hdr", kMTO, "cal_hdr", "hdr2employee", S_EMPLOYEE)}});
  place(&r, "cal_hdr", S_CAL_HDR,
        {{0, rel("hdr2calendar", kOTM, "calendar", "calendar2hdr", S_CAL_HDR)},
         {1, rel("hdr2site", kOTM, "site", "site2cal_hdr", S_CAL_HDR)},
         {2, rel("hdr2employee", kOTM, "employee", "employee2cal_hdr", S_CAL_HDR)}});
  place(&r, "calendar", S_CALENDAR,
        {{0, rel("calendar2week", kMTO, "work_week", "week2calendar", S_CALENDAR)},
         {1, rel("calendar2hdr", kMTO, "cal_hdr", "hdr2calendar", S_CALENDAR)}});
  place(&r, "work_week", S_WORK_WEEK,
        {{0, rel("week2hours", kOTM, "work_hr", "hours2week", S_WORK_WEEK)},
         {1, rel("week2calendar", kOTM, "calendar", "calendar2week", S_WORK_WEEK)}});
  place(&r, "work_hr", S_WORK_HR, {{0, rel("hours2week", kMTO, "work_week", "week2hours", S_WORK_HR)}});
  place(&r, "schedule", S_SCHEDULE,
        {{0, rel("schedule2appt", kOTM, "appointment", "appt2schedule", S_SCHEDULE)},
         {1, rel("schedule2employee", kOTM, "employee", "employee2schedule", S_SCHEDULE)}});
  place(&r, "appointment", S_APPT, {{0, rel("appt2schedule", kMTO, "schedule", "schedule2appt", S_APPT)}});
  place(&r, "contact", S_CONTACT,
        {{0, rel("contact2user", kOTM, "user", "user2contact", S_CONTACT)},
         {5, rel("contact2role", kOTM, "contact_role", "contact_role2contact", S_CONTACT)}});
  place(&r, "contact_role", S_ROLE,
        {{0, rel("contact_role2site", kMTO, "site", "site2contact_role", S_ROLE)},
         {1, rel("contact_role2contact", kMTO, "contact", "contact2role", S_ROLE)}});
  place(&r, "site", S_SITE,
        {{0, rel("site2employee", kOTM, "employee", "employee2site", S_SITE)},
         {1, rel("site2contact_role", kOTM, "contact_role", "contact_role2site", S_SITE)},
         {6, rel("site2address", kMTO, "address", "address2site", S_SITE)},
         {20, rel("site2cal_hdr", kMTO, "cal_hdr", "hdr2site", S_SITE)},
         {21, rel("site2act_entry", kOTM, "act_entry", "act_entry2site", S_SITE)}});
  place(&r, "wipbin", S_WIPBIN, {{0, rel("wipbin2user", kOTM, "user", "user2wipbin", S_WIPBIN)}});
  place(&r, "address", S_ADDRESS,
        {{3, rel("address2zone", kMTO, "time_zone", "zone2address", S_ADDRESS)},
         {4, rel("address2site", kOTM, "site", "site2address", S_ADDRESS)}});
  place(&r, "time_zone", S_ZONE,
        {{2, rel("zone2daylight", kOTM, "daylight_hr", "daylight2zone", S_ZONE)},
         {3, rel("zone2address", kOTM, "address", "address2zone", S_ZONE)}});
  place(&r, "daylight_hr", S_DAYLIGHT, {{0, rel("daylight2zone", kMTO, "time_zone", "zone2daylight", S_DAYLIGHT)}});
  place(&r, "com_tmplte", S_RULE,
        {{0, rel("com_tmplte2cond", kOTM, "com_cond", "parentrule2com_tmplte", S_RULE)},
         {1, rel("com_tmplte2escal_act", kOTM, "com_tmplte", "escal_act2com_tmplte", S_RULE)},
         {2, rel("escal_act2com_tmplte", kMTO, "com_tmplte", "com_tmplte2escal_act", S_RULE)},
         {3, rel("com_tmplte2time_bomb", kOTM, "time_bomb", "time_bomb2com_tmplte", S_RULE)}});
  place(&r, "time_bomb", S_BOMB,
        {{0, rel("time_bomb2com_tmplte", kMTO, "com_tmplte", "com_tmplte2time_bomb", S_BOMB)},
         {1, rel("time_bomb2act_entry", kMTO, "act_entry", "act_entry2time_bomb", S_BOMB)}});
  place(&r, "act_entry", S_ACT_ENTRY,
        {{0, rel("act_entry2time_bomb", kOTM, "time_bomb", "time_bomb2act_entry", S_ACT_ENTRY)},
         {1, rel("act_entry2site", kMTO, "site", "site2act_entry", S_ACT_ENTRY)}});
  place(&r, "com_cond", S_RULE_COND,
        {{0, rel("parentrule2com_tmplte", kMTO, "com_tmplte", "com_tmplte2cond", S_RULE_COND)}});
  place(&r, "config_itm", S_CFG, {{0, rel("config2user", kMTO, "user", "user2config", S_CFG)}});
  place(&r, "territory", S_TERRITORY,
        {{0, rel("territory2user", kMTM, "user", "user2territory", S_TERRITORY)}});
  return r;
}

std::string render(const dbs_ty_pwr_list* list) {
  std::string out = std::to_string(list->type_id) + "|" + (list->pattern ? list->pattern : "");
  for (long i = 0; i < list->count; ++i)
    out += "|" + std::string(list->conds[i].field ? list->conds[i].field : "") + " " +
           std::to_string(list->conds[i].op) + " " + (list->conds[i].value ? list->conds[i].value : "");
  return out;
}

}  // namespace

std::string conds_text(const dbs_ty_pwr_list* q) {
  std::string out;
  for (long i = 0; i < q->count; ++i)
    out += std::string(i ? "|" : "") + q->conds[i].field + " " + std::to_string(q->conds[i].op) + " " +
           q->conds[i].value;
  return out;
}

void crm_test::define_dictionary() {
  auto& s = adp_store::st();
  s.types.clear();
  s.fields.clear();
  for (const type_def& t : types()) {
    s.types.push_back({t.id, 2, t.name});
    for (adp_store::dict_field f : t.fields) s.fields.push_back(f);
  }
  s.rels = relations();
}

void crm_test::SetUp() {
  client_test::SetUp();
  oab_db_con_id = con();
  ASSERT_EQ(oab_glb_init(), 0);
  ASSERT_EQ(oab_qry_init(), 0);
  set_secure_flag(true);
}

void crm_test::TearDown() {
  EXPECT_EQ(oab_qry_term(), 0);
  dbs_qry_secure_install(nullptr);
  dbs_pwr_qry_secure_install(nullptr, nullptr);
  oab_glb_init();  // drops the objects the globals hold
  oab_glb_main_term();
  client_test::TearDown();
}

obj_id crm_test::row(long type, long number, const std::vector<sec_field>& fields) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
  EXPECT_EQ(dbs_fld_set_local(o, 0, &number, 1), 0);
  for (const sec_field& f : fields) {
    if (const long* v = std::get_if<long>(&f.value)) {
      EXPECT_EQ(dbs_fld_set_local(o, f.field, v, 1), 0);
    } else if (const clktime* when = std::get_if<clktime>(&f.value)) {
      EXPECT_EQ(dbs_fld_set_local(o, f.field, &when, 1), 0);
    } else {
      const char* t = std::get<std::string>(f.value).c_str();
      EXPECT_EQ(dbs_fld_set_local(o, f.field, &t, 1), 0);
    }
  }
  EXPECT_EQ(adp_mem::insert(o), 0);
  dbs_obj_free_local("row", o);
  return obj_id{type, number, 0};
}

void crm_test::fk(long type, long number, const std::string& rel, long target) {
  adp_mem::set_fk({type, number, 0}, rel, target);
}

void crm_test::restriction(long number, long type, long selector, const std::string& path,
                               const std::string& value_path, const std::string& op, long is_cond,
                               const std::string& prefix, const std::string& suffix) {
  row(S_RESTRICTION, number,
      {{1, type}, {2, selector}, {3, path}, {4, prefix}, {5, value_path}, {6, suffix}, {7, op}, {9, is_cond}});
  fk(S_RESTRICTION, number, "restriction2privclass", 1);
}

void crm_test::seed_session() {
  row(S_USER, 1, {{1, std::string("user1")}});
  row(S_CLASS, 1, {{1, std::string("Field Sales")}});
  fk(S_USER, 1, "user2privclass", 1);
  const char* names[] = {"north", "south", "o'east"};
  const typ_sch_rrec* r = rel_record(S_USER, 0);
  bool user_primary = r->pschema && r->pschema->type_id == S_USER;
  for (long i = 1; i <= 3; ++i) {
    row(S_TERRITORY, i, {{1, std::string(names[i - 1])}});
    adp_mem::link(r, user_primary ? 1 : i, user_primary ? i : 1);
  }
  row(S_CONTACT, 1, {{1, std::string("Cal")}});
  fk(S_USER, 1, "user2contact", 1);
  row(S_SITE, 7, {{1, std::string("S7")}, {2, std::string("Main")}, {6, std::string("north")}});
  row(S_SITE, 8, {{1, std::string("S8")}, {2, std::string("Branch")}, {6, std::string("south")}});
  row(S_ROLE, 1, {{1, std::string("buyer")}, {2, 0L}});
  row(S_ROLE, 2, {{1, std::string("owner")}, {2, 1L}});
  fk(S_ROLE, 1, "contact_role2contact", 1);
  fk(S_ROLE, 1, "contact_role2site", 8);
  fk(S_ROLE, 2, "contact_role2contact", 1);
  fk(S_ROLE, 2, "contact_role2site", 7);
  row(S_EMPLOYEE, 1, {{1, std::string("Eve")}});
  fk(S_EMPLOYEE, 1, "employee2site", 8);
}

void crm_test::set_secure_flag(bool on) {
  long& flags = adp_store::st().current.flags;
  flags = on ? (flags | DBS_HDR_SECURE) : (flags & ~DBS_HDR_SECURE);
}

long crm_test::top_code(std::string* text) {
  long code = 0;
  const char* t = nullptr;
  cmn_alrt_top(nullptr, &code, &t);
  if (text != nullptr) *text = t != nullptr ? t : "";
  return code;
}

void crm_test::render_power_queries() {
  adp_double::hook("adp_pwr_qry_construct", [](const std::vector<void*>& args) -> long {
    std::string text = render(static_cast<const dbs_ty_pwr_list*>(args[0]));
    std::strncpy(static_cast<char*>(args[2]), text.c_str(), 1000);
    return 0;
  });
}
