-- The database's message texts (type 326, string_db), loaded after
-- crm_client.sql: the whole "cpi" list (ids 10600..10632) in the default
-- locale 1033, each reading "Database text <id>".
-- Statements end with ";" at the end of a line.

insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, "sql")
  values(326, 2, 'string_db', 'Message texts', 'Admin', null);
insert into adp_tbl_oid(type_id, obj_num) values(326, 100);
insert into adp_sch_info values(326, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);
insert into adp_sch_info values(326, 'id', 512, 0, 1, -1, -1, 0, -1, 1, null, 'Message id');
insert into adp_sch_info values(326, 'string', 516, 7, 255, -1, -1, 0, -1, 2, null, 'Message text');
insert into adp_sch_info values(326, 'locale', 512, 0, 1, -1, -1, 0, -1, 3, null, null);
insert into adp_sch_info values(326, 'class_b', 512, 0, 1, -1, -1, 0, -1, 4, null, null);
create table table_string_db(objid number not null, id number null, string varchar(255) null, locale number null,
  class_b number null);
insert into table_string_db select seq + 1, 10600 + seq, 'Database text ' || (10600 + seq), 1033, 0
  from seq_0_to_32;
