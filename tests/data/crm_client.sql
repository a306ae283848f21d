-- The client's end-to-end database, loaded after crm_fixture.sql,
-- tools/demo/demo_crm.sql (the types the client reads at login, the user
-- "orbisan" with his employee, the scheme "Site ID") and crm_objects.sql
-- (ticket 40 with a unique title, its notes 41 through a foreign key and its
-- tags 42 through the link table mtm_ticket2_tag0). Adds the configuration
-- item the database open reads for the code page, and seeded tickets, notes
-- and tags for the traversals, and gives the user an alternate login name.
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

-- The user acts under another login name.
update table_user set alt_login_name = 'orbisan-alt' where objid = 1;
