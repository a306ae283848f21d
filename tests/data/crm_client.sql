-- The client's end-to-end database, loaded after crm_fixture.sql,
-- tools/demo/demo_crm.sql (the types the client reads at login, the user
-- "orbisan" with his employee, the scheme "Site ID") and crm_objects.sql
-- (ticket 40 with a unique title, its notes 41 through a foreign key and its
-- tags 42 through the link table mtm_ticket2_tag0). Adds the configuration
-- item the database open reads for the code page, and seeded tickets, notes
-- and tags for the traversals.
-- Statements end with ";" at the end of a line.

insert into table_config_itm values(2, '2004-03-05', 'Database Codepage', 2, 0, 'code page of the database',
  'UTF-8', 0);

insert into table_ticket(objid, dev, title, S_title, notes, opened, amount, ratio, count, lcid)
  values(1, 1, 'Printer jams', 'PRINTER JAMS', null, TO_DATE('03/01/2004 09:00:00', 'MM/DD/YYYY HH24:MI:SS'),
  120.50, null, 1, null);
insert into table_ticket(objid, dev, title, S_title, notes, opened, amount, ratio, count, lcid)
  values(2, 1, 'Printer offline', 'PRINTER OFFLINE', null, TO_DATE('04/01/2004 09:00:00', 'MM/DD/YYYY HH24:MI:SS'),
  80.25, null, 2, null);
insert into table_ticket(objid, dev, title, S_title, notes, opened, amount, ratio, count, lcid)
  values(3, 1, 'Screen flickers', 'SCREEN FLICKERS', null, TO_DATE('03/02/2004 09:00:00', 'MM/DD/YYYY HH24:MI:SS'),
  300.00, null, 3, null);
insert into table_note(objid, dev, text, note2ticket) values(1, 1, 'toner low', 1);
insert into table_note(objid, dev, text, note2ticket) values(2, 1, 'paper path', 1);
insert into table_note(objid, dev, text, note2ticket) values(3, 1, 'cable loose', 2);
insert into table_tag(objid, dev, label) values(1, 1, 'hardware');
insert into mtm_ticket2_tag0(ticket2tag, tag2ticket) values(1, 1);
update adp_tbl_oid set obj_num = 3 where type_id in (40, 41);
update adp_tbl_oid set obj_num = 1 where type_id = 42;

-- The user's fields up to the alternate login name (27), which login reads.
alter table table_user add (nick_name varchar(30) null, first_name varchar(30) null, last_name varchar(30) null,
  e_mail varchar(64) null, phone varchar(20) null, fax varchar(20) null, title varchar(30) null,
  dept varchar(30) null, office varchar(30) null, locale number null, priv_class number null,
  start_date date null, end_date date null, last_login date null, pwd_date date null, pwd_flags number null,
  dev number null, web_login varchar(30) null, ofid varchar(30) null, submitter varchar(30) null,
  queue_flags number null, alert_flags number null, pager varchar(20) null, home_phone varchar(20) null,
  alt_login_name varchar(30) null);
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
update table_user set alt_login_name = 'orbisan-alt' where objid = 1;
