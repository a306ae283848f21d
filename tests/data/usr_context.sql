-- The tables the user context's statements read, with a few users: an
-- employee user (boss, objid 7) with a page class, a wipbin, a privilege
-- class, a site and two configuration items of his own; a contact user
-- (carol, 8) with a primary site through her contact role; a contact
-- without a user (dan, contact 31); web users for each login kind (web1 of
-- contact 31 only, web2 of carol's user, web3 of boss's user, web4 of
-- boss's user that already points at a contact); and global configuration
-- items (scopes 1 and 4 are not global). Statements end with ";" at the end
-- of a line.

create table table_user(objid number(10), login_name varchar(64), s_login_name varchar(64), password varchar(64),
  status number(10), locale number(10), agent_id varchar(32), user_access2privclass number(10),
  user_default2wipbin number(10), user2page_class number(10));
create table table_employee(objid number(10), employee2user number(10), first_name varchar(32),
  last_name varchar(32), e_mail varchar(64), beeper varchar(32), phone varchar(32), fax varchar(32),
  supp_person_off2site number(10));
create table table_contact(objid number(10), status number(10), caller2user number(10), first_name varchar(32),
  last_name varchar(32), e_mail varchar(64), phone varchar(32), fax_number varchar(32), title varchar(32));
create table table_web_user(objid number(10), login_name varchar(64), s_login_name varchar(64),
  web_user2user number(10), web_user2contact number(10), password varchar(64), status number(10));
create table table_wipbin(objid number(10), title varchar(32));
create table table_privclass(objid number(10), class_name varchar(32));
create table table_page_class(objid number(10), name varchar(32));
create table table_site(objid number(10), name varchar(64), site_id varchar(16), type number(10),
  cust_primaddr2address number(10));
create table table_address(objid number(10), address varchar(64), city varchar(32), state varchar(16),
  zipcode varchar(16), address_2 varchar(64), address2time_zone number(10), address2country number(10),
  address2state_prov number(10));
create table table_contact_role(objid number(10), contact_role2contact number(10), contact_role2site number(10),
  primary_site number(10));
create table table_config_itm(objid number(10), last_mod_time varchar(32), name varchar(64),
  value_type number(10), i_value number(10), f_value float, str_value varchar(64), scope number(10),
  description varchar(64));
create table mtm_user50_config_itm0(user_prefs2config_itm number(10), config_itm2user number(10));

insert into table_wipbin values(60, 'Default WIP');
insert into table_privclass values(70, 'Support Engineer');
insert into table_page_class values(80, 'Standard Pages');
insert into table_address values(50, '1 Main St', 'Springfield', 'IL', '62701', 'Suite 5', 501, 502, 503);
insert into table_address values(51, '9 Side Rd', 'Shelbyville', 'KY', '40065', '', 511, 512, 513);
insert into table_site values(40, 'Head Office', 'HQ-1', 1, 50);
insert into table_site values(41, 'Branch', 'BR-2', 2, 51);

insert into table_user values(7, 'boss', 'BOSS', 'secret', 1, 1033, 'AG7', 70, 60, 80);
insert into table_employee values(17, 7, 'Bea', 'Boss', 'bea@example.com', '555-0100', '555-0101', '555-0102', 40);
insert into table_user values(8, 'carol', 'CAROL', 'pw', 1, 1031, 'AG8', 70, 60, 80);
insert into table_contact values(30, 1, 8, 'Carol', 'Client', 'carol@example.com', '555-0200', '555-0201',
  'Buyer');
insert into table_contact_role values(90, 30, 41, 1);
insert into table_contact values(31, 1, 0, 'Dan', 'Dealer', 'dan@example.com', '555-0300', '555-0301', 'Owner');
insert into table_contact_role values(91, 31, 40, 0);
insert into table_contact_role values(92, 31, 41, 1);

insert into table_web_user values(101, 'web1', 'WEB1', 0, 31, 'w', 1);
insert into table_web_user values(102, 'web2', 'WEB2', 8, 0, 'w', 1);
insert into table_web_user values(103, 'web3', 'WEB3', 7, 0, 'w', 1);
insert into table_web_user values(104, 'web4', 'WEB4', 7, 31, 'w', 1);

insert into table_config_itm values(200, '2004-03-05', 'Default Queue', 2, 15, 1.5, 'Support', 1, 'user item');
insert into table_config_itm values(201, '2004-03-05', 'Page Size', 1, 25, 0, '', 1, 'user item');
insert into table_config_itm values(202, '2004-03-05', 'Currency', 2, 0, 0.25, 'USD', 2, 'global item');
insert into table_config_itm values(203, '2004-03-05', 'Hidden', 2, 0, 0, 'no', 4, 'not global');
insert into mtm_user50_config_itm0 values(7, 200);
insert into mtm_user50_config_itm0 values(7, 201);
