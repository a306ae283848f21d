-- Compatibility objects of the Oracle-dialect data service, made in database
-- sa when the service creates it. Every statement may run again (idempotent).
-- Statements are separated by a line holding only "/".
CREATE OR REPLACE PROCEDURE raise_application_error(code IN INT, msg IN VARCHAR2) AS
  note VARCHAR2(2000);
BEGIN
  note := SUBSTR('ORA-' || LPAD(ABS(code), 5, '0') || ': ' || msg, 1, 512);
  SIGNAL SQLSTATE '45000' SET MYSQL_ERRNO = 20000, MESSAGE_TEXT = note;
END;
/
CREATE OR REPLACE FUNCTION to_date(t IN VARCHAR2, f IN VARCHAR2) RETURN DATETIME AS
  fmt VARCHAR2(200);
  d DATETIME;
BEGIN
  IF t IS NULL THEN
    RETURN NULL;
  END IF;
  fmt := UPPER(f);
  fmt := REPLACE(fmt, 'HH24', '%H');
  fmt := REPLACE(fmt, 'YYYY', '%Y');
  fmt := REPLACE(fmt, 'MON', '%b');
  fmt := REPLACE(fmt, 'MM', '%m');
  fmt := REPLACE(fmt, 'DD', '%d');
  fmt := REPLACE(fmt, 'MI', '%i');
  fmt := REPLACE(fmt, 'SS', '%s');
  d := STR_TO_DATE(t, fmt);
  IF d IS NULL THEN
    raise_application_error(-1843, 'not a valid month');
  END IF;
  RETURN d;
EXCEPTION
  WHEN OTHERS THEN
    raise_application_error(-1843, 'not a valid month');
END;
/
CREATE OR REPLACE FUNCTION empty_clob RETURN VARCHAR2 AS
BEGIN
  -- An empty text, not NULL; written without a lone '' literal, which the
  -- service would send as NULL when this script runs through it.
  RETURN REPEAT(' ', 0);
END;
/
CREATE OR REPLACE FUNCTION hextoraw(h IN VARCHAR2) RETURN BLOB AS
BEGIN
  -- The raw value of a hexadecimal text, as binary literals are written.
  RETURN UNHEX(h);
END;
/
CREATE OR REPLACE PACKAGE dbms_transaction AS
  FUNCTION local_transaction_id RETURN VARCHAR2;
END;
/
CREATE OR REPLACE PACKAGE BODY dbms_transaction AS
  FUNCTION local_transaction_id RETURN VARCHAR2 AS
    id VARCHAR2(64);
  BEGIN
    SELECT MAX(trx_id) INTO id FROM information_schema.innodb_trx
     WHERE trx_mysql_thread_id = CONNECTION_ID();
    RETURN id;
  END;
END;
/
CREATE OR REPLACE VIEW orbisan_indexes AS
SELECT DISTINCT UPPER(table_schema) AS owner, UPPER(index_name) AS index_name,
       UPPER(table_schema) AS table_owner, UPPER(table_name) AS table_name,
       CASE non_unique WHEN 0 THEN 'UNIQUE' ELSE 'NONUNIQUE' END AS uniqueness,
       'NORMAL' AS index_type, 'VALID' AS status,
       -- The server keeps no storage attributes: NULL, as Oracle gives for
       -- values an index does not have.
       CAST(NULL AS CHAR(30)) AS tablespace_name, CAST(NULL AS SIGNED) AS ini_trans,
       CAST(NULL AS SIGNED) AS max_trans, CAST(NULL AS SIGNED) AS pct_free, CAST(NULL AS SIGNED) AS pct_increase,
       CAST(NULL AS SIGNED) AS initial_extent, CAST(NULL AS SIGNED) AS next_extent,
       CAST(NULL AS SIGNED) AS min_extents, CAST(NULL AS SIGNED) AS max_extents
  FROM information_schema.statistics
 WHERE table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
/
CREATE OR REPLACE VIEW all_indexes AS SELECT * FROM orbisan_indexes
/
CREATE OR REPLACE VIEW user_indexes AS
SELECT index_name, table_owner, table_name, uniqueness, index_type, status, tablespace_name, ini_trans,
       max_trans, pct_free, pct_increase, initial_extent, next_extent, min_extents, max_extents
  FROM orbisan_indexes WHERE owner = UPPER(DATABASE())
/
CREATE OR REPLACE VIEW orbisan_ind_columns AS
SELECT UPPER(table_schema) AS index_owner, UPPER(index_name) AS index_name,
       UPPER(table_schema) AS table_owner, UPPER(table_name) AS table_name,
       UPPER(column_name) AS column_name, seq_in_index AS column_position,
       'ASC' AS descend
  FROM information_schema.statistics
 WHERE table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
/
CREATE OR REPLACE VIEW all_ind_columns AS SELECT * FROM orbisan_ind_columns
/
CREATE OR REPLACE VIEW user_ind_columns AS
SELECT index_name, table_name, column_name, column_position, descend
  FROM orbisan_ind_columns WHERE index_owner = UPPER(DATABASE())
/
CREATE OR REPLACE FUNCTION to_clob(t IN CLOB) RETURN CLOB AS
BEGIN
  -- Character values are already text: the value itself.
  RETURN t;
END;
/
CREATE OR REPLACE FUNCTION to_lob(t IN CLOB) RETURN CLOB AS
BEGIN
  -- A long value copied into a large-text column: the value itself.
  RETURN t;
END;
/
CREATE OR REPLACE VIEW orbisan_service_objects AS
SELECT 'ORBISAN_SERVICE_OBJECTS' AS name FROM dual
UNION ALL SELECT 'RAISE_APPLICATION_ERROR' FROM dual UNION ALL SELECT 'TO_DATE' FROM dual
UNION ALL SELECT 'EMPTY_CLOB' FROM dual UNION ALL SELECT 'HEXTORAW' FROM dual
UNION ALL SELECT 'DBMS_TRANSACTION' FROM dual UNION ALL SELECT 'TO_CLOB' FROM dual
UNION ALL SELECT 'TO_LOB' FROM dual UNION ALL SELECT 'ORBISAN_INDEXES' FROM dual
UNION ALL SELECT 'ALL_INDEXES' FROM dual UNION ALL SELECT 'USER_INDEXES' FROM dual
UNION ALL SELECT 'ORBISAN_IND_COLUMNS' FROM dual UNION ALL SELECT 'ALL_IND_COLUMNS' FROM dual
UNION ALL SELECT 'USER_IND_COLUMNS' FROM dual UNION ALL SELECT 'ALL_OBJECTS' FROM dual
UNION ALL SELECT 'USER_OBJECTS' FROM dual UNION ALL SELECT 'USER_TRIGGERS' FROM dual
UNION ALL SELECT 'ORBISAN_TABLES' FROM dual UNION ALL SELECT 'ALL_TABLES' FROM dual
UNION ALL SELECT 'USER_TABLES' FROM dual UNION ALL SELECT 'ORBISAN_TAB_COLUMNS' FROM dual
UNION ALL SELECT 'USER_TAB_COLUMNS' FROM dual UNION ALL SELECT 'USER_SEQUENCES' FROM dual
UNION ALL SELECT 'ALL_SYNONYMS' FROM dual UNION ALL SELECT 'ALL_USERS' FROM dual
UNION ALL SELECT 'USER_USERS' FROM dual
UNION ALL SELECT 'DBA_ROLES' FROM dual UNION ALL SELECT 'USER_VIEWS' FROM dual
/
CREATE OR REPLACE VIEW all_objects AS
SELECT UPPER(table_schema) AS owner, UPPER(table_name) AS object_name,
       CASE table_type WHEN 'VIEW' THEN 'VIEW' WHEN 'SEQUENCE' THEN 'SEQUENCE' ELSE 'TABLE' END AS object_type,
       'VALID' AS status, create_time AS created
  FROM information_schema.tables
 WHERE table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
UNION ALL
SELECT UPPER(routine_schema), UPPER(routine_name), routine_type, 'VALID', created
  FROM information_schema.routines
 WHERE routine_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
UNION ALL
SELECT UPPER(trigger_schema), UPPER(trigger_name), 'TRIGGER', 'VALID', created
  FROM information_schema.triggers
 WHERE trigger_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
UNION ALL
SELECT DISTINCT UPPER(table_schema), UPPER(index_name), 'INDEX', 'VALID', NULL
  FROM information_schema.statistics
 WHERE table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
/
-- The service's own compatibility objects live in the schema but are no
-- objects of it: on Oracle they belong to the system.
CREATE OR REPLACE VIEW user_objects AS
SELECT object_name, object_type, status, created FROM all_objects
 WHERE owner = UPPER(DATABASE()) AND object_name NOT IN (SELECT name FROM orbisan_service_objects)
/
-- description is the trigger's head as "create or replace trigger" takes
-- it (name, timing and event, table, row clause, each on its own line) and
-- trigger_body the statement it runs, both whole.
CREATE OR REPLACE VIEW user_triggers AS
SELECT UPPER(trigger_name) AS trigger_name, UPPER(event_object_table) AS table_name,
       UPPER(event_manipulation) AS triggering_event,
       action_timing || ' EACH ROW' AS trigger_type, 'ENABLED' AS status,
       trigger_name || CHR(10) || action_timing || ' ' || event_manipulation || ' ON ' || event_object_table
         || CHR(10) || 'FOR EACH ROW' || CHR(10) AS description,
       action_statement AS trigger_body
  FROM information_schema.triggers WHERE trigger_schema = DATABASE()
/
CREATE OR REPLACE VIEW orbisan_tables AS
SELECT UPPER(table_schema) AS owner, UPPER(table_name) AS table_name,
       table_name AS name, table_rows AS num_rows
  FROM information_schema.tables
 WHERE table_type = 'BASE TABLE'
   AND table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
/
CREATE OR REPLACE VIEW all_tables AS SELECT * FROM orbisan_tables
/
CREATE OR REPLACE VIEW user_tables AS
SELECT table_name, name, num_rows FROM orbisan_tables WHERE owner = UPPER(DATABASE())
/
CREATE OR REPLACE VIEW orbisan_tab_columns AS
SELECT UPPER(table_schema) AS owner, UPPER(table_name) AS table_name,
       UPPER(column_name) AS column_name,
       CASE LOWER(data_type)
         WHEN 'varchar' THEN 'VARCHAR2' WHEN 'char' THEN 'CHAR'
         WHEN 'decimal' THEN 'NUMBER' WHEN 'int' THEN 'NUMBER' WHEN 'bigint' THEN 'NUMBER'
         WHEN 'smallint' THEN 'NUMBER' WHEN 'tinyint' THEN 'NUMBER' WHEN 'mediumint' THEN 'NUMBER'
         WHEN 'double' THEN 'NUMBER' WHEN 'float' THEN 'NUMBER'
         WHEN 'datetime' THEN 'DATE' WHEN 'date' THEN 'DATE' WHEN 'timestamp' THEN 'DATE'
         WHEN 'longtext' THEN 'CLOB' WHEN 'mediumtext' THEN 'CLOB' WHEN 'text' THEN 'CLOB'
         WHEN 'varbinary' THEN 'RAW' WHEN 'binary' THEN 'RAW'
         ELSE UPPER(data_type) END AS data_type,
       CASE WHEN LOWER(data_type) IN ('longtext', 'mediumtext', 'text') THEN 4000
            WHEN LOWER(data_type) IN ('datetime', 'date', 'timestamp') THEN 7
            WHEN character_maximum_length IS NOT NULL THEN character_maximum_length
            WHEN numeric_precision IS NOT NULL THEN 22
            ELSE 0 END AS data_length,
       numeric_precision AS data_precision, numeric_scale AS data_scale,
       CASE is_nullable WHEN 'YES' THEN 'Y' ELSE 'N' END AS nullable,
       ordinal_position AS column_id
  FROM information_schema.columns
 WHERE table_schema NOT IN ('mysql', 'information_schema', 'performance_schema', 'sys')
/
CREATE OR REPLACE VIEW user_tab_columns AS
SELECT table_name, column_name, data_type, data_length, data_precision, data_scale, nullable, column_id
  FROM orbisan_tab_columns WHERE owner = UPPER(DATABASE())
/
CREATE OR REPLACE VIEW user_sequences AS
SELECT UPPER(table_name) AS sequence_name
  FROM information_schema.tables
 WHERE table_type = 'SEQUENCE' AND table_schema = DATABASE()
/
CREATE OR REPLACE VIEW all_synonyms AS
SELECT CAST(NULL AS CHAR(128)) AS owner, CAST(NULL AS CHAR(128)) AS synonym_name,
       CAST(NULL AS CHAR(128)) AS table_owner, CAST(NULL AS CHAR(128)) AS table_name,
       CAST(NULL AS CHAR(128)) AS db_link
  FROM dual WHERE 1 = 0
/
CREATE OR REPLACE VIEW user_users AS
SELECT UPPER(DATABASE()) AS username FROM dual
/
CREATE OR REPLACE VIEW all_users AS
SELECT DISTINCT UPPER(user) AS username, 0 AS user_id, CAST(NULL AS DATETIME) AS created
  FROM mysql.user
/
CREATE OR REPLACE VIEW dba_roles AS
SELECT UPPER(user) AS role FROM mysql.user WHERE is_role = 'Y'
/
CREATE OR REPLACE VIEW user_views AS
SELECT UPPER(table_name) AS view_name FROM information_schema.views
 WHERE table_schema = DATABASE() AND UPPER(table_name) NOT IN (SELECT name FROM orbisan_service_objects)
/
