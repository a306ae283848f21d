-- The starting point of the upgrade suite, loaded after crm_fixture.sql:
-- the dictionary narrowed to the object types case, site, contact and
-- employee and the view case_view (the subobject, the other views, the
-- many-to-many and marked relations and the view's redefinition go;
-- employee is a plain object type; columns other than text have size -1 and
-- view fields no generic id and the search flag of their source, as the
-- compiler gives them), the upgrade
-- journal, and the offline feature's row ids of the dictionary, table marks
-- and node rows. The data
-- tables are made by the suite from the model the store reads.
-- Statements end with ";" at the end of a line.

delete from adp_tbl_name_map where type_id in (20, 31, 32);
delete from adp_sch_info where type_id in (20, 31, 32);
delete from adp_view_field_info where view_type_id in (31, 32);
delete from adp_sch_rel_info where rel_name in ('site2contact', 'contact2site', 'site2contact_lead',
  'contact_lead2site');
update adp_sch_rel_info set spec_rel_id = 0, gen_rel_id = 0 where rel_name = 'contact2employee';
delete from adp_view_join_info where flags = 1;
delete from adp_view_field_info where flags = 1;
update adp_tbl_name_map set type_flags = 2 where type_id = 13;
update adp_sch_info set array_size = -1 where db_type <> 7;
update adp_sch_info set gen_field_id = -1 where type_id = 30;
update adp_sch_info set flags = 256 where type_id = 30 and field_name = 'site_name';

alter table adp_tbl_name_map add (objid number null, dev number null);
alter table adp_sch_info add (objid number null, dev number null);
alter table adp_sch_rel_info add (objid number null, dev number null);
alter table adp_view_field_info add (objid number null, dev number null);
alter table adp_view_join_info add (objid number null, dev number null);
create table adp_upgrade_ops(objid number not null, dev number not null, version number not null,
  opcode number not null, object_name varchar(64) not null, field_name varchar(64) null, details clob null);
create table de_table_bind(table_name varchar(64) not null, upgrade_group varchar(8) null);
create table de_comm(node_name varchar(64) not null, node_status varchar(8) null, schema_version number null);
insert into de_table_bind values('ADP_SCH_INFO', 'N');
insert into de_table_bind values('table_case', 'N');
insert into de_comm values('server', 'S', 0);
insert into de_comm values('laptop', 'C', 0);
