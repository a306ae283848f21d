// The CRM rig: a small CRM schema in place of the client rig's, with
// users, privilege classes, restrictions, employees, contacts and their
// roles, sites, territories and power-query objects, the application
// services' globals and security installed in the store, and the
// database's security flag on.
//
//   user (20):        objid, login_name (1), alt_login (27); relations
//                     user2territory (0, many to many), user2privclass (3),
//                     user2contact (18)
//   privclass (33):   objid, class_name (1); privclass2restriction (5)
//   restriction (388): the restriction fields (1 type ... 9 condition flag)
//   employee (44):    objid, name (1); employee2site (10),
//                     employee2schedule (18), employee2cal_hdr (25)
//   contact (46):     objid, first_name (1); contact2role (5)
//   contact_role (270): objid, role_name (1), primary_site (2);
//                     contact_role2site (0), contact_role2contact (1)
//   site (52):        objid, site_id (1), name (2), type (3), site_type (4),
//                     status (5), region (6); the view map's view 88
//   territory (60):   objid, name (1)
//   qry_cond (62):    objid, path (1), operator (3), value (5)
//   qry_sort (63):    objid, path (3)
//   pwr_query (203):  objid, title (1), proc (5), sql (6)
//   user relations also user2employee (17), user2wipbin (22, the generic
//   relation -79), user2config (50); site is_default (7, generic 0x16) and
//   site2address (6)
//   wipbin (5):       objid, title (1)
//   address (47):     objid, address (1); address2zone (3)
//   time_zone (126):  objid, name (1), gmt_offset (3); zone2daylight (2)
//   daylight_hr (269): objid, start_time (1, generic 0x1d), end_time (2, 0x1e)
//   num_scheme (123): objid, name (1), value (2, the template), width (6),
//                     zero_fill (7), next_value (8)
//   cal_hdr (258):    objid; hdr2calendar (0); reached from site2cal_hdr
//                     (20) and employee2cal_hdr (25), the generic -98
//   calendar (286):   objid, effective (1, date, generic 0x1d);
//                     calendar2week (0)
//   work_week (257):  objid, total (1, generic 0x06); week2hours (0)
//   work_hr (256):    objid, start (1, generic 0x1d), end (2, 0x1e) in
//                     seconds of the week
//   schedule (259):   objid; schedule2appt (0)
//   appointment (260): objid, start (1, date, 0x1d), end (2, date, 0x1e)
//   com_tmplte (76):  rules and rule actions: objid, title (1), f2, flags (3),
//                     short_text (4, 80), message (5), f6, f7, kind (8), f9,
//                     f10, period (11), repeat (12), code (13);
//                     com_tmplte2cond (0), com_tmplte2escal_act (1, a rule's
//                     actions), escal_act2com_tmplte (2, an action's rule),
//                     com_tmplte2time_bomb (3)
//   com_cond (287):   objid, kind (1), operator (2), property (3), f4,
//                     value (5), value_type (6); parentrule2com_tmplte (0)
//   time_bomb (77):   objid, title (1), escalate_time (2), end_time (3),
//                     focus_lowid (4), focus_type (5), f6, second_lowid (7),
//                     flags (8); time_bomb2com_tmplte (0),
//                     time_bomb2act_entry (1)
//   act_entry (3):    objid, act_code (1); act_entry2time_bomb (0),
//                     act_entry2site (1); reached from site2act_entry (21)
//   config_itm (310): objid, time_stamp (1), name (2), refresh (3),
//                     i_value (4), str_value (5), value (6), value_type (7)
// Unused relation positions are filled with relations to a pad type (99).
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "client/client_fixture.h"
#include "core/clk/clk_time.h"

constexpr long S_USER = 20;
constexpr long S_CLASS = 33;
constexpr long S_RESTRICTION = 388;
constexpr long S_EMPLOYEE = 44;
constexpr long S_CONTACT = 46;
constexpr long S_ROLE = 270;
constexpr long S_SITE = 52;
constexpr long S_TERRITORY = 60;
constexpr long S_QRY_COND = 62;
constexpr long S_QRY_SORT = 63;
constexpr long S_PWR = 203;
constexpr long S_PAD = 99;
constexpr long S_WIPBIN = 5;
constexpr long S_ADDRESS = 47;
constexpr long S_ZONE = 126;
constexpr long S_DAYLIGHT = 269;
constexpr long S_CFG = 310;
constexpr long S_SCHEME = 123;
constexpr long S_CAL_HDR = 258;
constexpr long S_RULE = 76;
constexpr long S_PROP = 294;
constexpr long S_BOMB = 77;
constexpr long S_ACT_ENTRY = 3;
constexpr long S_RULE_COND = 287;
constexpr long S_CALENDAR = 286;
constexpr long S_WORK_WEEK = 257;
constexpr long S_WORK_HR = 256;
constexpr long S_SCHEDULE = 259;
constexpr long S_APPT = 260;
constexpr long VIEW_SITE = 88;

constexpr long SITE_NAME = 2;
constexpr long SITE_TYPE = 3;
constexpr long SITE_REGION = 6;

struct sec_field {
  long field;
  std::variant<long, std::string, clktime> value;
};

struct dbs_ty_pwr_list;
// A power-query record's conditions as "path op value|...".
std::string conds_text(const dbs_ty_pwr_list* q);

class crm_test : public client_test {
 protected:
  void define_dictionary() override;
  void SetUp() override;
  void TearDown() override;

  // A stored row with the fields given (texts or longs).
  static obj_id row(long type, long number, const std::vector<sec_field>& fields);
  // A key column of a many-to-one relation (named as the relation).
  static void fk(long type, long number, const std::string& rel, long target);
  // A restriction of privilege class 1.
  static void restriction(long number, long type, long selector, const std::string& path,
                          const std::string& value_path, const std::string& op, long is_cond,
                          const std::string& prefix = "", const std::string& suffix = "");
  // The session as most tests use it: user 1 "user1" of class 1, three
  // territories (north, south, o'east), contact 1 with a primary role at
  // site 7 (north) and another at site 8 (south), employee 1 at site 8.
  static void seed_session();
  static void set_secure_flag(bool on);
  // The top alert code (0 when none) and its text.
  static long top_code(std::string* text = nullptr);
  // The double renders a constructed power query into its SQL text as
  // "type|format|path op value|..." (the text adp_pwr_qry_execute records).
  static void render_power_queries();
};
