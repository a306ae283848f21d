// The statements of the user context: the login look-ups (a filter or a
// text for %s) and the context statements (an objid for %d). Their gaps,
// tabs included, are exact.
#pragma once

namespace KCLASSIC {

inline constexpr const char* EMPLOYEE_LOGIN_SELECT_FORMAT =
    "SELECT table_user.objid, table_employee.objid, table_user.password, table_user.status FROM  "
    " table_user, table_employee WHERE  %s  AND    table_user.objid = table_employee.employee2user";
inline constexpr const char* EMPLOYEE_ASSOC_SELECT_FORMAT =
    "SELECT table_user.objid, table_employee.objid, table_user.status FROM   table_user,"
    " table_employee WHERE  %s AND    table_user.objid = table_employee.employee2user";
inline constexpr const char* CONTACT_LOGIN_SELECT_FORMAT =
    "SELECT table_user.objid, table_contact.objid, table_user.password, table_user.status,"
    " table_contact.status  FROM   table_user, table_contact WHERE  %s AND    table_user.objid ="
    " table_contact.caller2user";
inline constexpr const char* WEB_USER_EMPLOYEE_LOGIN_SELECT_FORMAT =
    "SELECT table_web_user.objid, table_web_user.web_user2user, table_web_user.web_user2contact,"
    " table_web_user.password,table_web_user.status FROM   table_web_user, table_employee WHERE  %s"
    "  AND    table_employee.employee2user = table_web_user.web_user2user";
inline constexpr const char* WEB_USER_CONTACT_LOGIN_SELECT_FORMAT =
    "SELECT table_web_user.objid, table_web_user.web_user2user, table_web_user.web_user2contact,"
    " table_web_user.password, table_web_user.status, table_contact.status  FROM   table_web_user,"
    " table_contact WHERE  %s AND    table_contact.caller2user = table_web_user.web_user2user";
inline constexpr const char* WEB_CONTACT_ONLY_LOGIN_SELECT_FORMAT =
    "SELECT table_web_user.objid, table_web_user.web_user2user, table_web_user.web_user2contact,"
    " table_web_user.password, table_web_user.status, table_contact.status FROM   table_web_user,"
    " table_contact WHERE  %s AND    table_contact.objid = table_web_user.web_user2contact";
inline constexpr const char* CONTACT_ONLY_ASSOC_SELECT_FORMAT =
    "SELECT table_contact.objid FROM   table_contact WHERE  table_contact.objid = %s";
inline constexpr const char* EMPLOYEE_CONTEXT_FORMAT =
    "SELECT table_user.objid, table_user.login_name, table_user.password, table_user.locale,"
    " table_user.agent_id, table_user.status, table_wipbin.objid, table_wipbin.title,"
    " table_privclass.objid, table_privclass.class_name, table_employee.objid,"
    " table_employee.first_name, table_employee.last_name, table_employee.e_mail,"
    " table_employee.beeper, table_employee.phone, table_employee.fax, table_site.objid,"
    " table_site.name, table_site.site_id, table_site.type, table_address.objid,"
    " table_address.address, table_address.city, table_address.state, table_address.zipcode,"
    " table_address.address_2, table_address.address2time_zone, table_address.address2country,"
    " table_address.address2state_prov FROM\ttable_user, table_wipbin, table_privclass,"
    " table_employee, table_site, table_address  WHERE\ttable_user.objid = %d AND"
    " table_user.user_access2privclass = table_privclass.objid AND table_user.user_default2wipbin ="
    " table_wipbin.objid AND table_user.objid = table_employee.employee2user AND"
    " table_employee.supp_person_off2site = table_site.objid AND table_address.objid ="
    " table_site.cust_primaddr2address";
inline constexpr const char* CONTACT_CONTEXT_FORMAT =
    "SELECT table_user.objid, table_user.login_name, table_user.password, table_user.locale,"
    " table_user.agent_id, table_user.status, table_wipbin.objid, table_wipbin.title,"
    " table_privclass.objid, table_privclass.class_name, table_contact.objid,"
    " table_contact.first_name, table_contact.last_name, table_contact.e_mail, "
    " table_contact.phone, table_contact.fax_number, table_contact.title, table_site.objid,"
    " table_site.name, table_site.site_id, table_site.type, table_address.objid,"
    " table_address.address, table_address.city, table_address.state, table_address.zipcode,"
    " table_address.address_2, table_address.address2time_zone, table_address.address2country,"
    " table_address.address2state_prov, table_contact.title FROM table_user, table_wipbin,"
    " table_privclass, table_contact, table_site, table_address, table_contact_role WHERE"
    " table_user.objid = %d AND table_user.user_access2privclass = table_privclass.objid AND"
    " table_user.user_default2wipbin = table_wipbin.objid AND table_user.objid ="
    " table_contact.caller2user AND table_contact.objid = table_contact_role.contact_role2contact"
    " AND table_contact_role.contact_role2site = table_site.objid AND"
    " table_contact_role.primary_site = 1 AND table_site.cust_primaddr2address = table_address.objid";
inline constexpr const char* CONTACT_ONLY_CONTEXT_FORMAT =
    "SELECT table_contact.objid, table_contact.first_name, table_contact.last_name,"
    " table_contact.e_mail,  table_contact.phone, table_contact.fax_number, table_contact.title,"
    " table_site.objid, table_site.name, table_site.site_id, table_site.type, table_address.objid,"
    " table_address.address, table_address.city, table_address.state, table_address.zipcode,"
    " table_address.address_2, table_address.address2time_zone, table_address.address2country,"
    " table_address.address2state_prov, table_contact.title FROM table_contact, table_site,"
    " table_address, table_contact_role WHERE table_contact.objid = %d AND table_contact.objid ="
    " table_contact_role.contact_role2contact AND table_contact_role.contact_role2site ="
    " table_site.objid AND table_contact_role.primary_site = 1 AND table_site.cust_primaddr2address"
    " = table_address.objid";
inline constexpr const char* PAGECLASS_CONTEXT_FORMAT =
    "SELECT table_page_class.objid, table_page_class.name FROM table_user, table_page_class WHERE"
    " table_user.objid = %d AND table_user.user2page_class = table_page_class.objid ";
inline constexpr const char* USER_CONFIG_ITEM_FORMAT =
    "SELECT table_config_itm.objid, table_config_itm.last_mod_time, table_config_itm.name,"
    " table_config_itm.value_type, table_config_itm.i_value, table_config_itm.f_value,"
    " table_config_itm.str_value, table_config_itm.scope, table_config_itm.description"
    " FROM\ttable_config_itm, table_user, mtm_user50_config_itm0 WHERE  table_user.objid = %d"
    " AND\tmtm_user50_config_itm0.user_prefs2config_itm = table_user.objid"
    " AND\tmtm_user50_config_itm0.config_itm2user = table_config_itm.objid";
inline constexpr const char* GLOBAL_CONFIG_ITEM_FORMAT =
    "SELECT table_config_itm.objid, table_config_itm.last_mod_time, table_config_itm.name,"
    " table_config_itm.value_type, table_config_itm.i_value, table_config_itm.f_value,"
    " table_config_itm.str_value, table_config_itm.scope, table_config_itm.description"
    " FROM\ttable_config_itm WHERE  table_config_itm.scope <> 1 and table_config_itm.scope <> 4";

} // namespace KCLASSIC
