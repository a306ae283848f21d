-- The demo CRM database, loaded after tests/data/crm_fixture.sql (its
-- repository tables, header row and locales stay; its sample types give way
-- to the CRM's own). Types the client reads by number: user 20 (with its
-- fields up to the alternate login name, 27, which login reads), employee
-- 44, site 52, time zone 126, daylight 269, configuration item 310, numbering
-- scheme 123; the demo's business objects use contact 45, address 47 and
-- contact role 270, the view contact_site 4001 (contacts with the sites of
-- their roles, searched by RetrieveByContent), the event table
-- orbisan_events 4010 and the archive orbisan_archive 4011.
-- Relations sit at the positions the client asks for by number (user's
-- employee at 17 and relative at 22, site's primary address at 6,
-- address's zone at 3, zone's daylight rules at 2); the relations before
-- them are links of their own. Generic relation ids are all -1.
-- Seeded: the application user "orbisan" (also the database account), his
-- employee, two contacts, the site "S-0001" with a primary and a billing
-- address, the branch "S-0002", and the scheme "Site ID".
-- Statements end with ";" at the end of a line.

delete from adp_sch_info;
delete from adp_sch_rel_info;
delete from adp_view_field_info;
delete from adp_view_join_info;
delete from adp_tbl_name_map;
delete from adp_tbl_oid;

insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(20, 2, 'user', 'An application user', 'Staff', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(44, 2, 'employee', 'An employee', 'Staff', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(45, 2, 'contact', 'A person at a customer site', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(47, 2, 'address', 'A postal address', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(52, 2, 'site', 'A customer site', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(123, 2, 'num_scheme', 'A numbering scheme', 'Admin', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(126, 2, 'time_zone', 'A time zone', 'Admin', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(269, 2, 'daylight_hr', 'A daylight-saving period', 'Admin', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(270, 2, 'contact_role', 'A contact''s role at a site', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(310, 2, 'config_itm', 'A configuration item', 'Admin', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(4001, 4, 'contact_site', 'Contacts with the sites of their roles', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(4010, 2, 'orbisan_events', 'Events waiting for the connector', 'Integration', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(4011, 2, 'orbisan_archive', 'What became of each event', 'Integration', null);

insert into adp_tbl_oid(type_id, obj_num) values(20, 100);
insert into adp_tbl_oid(type_id, obj_num) values(44, 100);
insert into adp_tbl_oid(type_id, obj_num) values(45, 100);
insert into adp_tbl_oid(type_id, obj_num) values(47, 100);
insert into adp_tbl_oid(type_id, obj_num) values(52, 100);
insert into adp_tbl_oid(type_id, obj_num) values(123, 100);
insert into adp_tbl_oid(type_id, obj_num) values(126, 100);
insert into adp_tbl_oid(type_id, obj_num) values(269, 100);
insert into adp_tbl_oid(type_id, obj_num) values(270, 100);
insert into adp_tbl_oid(type_id, obj_num) values(310, 100);
insert into adp_tbl_oid(type_id, obj_num) values(4010, 100);
insert into adp_tbl_oid(type_id, obj_num) values(4011, 100);

-- user
insert into adp_sch_info values(20, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(20, 'login_name', 516, 7, 30, -1, -1, 0, -1, 1, null, 'Login name');
insert into adp_sch_info values(20, 'status', 512, 0, 1, -1, -1, 0, -1, 2, null, null);
-- the fields up to the alternate login name (27), which login reads
insert into adp_sch_info values(20, 'nick_name', 516, 7, 30, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(20, 'first_name', 516, 7, 30, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(20, 'last_name', 516, 7, 30, -1, -1, 0, -1, 5, null, null);
insert into adp_sch_info values(20, 'e_mail', 516, 7, 64, -1, -1, 0, -1, 6, null, null);
insert into adp_sch_info values(20, 'phone', 516, 7, 20, -1, -1, 0, -1, 7, null, null);
insert into adp_sch_info values(20, 'fax', 516, 7, 20, -1, -1, 0, -1, 8, null, null);
insert into adp_sch_info values(20, 'title', 516, 7, 30, -1, -1, 0, -1, 9, null, null);
insert into adp_sch_info values(20, 'dept', 516, 7, 30, -1, -1, 0, -1, 10, null, null);
insert into adp_sch_info values(20, 'office', 516, 7, 30, -1, -1, 0, -1, 11, null, null);
insert into adp_sch_info values(20, 'locale', 512, 0, 1, -1, -1, 0, -1, 12, null, null);
insert into adp_sch_info values(20, 'priv_class', 512, 0, 1, -1, -1, 0, -1, 13, null, null);
insert into adp_sch_info values(20, 'start_date', 609, 9, 1, -1, -1, 0, -1, 14, null, null);
insert into adp_sch_info values(20, 'end_date', 609, 9, 1, -1, -1, 0, -1, 15, null, null);
insert into adp_sch_info values(20, 'last_login', 609, 9, 1, -1, -1, 0, -1, 16, null, null);
insert into adp_sch_info values(20, 'pwd_date', 609, 9, 1, -1, -1, 0, -1, 17, null, null);
insert into adp_sch_info values(20, 'pwd_flags', 512, 0, 1, -1, -1, 0, -1, 18, null, null);
insert into adp_sch_info values(20, 'dev', 512, 0, 1, -1, -1, 0, -1, 19, null, null);
insert into adp_sch_info values(20, 'web_login', 516, 7, 30, -1, -1, 0, -1, 20, null, null);
insert into adp_sch_info values(20, 'ofid', 516, 7, 30, -1, -1, 0, -1, 21, null, null);
insert into adp_sch_info values(20, 'submitter', 516, 7, 30, -1, -1, 0, -1, 22, null, null);
insert into adp_sch_info values(20, 'queue_flags', 512, 0, 1, -1, -1, 0, -1, 23, null, null);
insert into adp_sch_info values(20, 'alert_flags', 512, 0, 1, -1, -1, 0, -1, 24, null, null);
insert into adp_sch_info values(20, 'pager', 516, 7, 20, -1, -1, 0, -1, 25, null, null);
insert into adp_sch_info values(20, 'home_phone', 516, 7, 20, -1, -1, 0, -1, 26, null, null);
insert into adp_sch_info values(20, 'alt_login_name', 516, 7, 30, -1, -1, 0, -1, 27, null,
  'Login name the user acts under');
insert into adp_sch_rel_info values(20, 'user_sup0', 2, 'user', -1, 0, 'user_sub0', null, 0, 'user_sup0', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub0', 1, 'user', -1, 1, 'user_sup0', null, 0, 'user_sub0', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup1', 2, 'user', -1, 2, 'user_sub1', null, 0, 'user_sup1', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub1', 1, 'user', -1, 3, 'user_sup1', null, 0, 'user_sub1', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup2', 2, 'user', -1, 4, 'user_sub2', null, 0, 'user_sup2', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub2', 1, 'user', -1, 5, 'user_sup2', null, 0, 'user_sub2', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup3', 2, 'user', -1, 6, 'user_sub3', null, 0, 'user_sup3', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub3', 1, 'user', -1, 7, 'user_sup3', null, 0, 'user_sub3', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup4', 2, 'user', -1, 8, 'user_sub4', null, 0, 'user_sup4', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub4', 1, 'user', -1, 9, 'user_sup4', null, 0, 'user_sub4', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup5', 2, 'user', -1, 10, 'user_sub5', null, 0, 'user_sup5', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub5', 1, 'user', -1, 11, 'user_sup5', null, 0, 'user_sub5', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup6', 2, 'user', -1, 12, 'user_sub6', null, 0, 'user_sup6', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub6', 1, 'user', -1, 13, 'user_sup6', null, 0, 'user_sub6', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup7', 2, 'user', -1, 14, 'user_sub7', null, 0, 'user_sup7', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub7', 1, 'user', -1, 15, 'user_sup7', null, 0, 'user_sub7', null, null, 0);
insert into adp_sch_rel_info values(20, 'user2caller', 4, 'contact', -1, 16, 'caller2user', null, 0,
  'user2caller', null, null, 0);
insert into adp_sch_rel_info values(20, 'user2employee', 4, 'employee', -1, 17, 'employee2user', null, 0,
  'user2employee', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup8', 2, 'user', -1, 18, 'user_sub8', null, 0, 'user_sup8', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub8', 1, 'user', -1, 19, 'user_sup8', null, 0, 'user_sub8', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup9', 2, 'user', -1, 20, 'user_sub9', null, 0, 'user_sup9', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub9', 1, 'user', -1, 21, 'user_sup9', null, 0, 'user_sub9', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sub10', 1, 'user', -1, 22, 'user_sup10', null, 0, 'user_sub10', null, null, 0);
insert into adp_sch_rel_info values(20, 'user_sup10', 2, 'user', -1, 23, 'user_sub10', null, 0, 'user_sup10', null, null, 0);

-- employee
insert into adp_sch_info values(44, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(44, 'first_name', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(44, 'last_name', 516, 7, 30, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(44, 'e_mail', 516, 7, 64, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_rel_info values(44, 'employee2user', 3, 'user', -1, 0, 'user2employee', null, 0,
  'employee2user', null, null, 0);
insert into adp_sch_rel_info values(44, 'supp_person_off2site', 2, 'site', -1, 1, 'site2employee', null, 0,
  'supp_person_off2site', null, null, 0);

-- contact
insert into adp_sch_info values(45, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(45, 'first_name', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(45, 'last_name', 516, 7, 30, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(45, 'phone', 516, 7, 20, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(45, 'e_mail', 516, 7, 64, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(45, 'status', 512, 0, 1, -1, -1, 0, -1, 5, null, null);
insert into adp_sch_rel_info values(45, 'contact2contact_role', 1, 'contact_role', -1, 0, 'contact_role2contact', null,
  0, 'contact2contact_role', null, null, 0);
insert into adp_sch_rel_info values(45, 'caller2user', 3, 'user', -1, 1, 'user2caller', null, 0,
  'caller2user', null, null, 0);

-- address
insert into adp_sch_info values(47, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(47, 'address', 516, 7, 60, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(47, 'city', 516, 7, 30, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(47, 'zipcode', 516, 7, 10, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_rel_info values(47, 'prim_addr2site', 1, 'site', -1, 0, 'cust_primaddr2address', null, 0,
  'prim_addr2site', null, null, 0);
insert into adp_sch_rel_info values(47, 'bill_addr2site', 1, 'site', -1, 1, 'cust_billaddr2address', null, 0,
  'bill_addr2site', null, null, 0);
insert into adp_sch_rel_info values(47, 'ship_addr2site', 1, 'site', -1, 2, 'cust_shipaddr2address', null, 0,
  'ship_addr2site', null, null, 0);
insert into adp_sch_rel_info values(47, 'address2time_zone', 2, 'time_zone', -1, 3, 'time_zone2address', null, 0,
  'address2time_zone', null, null, 0);

-- site
insert into adp_sch_info values(52, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(52, 'site_id', 516, 7, 16, -1, -1, 0, -1, 1, null, 'Site number');
insert into adp_sch_info values(52, 'name', 516, 7, 60, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(52, 'type', 512, 0, 1, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_rel_info values(52, 'site2contact_role', 1, 'contact_role', -1, 0, 'contact_role2site', null, 0,
  'site2contact_role', null, null, 0);
insert into adp_sch_rel_info values(52, 'cust_billaddr2address', 2, 'address', -1, 1, 'bill_addr2site', null, 0,
  'cust_billaddr2address', null, null, 0);
insert into adp_sch_rel_info values(52, 'cust_shipaddr2address', 2, 'address', -1, 2, 'ship_addr2site', null, 0,
  'cust_shipaddr2address', null, null, 0);
insert into adp_sch_rel_info values(52, 'child_site2site', 1, 'site', -1, 3, 'parent_site2site', null, 0,
  'child_site2site', null, null, 0);
insert into adp_sch_rel_info values(52, 'parent_site2site', 2, 'site', -1, 4, 'child_site2site', null, 0,
  'parent_site2site', null, null, 0);
insert into adp_sch_rel_info values(52, 'site2employee', 1, 'employee', -1, 5, 'supp_person_off2site', null, 0,
  'site2employee', null, null, 0);
insert into adp_sch_rel_info values(52, 'cust_primaddr2address', 2, 'address', -1, 6, 'prim_addr2site', null, 0,
  'cust_primaddr2address', null, null, 0);

-- numbering scheme
insert into adp_sch_info values(123, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(123, 'name', 516, 7, 40, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(123, 'template', 516, 7, 40, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(123, 'description', 516, 7, 80, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(123, 'obj_name', 516, 7, 40, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(123, 'qualifier', 516, 7, 40, -1, -1, 0, -1, 5, null, null);
insert into adp_sch_info values(123, 'fixed_len', 512, 0, 1, -1, -1, 0, -1, 6, null, null);
insert into adp_sch_info values(123, 'zero_fill', 512, 0, 1, -1, -1, 0, -1, 7, null, null);
insert into adp_sch_info values(123, 'next_value', 512, 0, 1, -1, -1, 0, -1, 8, null, null);

-- time zone and its daylight-saving periods
insert into adp_sch_info values(126, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(126, 'name', 516, 7, 20, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(126, 'full_name', 516, 7, 60, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(126, 'gmt_diff', 512, 0, 1, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_rel_info values(126, 'time_zone2address', 1, 'address', -1, 0, 'address2time_zone', null, 0,
  'time_zone2address', null, null, 0);
insert into adp_sch_rel_info values(126, 'prev_rule2daylight_hr', 1, 'daylight_hr', -1, 1, 'daylight_hr2prev_rule', null,
  0, 'prev_rule2daylight_hr', null, null, 0);
insert into adp_sch_rel_info values(126, 'time_zone2daylight_hr', 1, 'daylight_hr', -1, 2, 'daylight_hr2time_zone', null,
  0, 'time_zone2daylight_hr', null, null, 0);
insert into adp_sch_info values(269, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(269, 'start_time', 609, 9, 1, -1, -1, 0, 29, 1, null, null);
insert into adp_sch_info values(269, 'end_time', 609, 9, 1, -1, -1, 0, 30, 2, null, null);
insert into adp_sch_rel_info values(269, 'daylight_hr2prev_rule', 2, 'time_zone', -1, 0, 'prev_rule2daylight_hr', null,
  0, 'daylight_hr2prev_rule', null, null, 0);
insert into adp_sch_rel_info values(269, 'daylight_hr2time_zone', 2, 'time_zone', -1, 1, 'time_zone2daylight_hr', null,
  0, 'daylight_hr2time_zone', null, null, 0);

-- contact role
insert into adp_sch_info values(270, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(270, 'role_name', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(270, 'primary_site', 512, 0, 1, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_rel_info values(270, 'contact_role2contact', 2, 'contact', -1, 0, 'contact2contact_role', null, 0,
  'contact_role2contact', null, null, 0);
insert into adp_sch_rel_info values(270, 'contact_role2site', 2, 'site', -1, 1, 'site2contact_role', null, 0,
  'contact_role2site', null, null, 0);

-- configuration item
insert into adp_sch_info values(310, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(310, 'last_mod_time', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(310, 'name', 516, 7, 64, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(310, 'value_type', 512, 0, 1, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(310, 'i_value', 512, 0, 1, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(310, 'description', 516, 7, 80, -1, -1, 0, -1, 5, null, null);
insert into adp_sch_info values(310, 'str_value', 516, 7, 64, -1, -1, 0, -1, 6, null, null);
insert into adp_sch_info values(310, 'scope', 512, 0, 1, -1, -1, 0, -1, 7, null, null);

-- contacts with their sites, searched by RetrieveByContent
insert into adp_sch_info values(4001, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(4001, 'first_name', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(4001, 'last_name', 516, 7, 30, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(4001, 'site_name', 516, 7, 60, -1, -1, 0, -1, 3, null, null);
insert into adp_view_join_info values(4001, 45, 0, 'c', 'r', 'contact to its roles', 0, 0);
insert into adp_view_join_info values(4001, 270, 1, 'r', 's', 'role to its site', 0, 0);
insert into adp_view_field_info values(4001, 0, 45, 0, 'c', null, 0);
insert into adp_view_field_info values(4001, 1, 45, 1, 'c', null, 0);
insert into adp_view_field_info values(4001, 2, 45, 2, 'c', null, 0);
insert into adp_view_field_info values(4001, 3, 52, 2, 's', null, 0);

-- event table and archive
insert into adp_sch_info values(4010, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(4010, 'object_name', 516, 7, 255, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(4010, 'object_verb', 516, 7, 40, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(4010, 'object_key', 516, 7, 255, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(4010, 'event_time', 609, 9, 1, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(4010, 'event_status', 516, 7, 4, -1, -1, 0, -1, 5, null, null);
insert into adp_sch_info values(4010, 'event_priority', 512, 0, 1, -1, -1, 0, -1, 6, null, null);
insert into adp_sch_info values(4011, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(4011, 'event_id', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(4011, 'object_name', 516, 7, 255, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(4011, 'object_verb', 516, 7, 40, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(4011, 'object_key', 516, 7, 255, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(4011, 'event_status', 516, 7, 20, -1, -1, 0, -1, 5, null, null);

create table table_user(objid number not null, login_name varchar(30) null, status number null,
  nick_name varchar(30) null, first_name varchar(30) null, last_name varchar(30) null, e_mail varchar(64) null,
  phone varchar(20) null, fax varchar(20) null, title varchar(30) null, dept varchar(30) null,
  office varchar(30) null, locale number null, priv_class number null, start_date date null, end_date date null,
  last_login date null, pwd_date date null, pwd_flags number null, dev number null, web_login varchar(30) null,
  ofid varchar(30) null, submitter varchar(30) null, queue_flags number null, alert_flags number null,
  pager varchar(20) null, home_phone varchar(20) null, alt_login_name varchar(30) null,
  user_sup0 number null, user_sup1 number null, user_sup2 number null, user_sup3 number null, user_sup4 number null,
  user_sup5 number null, user_sup6 number null, user_sup7 number null, user_sup8 number null,
  user_sup9 number null, user_sup10 number null);
create unique index idx_user_objid on table_user(objid);
create table table_employee(objid number not null, first_name varchar(30) null, last_name varchar(30) null,
  e_mail varchar(64) null, employee2user number null, supp_person_off2site number null);
create unique index idx_employee_objid on table_employee(objid);
create table table_contact(objid number not null, first_name varchar(30) null, last_name varchar(30) null,
  phone varchar(20) null, e_mail varchar(64) null, status number null, caller2user number null);
create unique index idx_contact_objid on table_contact(objid);
create table table_address(objid number not null, address varchar(60) null, city varchar(30) null,
  zipcode varchar(10) null, address2time_zone number null);
create unique index idx_address_objid on table_address(objid);
create table table_site(objid number not null, site_id varchar(16) null, name varchar(60) null, type number null,
  cust_billaddr2address number null, cust_shipaddr2address number null, parent_site2site number null,
  cust_primaddr2address number null);
create unique index idx_site_objid on table_site(objid);
create table table_num_scheme(objid number not null, name varchar(40) null, template varchar(40) null,
  description varchar(80) null, obj_name varchar(40) null, qualifier varchar(40) null, fixed_len number null,
  zero_fill number null, next_value number null);
create table table_time_zone(objid number not null, name varchar(20) null, full_name varchar(60) null,
  gmt_diff number null);
create table table_daylight_hr(objid number not null, start_time date null, end_time date null,
  daylight_hr2prev_rule number null, daylight_hr2time_zone number null);
create table table_contact_role(objid number not null, role_name varchar(30) null, primary_site number null,
  contact_role2contact number null, contact_role2site number null);
create unique index idx_contact_role_objid on table_contact_role(objid);
create table table_config_itm(objid number not null, last_mod_time varchar(30) null, name varchar(64) null,
  value_type number null, i_value number null, description varchar(80) null, str_value varchar(64) null,
  scope number null);
create view table_contact_site as select c.objid, c.first_name, c.last_name, s.name site_name
  from table_contact c join table_contact_role r on r.contact_role2contact = c.objid
  join table_site s on s.objid = r.contact_role2site;
create table table_orbisan_events(objid number not null, object_name varchar(255) null,
  object_verb varchar(40) null, object_key varchar(255) null, event_time date null, event_status varchar(4) null,
  event_priority number null);
create unique index idx_orbisan_events_objid on table_orbisan_events(objid);
create table table_orbisan_archive(objid number not null, event_id number null, object_name varchar(255) null,
  object_verb varchar(40) null, object_key varchar(255) null, event_status varchar(20) null);
create unique index idx_orbisan_archive_objid on table_orbisan_archive(objid);
create index idx_orbisan_archive_event on table_orbisan_archive(event_id);

insert into table_user(objid, login_name, status) values(1, 'orbisan', 1);
insert into table_employee values(1, 'Olive', 'Operator', 'olive@example.com', 1, 1);
insert into table_time_zone values(1, 'CST', 'Central Standard Time', -360);
insert into table_daylight_hr values(1, TO_DATE('03/14/2004 02:00:00', 'MM/DD/YYYY HH24:MI:SS'),
  TO_DATE('10/31/2004 02:00:00', 'MM/DD/YYYY HH24:MI:SS'), null, 1);
insert into table_address values(1, '1 Main St', 'Springfield', '62701', 1);
insert into table_address values(2, 'PO Box 77', 'Springfield', '62705', 1);
insert into table_address values(3, '9 Side Rd', 'Shelbyville', '40065', 1);
insert into table_site values(1, 'S-0001', 'Head Office', 1, 2, null, null, 1);
insert into table_site values(2, 'S-0002', 'Branch', 2, null, null, null, 3);
insert into table_contact values(1, 'Carol', 'Client', '555-0200', 'carol@example.com', 1, null);
insert into table_contact values(2, 'Dan', 'Dealer', '555-0300', 'dan@example.com', 1, null);
insert into table_contact_role values(1, 'Buyer', 1, 1, 1);
insert into table_contact_role values(2, 'Owner', 1, 2, 2);
insert into table_num_scheme values(1, 'Site ID', 'S-%i', 'Site numbers', 'site', null, 4, 1, 3);
insert into table_config_itm values(1, '2004-03-05', 'Default Queue', 2, 15, 'user item', 'Support', 1);
