-- Object tables for the object-row suites, loaded after crm_fixture.sql:
-- type ticket 40 with a field of every value type (searchable title, long
-- text notes, date, decimal, double, counter, locale id, change date and
-- modification stamp; the change date never enters a change row) and type
-- note 41 whose rows point to a ticket through a one-column foreign key
-- (note2ticket) and through the pair of physical-name and focus columns
-- (owner_id, owner_type); type tag 42 is linked to tickets through the link
-- table mtm_ticket2_tag0 (ticket2tag holds the ticket, tag2ticket the tag).
-- Statements end with ";" at the end of a line.

insert into adp_tbl_oid(type_id, obj_num) values(40, 0);
insert into adp_tbl_oid(type_id, obj_num) values(41, 0);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(40, 2, 'ticket', 'A ticket', 'Support', null);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(41, 2, 'note', 'A note on a ticket', 'Support', null);

insert into adp_sch_info values(40, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(40, 'dev', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(40, 'title', 516, 7, 80, -1, -1, 256, -1, 2, null, null);
insert into adp_sch_info values(40, 'notes', 516, 8, 2000, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(40, 'opened', 609, 9, 1, -1, -1, 0, -1, 4, null, null);
insert into adp_sch_info values(40, 'amount', 766, 11, 1, 19, 2, 0, -1, 5, null, null);
insert into adp_sch_info values(40, 'ratio', 613, 4, 1, -1, -1, 0, -1, 6, null, null);
insert into adp_sch_info values(40, 'count', 512, 0, 1, -1, -1, 0, -1, 7, null, null);
insert into adp_sch_info values(40, 'lcid', 512, 0, 1, -1, -1, 0, 152, 8, null, null);
insert into adp_sch_info values(40, 'upd_date', 609, 9, 1, -1, -1, 2048, 46, 9, null, null);
insert into adp_sch_info values(40, 'mod_stamp', 609, 9, 1, -1, -1, 0, 48, 10, null, null);
insert into adp_tbl_oid(type_id, obj_num) values(42, 0);
insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(42, 2, 'tag', 'A tag of tickets', 'Support', null);
insert into adp_sch_info values(42, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(42, 'label', 516, 7, 40, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(41, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(41, 'dev', 512, 0, 1, -1, -1, 0, -1, 1, null, null);
insert into adp_sch_info values(41, 'text', 516, 7, 80, -1, -1, 0, -1, 2, null, null);

insert into adp_sch_rel_info values(40, 'ticket2note', 1, 'note', 0, 0, 'note2ticket', null, 0,
  'ticket2note', null, null, 0);
insert into adp_sch_rel_info values(40, 'ticket2note_owner', 1, 'note', 1, 1, 'note_owner2ticket', null, 1,
  'owner_id', 'owner_type', null, 0);
insert into adp_sch_rel_info values(40, 'ticket2tag', 5, 'tag', 2, 2, 'tag2ticket', null, 0,
  'ticket2tag', null, null, 0);
insert into adp_sch_rel_info values(42, 'tag2ticket', 5, 'ticket', 0, 0, 'ticket2tag', null, 0,
  'tag2ticket', null, null, 0);
insert into adp_sch_rel_info values(41, 'note2ticket', 10, 'ticket', 0, 0, 'ticket2note', null, 0,
  'note2ticket', null, null, 0);
insert into adp_sch_rel_info values(41, 'note_owner2ticket', 10, 'ticket', 1, 1, 'ticket2note_owner', null, 1,
  'owner_id', 'owner_type', null, 0);

create table table_ticket(objid number not null, dev number null, title varchar(80) null, S_title varchar(80) null,
  notes clob null, opened date null, amount number(19,2) null, ratio double null, count number null,
  lcid number null, upd_date date null, mod_stamp date null);
create unique index idx_ticket_objid on table_ticket(objid);
create unique index idx_ticket_title on table_ticket(title);
create table table_note(objid number not null, dev number null, text varchar(80) null, note2ticket number null,
  owner_id number null, owner_type number null);
create table table_tag(objid number not null, dev number null, label varchar(40) null);
create table mtm_ticket2_tag0(ticket2tag number null, tag2ticket number null);
