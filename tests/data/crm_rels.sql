-- Relation tables for the relation-batch suites, loaded after crm_fixture.sql
-- and crm_objects.sql: type person 44 points to a firm 45 through the
-- foreign keys person2firm and person2owner (many to one, so its change
-- date upd_date is kept up to date by relates), and is linked to topics 46 through the link table
-- mtm_person1_topic0 (columns person2topic and topic2person).
-- Statements end with ";" at the end of a line.

insert into adp_tbl_oid(type_id, obj_num) values(44, 0);
insert into adp_tbl_oid(type_id, obj_num) values(45, 0);
insert into adp_tbl_oid(type_id, obj_num) values(46, 0);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(44, 2, 'person', 'A person', 'Sales', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(45, 2, 'firm', 'A firm', 'Sales', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(46, 2, 'topic', 'A topic', 'Sales', null);

insert into adp_sch_info values(44, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(44, 'dev', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(44, 'name', 516, 7, 80, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(44, 'upd_date', 609, 9, 1, -1, -1, 2048, 46, 3, null, null);
insert into adp_sch_info values(45, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(45, 'dev', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(45, 'name', 516, 7, 80, -1, -1, 0, -1, 2, null, null);
insert into adp_sch_info values(46, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(46, 'dev', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(46, 'label', 516, 7, 80, -1, -1, 0, -1, 2, null, null);

insert into adp_sch_rel_info values(44, 'person2firm', 2, 'firm', 0, 0, 'firm2person', null, 0,
  'person2firm', null, null, 0);
insert into adp_sch_rel_info values(44, 'person2topic', 5, 'topic', 1, 1, 'topic2person', null, 0,
  'person2topic', null, null, 0);
insert into adp_sch_rel_info values(44, 'person2owner', 2, 'firm', 2, 2, 'owner2person', null, 0,
  'person2owner', null, null, 0);
insert into adp_sch_rel_info values(45, 'firm2person', 1, 'person', 0, 0, 'person2firm', null, 0,
  'firm2person', null, null, 0);
insert into adp_sch_rel_info values(45, 'owner2person', 1, 'person', 1, 1, 'person2owner', null, 0,
  'owner2person', null, null, 0);
insert into adp_sch_rel_info values(46, 'topic2person', 5, 'person', 0, 0, 'person2topic', null, 0,
  'topic2person', null, null, 0);

create table table_person(objid number not null, dev number null, name varchar(80) null, upd_date date null,
  person2firm number null, person2owner number null);
create unique index idx_person_objid on table_person(objid);
create table table_firm(objid number not null, dev number null, name varchar(80) null);
create table table_topic(objid number not null, dev number null, label varchar(80) null);
create unique index idx_topic_label on table_topic(label);
create table mtm_person1_topic0(person2topic number null, topic2person number null, objid number null, dev number null);
