-- A small CRM database for the end-to-end suites: the repository and
-- dictionary tables in their Oracle column types, the header row, the id
-- counters, the locale table and the dictionary of a few types. Object
-- types: case 10, site 11, contact 12, employee 13; subobject address 20;
-- views case_view 30 (joins and field origins, with a redefinition that the
-- first-definition rule skips) and site_view 31 (only a redefinition); SQL
-- view open_cases 32. Relations of every kind: one-to-many and many-to-one
-- (site2case / case2site), one-to-one both sides (contact2employee /
-- employee2contact), many-to-many (contact2site / site2contact), and a marked
-- one-to-many end (site2contact_lead, rel_type 1 + 8) with its inverse, both
-- user relations (flags 0x20000) after the others of their types.
-- Statements end with ";" at the end of a line.

create table adp_db_header(db_name varchar(128) not null, create_date date null, last_full_backup date null,
  last_incr_backup date null, up_since date null, last_modify date null, site_id number null,
  site_id_offline number null, db_rev number null, schema_rev number null, cust_int_sch_rev number null,
  gmt_diff int null, cust_schema_rev varchar(64) null, flags number null, orbisan_schema_date date null,
  cust_schema_date date null, site_num_bits number null, objid number null, dev number null);
create table adp_db_comments(objid number null, dev number null, seq_num int, time date, comments varchar(255));
create table de_updates(row_id number, row_ver number, prev_row_ver number, table_name varchar(64),
  tx_detail varchar(2000));
create table table_locale(win32_lcid number not null, crt_locale varchar(255) not null);
create table adp_tbl_name_map(type_id number not null, type_flags number not null, type_name varchar(128) not null,
  comments varchar(255) null, obj_group varchar(255) null, "sql" clob null);
create table adp_tbl_oid(type_id number not null, obj_num number not null);
create unique index idx_adp_tbl_oid on adp_tbl_oid(type_id);
create table adp_tbl_oid_unused(type_id number not null, min_obj number not null, num_obj number not null);
create unique index idx_atou on adp_tbl_oid_unused(type_id, min_obj);
create table adp_sch_info(type_id number not null, field_name varchar(64) not null, cmn_type number not null,
  db_type number not null, array_size number not null, dec_p number not null, dec_s number not null,
  flags number not null, gen_field_id number not null, spec_field_id number not null,
  fld_default varchar(255) null, comments varchar(255) null);
create index idx_adp_sch_info on adp_sch_info(type_id, spec_field_id);
create table adp_sch_rel_info(type_id number not null, rel_name varchar(64) not null, rel_type number not null,
  target_name varchar(64) not null, gen_rel_id number not null, spec_rel_id number not null,
  inv_rel_name varchar(64) not null, comments varchar(255) null, rel_flags number not null,
  rel_phy_name varchar(64) null, focus_fldname varchar(64) null, exclusive_set varchar(64) null, flags number null);
create index idx_adp_sch_rel_info on adp_sch_rel_info(type_id, spec_rel_id);
create table adp_view_field_info(view_type_id number not null, view_spec_field_id number not null,
  from_obj_type number not null, from_field_id number not null, alias varchar(64) null, comments varchar(255) null,
  flags number not null);
create table adp_view_join_info(view_type_id number not null, obj_type_id number not null,
  obj_spec_rel_id number not null, palias varchar(64) null, falias varchar(64) null, comments varchar(255) null,
  flags number not null, join_flag number not null);
create table adp_sch_index(type_id number not null, index_name varchar(64) not null, flags number not null,
  field_count number not null, field_names varchar(255) not null, comments varchar(255) null);

insert into adp_db_header(db_name, create_date, last_full_backup, last_incr_backup, up_since, last_modify, site_id,
  site_id_offline, db_rev, schema_rev, cust_int_sch_rev, gmt_diff, cust_schema_rev, flags, orbisan_schema_date,
  cust_schema_date, site_num_bits, objid, dev)
  values('crm', TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS'), null, null, null,
  TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS'), 0, 0, 15, 61, 4, 0, 'c1', 2,
  TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS'), TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS'),
  4, 268435457, 1);

insert into adp_tbl_oid(type_id, obj_num) values(10, 0);
insert into adp_tbl_oid(type_id, obj_num) values(11, 0);
insert into adp_tbl_oid(type_id, obj_num) values(12, 0);
insert into adp_tbl_oid(type_id, obj_num) values(13, 0);
insert into adp_tbl_oid(type_id, obj_num) values(100000001, 0);
insert into adp_tbl_oid(type_id, obj_num) values(100000002, 0);

insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(10, 2, 'case', 'A customer''s case', 'Support', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(11, 2, 'site', 'A customer site', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(12, 2, 'contact', 'A person at a site', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(13, 6, 'employee', 'An employee', 'Staff', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(20, 8, 'address', 'A postal address', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(30, 4, 'case_view', 'Cases with their site', 'Support', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(31, 4, 'site_view', 'Sites', 'Accounts', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(32, 1048580, 'open_cases', 'Open cases by SQL', 'Support',
  'select objid, title from table_case where status = ''open''');

insert into adp_sch_info values(10, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, 'Object number');
insert into adp_sch_info values(10, 'title', 516, 7, 80, -1, -1, 0, -1, 1, null, 'Title of the case');
insert into adp_sch_info values(10, 'status', 516, 7, 20, -1, -1, 0, -1, 2, 'open', 'Status');
insert into adp_sch_info values(10, 'amount', 766, 11, 1, 19, 2, 0, -1, 3, null, null);
insert into adp_sch_info values(10, 'opened', 609, 9, 1, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(11, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(11, 'name', 516, 7, 80, -1, -1, 256, -1, 1, null, 'Site name');
insert into adp_sch_info values(12, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(12, 'first_name', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(12, 'last_name', 516, 7, 30, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(13, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(13, 'login', 516, 7, 30, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(20, 'street', 516, 7, 80, -1, -1, 0, -1, 0, null, null);
insert into adp_sch_info values(20, 'city', 516, 7, 40, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(30, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(30, 'title', 516, 7, 80, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(30, 'site_name', 516, 7, 80, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(31, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(31, 'name', 516, 7, 80, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(32, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(32, 'title', 516, 7, 80, -1, -1, 0, -1, 1, null, null);

insert into adp_sch_rel_info values(10, 'case2site', 2, 'site', 0, 0, 'site2case', 'The case''s site', 0,
  'case2site', null, null, 0);
insert into adp_sch_rel_info values(11, 'site2case', 1, 'case', 0, 0, 'case2site', 'Cases of the site', 0,
  'site2case', null, null, 0);
insert into adp_sch_rel_info values(11, 'site2contact', 5, 'contact', 1, 1, 'contact2site', null, 0,
  'site2contact', null, null, 0);
insert into adp_sch_rel_info values(11, 'site2contact_lead', 9, 'contact', 2, 2, 'contact_lead2site', null, 0,
  'site2contact_lead', null, null, 131072);
insert into adp_sch_rel_info values(12, 'contact2site', 5, 'site', 0, 0, 'site2contact', null, 0,
  'contact2site', null, null, 0);
insert into adp_sch_rel_info values(12, 'contact2employee', 3, 'employee', 1, 1, 'employee2contact', null, 0,
  'contact2employee', null, null, 0);
insert into adp_sch_rel_info values(12, 'contact_lead2site', 2, 'site', 2, 2, 'site2contact_lead', null, 0,
  'contact_lead2site', null, null, 131072);
insert into adp_sch_rel_info values(13, 'employee2contact', 4, 'contact', 0, 0, 'contact2employee', null, 0,
  'employee2contact', null, null, 0);

insert into adp_view_join_info values(30, 10, 0, 'c', 's', 'case to its site', 0, 0);
insert into adp_view_join_info values(30, 12, 0, 'x', 'y', 'redefinition', 1, 0);
insert into adp_view_field_info values(30, 0, 10, 0, 'c', null, 0);
insert into adp_view_field_info values(30, 1, 10, 1, 'c', null, 0);
insert into adp_view_field_info values(30, 2, 11, 1, 's', null, 0);
insert into adp_view_field_info values(30, 1, 12, 1, 'x', 'redefinition', 1);
insert into adp_view_field_info values(31, 0, 11, 0, 'st', null, 1);
insert into adp_view_field_info values(31, 1, 11, 1, 'st', null, 1);

insert into table_locale values(1033, 'C');
insert into table_locale values(1031, 'de_DE.UTF-8');
insert into table_locale values(1036, 'fr_FR.UTF-8');
