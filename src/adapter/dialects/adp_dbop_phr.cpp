// The two dialects' phrases and numbers. Each dialect's Initialize sets only
// its own entries: the shared entries come from the base's Initialize, which
// the base constructor has already run.
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "kclassic/kc_zstr.h"

namespace {

struct adp_dbop_phrase {
  long index;
  const char* text;
};

struct adp_dbop_number {
  long index;
  long value;
};

const adp_dbop_phrase kOraPhrases[] = {
    {1, " "},
    {2, "0"},
    {3, "select index_name, uniqueness, ini_trans, max_trans, pct_free, \n\t  tablespace_name, pct_increase, \n\t  initial_extent, next_extent, min_extents, max_extents \n\t  from user_indexes \n\t  where table_name = upper('TABLE_%s')"},
    {4, "select column_name \n      from user_ind_columns \n      where index_name = upper('%s') \n      order by column_position"},
    {5, "0"},
    {6, "0"},
    {7, "0"},
    {8, "create %s index %s on TABLE_%s ("},
    {9, "0"},
    {10, "0"},
    {11, "0"},
    {12, "0"},
    {13, "0"},
    {14, "IS NOT NULL"},
    {15, "IS NULL"},
    {16, "||"},
    {17, "TO_DATE('01/01/1753', 'MM/DD/YYYY')"},
    {18, ";\n"},
    {19, ";"},
    {22, " DECLARE \n   dev INTEGER; \n BEGIN \n   SELECT dev INTO dev FROM %s WHERE objid = "},
    {25, " DECLARE \n   dev INTEGER; \n BEGIN \n   SELECT dev INTO dev FROM %s WHERE objid = "},
    {30, "0"},
    {31, "0"},
    {32, "0"},
    // The connected schema's own objects: another schema's view of the same
    // name is none that a DROP or CREATE here could meet.
    {33, "select object_name from user_objects where object_name = UPPER('%s')"},
    {34, "MM/DD/YYYY HH24:MI:SS"},
    {35, "%m/%d/%Y %H:%M:%S"},
    {49, "select description, trigger_body from user_triggers where table_name = upper('TABLE_%s')"},
    {50, "create or replace trigger "},
    {55, ""},
    {56, "orbisan_user"},
    {57, "orbisan_administrator"},
    {58, "orbisan_reporter"},
    {60, "INITRANS %ld MAXTRANS %ld PCTFREE %ld TABLESPACE %s\n"},
    {61, "STORAGE \n      (PCTINCREASE %ld INITIAL %ld NEXT %ld MINEXTENTS %ld MAXEXTENTS %ld)"},
    {62, "delete adp_sch_index where type_id=%ld and lower(index_name)=lower('%s')\n"},
};
const adp_dbop_phrase kMssqlPhrases[] = {
    {0, "select time, comments from adp_db_comments"},
    {1, "clustered"},
    {2, "IGNORE_DUP_KEY"},
    {3, "select indid, name \n  from sysindexes \n  where id = object_id('table_%s') \n  and indid > 0 \n  and indid < 255"},
    {4, "select index_col('table_%s', %ld, %ld)"},
    {5, "select v.number \n  from master.dbo.spt_values v, sysindexes i \n  where i.status & v.number = v.number \n  and v.type = 'I' and v.number = %ld \n  and i.id = object_id('table_%s') \n  and i.indid = %ld"},
    {6, "select OrigFillFactor \n   from sysindexes i \n   where i.id = object_id('table_%s') and i.indid = %ld"},
    {7, "select s.groupname \n\tfrom sysfilegroups s, sysindexes i \n\twhere s.groupid = i.groupid \n\tand i.id = object_id('table_%s') and i.indid = %ld"},
    {8, "create %s %s index %s on table_%s ("},
    {9, " on '%s'"},
    {10, "fillfactor = %d"},
    {11, "create proc %s @%s int, @%s int as update %s set %s = @%s, %s = %ld where objid=@%s"},
    {12, "create proc %s @%s int, @%s int as \n \t declare @tx_detail  varchar(200) \n \t declare @rstr varchar(12) \n \t declare @rlen varchar(2) \n \t select @rstr = ltrim(rtrim(convert(varchar(10), @%s))) \n \t select @rlen = ltrim(rtrim(convert(varchar(2), datalength(@rstr)))) \n \t select @tx_detail = '2 %s ' + @rlen + ' %s %ld ' + @rstr + '%ld' \n \t  insert into de_updates (row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t   select objid, dev+1, dev, '%s', @tx_detail from %s \n \t   where objid = @%s \n \t  if @@error != 0 \n \t  begin \n \t   insert into de_updates (row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t\tselect objid, dev+1, dev, '%s', @tx_detail from %s \n \t\twhere objid = @%s \n \t\treturn \n \t  end \n \t  update %s set dev = dev + 1, %s = @%s, %s = %ld where objid=@%s \n"},
    {13, "create proc %s @%s int, @%s int as \n \t declare @tx_detail  varchar(200) \n \t declare @rstr varchar(12) \n \t declare @rlen varchar(2) \n \t select @rstr = ltrim(rtrim(convert(varchar(10), @%s))) \n \t select @rlen = ltrim(rtrim(convert(varchar(2), datalength(@rstr)))) \n \t select @tx_detail = '1 %s ' + @rlen + ' ' + @rstr \n \t  insert into de_updates (row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t   select objid, dev+1, dev, '%s', @tx_detail from %s \n \t   where objid = @%s \n \t  if @@error != 0 \n \t  begin \n \t   insert into de_updates (row_id, row_ver, prev_row_ver, table_name, tx_detail) \n \t\tselect objid, dev+1, dev, '%s', @tx_detail from %s \n \t\twhere objid = @%s \n \t\treturn \n \t  end \n \t  update %s set dev = dev + 1, %s = @%s where objid=@%s \n"},
    {14, "!= NULL"},
    {15, "= NULL"},
    {16, "+"},
    {17, "'Jan  1 1753 12:00AM'"},
    {18, "go\n"},
    {19, "go"},
    {22, " DECLARE   @dev INTEGER; BEGIN SELECT @dev = dev FROM %s WHERE objid = "},
    {25, " DECLARE @dev INTEGER; BEGIN SELECT @dev =  dev FROM %s WHERE objid = "},
    {30, "dbo."},
    {31, "select c.name, c.prec, t.type, c.colid, c.status \n\tfrom sysobjects o, syscolumns c, systypes t \n\twhere o.name = '%s' and o.id = c.id and c.xusertype = t.xusertype"},
    {32, "select c.colid, c.length, c.type \n\tfrom sysobjects o, syscolumns c \n\twhere o.name = '%s' and o.id = c.id and c.name = '%s'"},
    {33, "select id from sysobjects where name='%s'"},
    {35, "%Y-%m-%d %H:%M:%S"},
    {38, ""},
    {39, ""},
    {40, ""},
    {41, "create procedure %s( @%s int, @%s int) as  update %s set %s = @%s where objid=@%s"},
    {42, " as begin tran\n"},
    {43, "commit tran\n"},
    {44, "update adp_tbl_oid \n    set obj_num = obj_num + 1 \n    where type_id = @type_num%ld \n    select @out_num%ld = obj_num from adp_tbl_oid \n    where type_id = @type_num%ld\n"},
    {45, "create proc csp_new_objectid%ld\n"},
    {46, "@type_num%ld int"},
    {47, "@out_num%ld int output"},
    {48, "CREATE proc csp_new_objectid @type_num int, @num_ids int, @site_id int, @roam_enable int,@out_num int output as begin tran update adp_tbl_oid    set obj_num = obj_num + @num_ids    where type_id =@type_num select @out_num = obj_num from adp_tbl_oid    where type_id = @type_num if @site_id = 0 begin     if @roam_enable = 1 \tbegin \t\tif (select @out_num) > 2147482647         \t\tbegin \t\trollback tran \t\tselect @out_num = -100 \t\treturn \t\tend \tend     else     \tbegin \t\tif (select @out_num) > -1000 and (select @out_num) < 0    \t\tbegin \t\trollback tran \t\tselect @out_num = -100 \t\treturn \t\tend \t\tif (select @out_num) > 2147482647    \t\tbegin         update adp_tbl_oid set obj_num = -2147483648+@num_ids where type_id = @type_num \t\tselect @out_num = -2147483648+@num_ids \t\tend \tend end commit tran"},
    {49, ""},
    {50, ""},
    {51, "csp_new_objectid"},
    {52, ""},
    {55, " (NOLOCK) "},
    {56, "orb_user"},
    {57, "administrator"},
    {58, "reporter"},
    {59, "P"},
    {60, "0"},
    {61, "0"},
    {62, "delete adp_sch_index where type_id=%ld and index_name='%s'\n"},
};

const adp_dbop_number kOraNumbers[] = {{0, 64},  {1, -1}, {2, -1},    {3, -1},  {4, -1},    {5, -1},
                                       {6, 1},   {7, 16000}, {8, 100}, {9, 32000}, {12, 8}};
const adp_dbop_number kMssqlNumbers[] = {{0, 30}, {1, 2},     {2, 256}, {3, 1}, {4, 1},    {5, 16},
                                         {6, 1},  {7, 16000}, {8, 254}, {9, 0}, {11, 255}, {12, 8}};

}  // namespace

void KAdpOraOperation::Initialize() {
  for (const adp_dbop_phrase& p : kOraPhrases) put_str(p.index, p.text);
  for (const adp_dbop_number& n : kOraNumbers) put_long(n.index, n.value);
  // The comment query carries the date format (set above).
  KCLASSIC::KZString comments;
  comments.Format("select TO_CHAR(time, '%s'), comments from adp_db_comments",
                  GetDbSpecificStr(static_cast<str_type>(34)));
  put_str(0, comments);
}

void KAdpMssqlOperation::Initialize() {
  for (const adp_dbop_phrase& p : kMssqlPhrases) put_str(p.index, p.text);
  for (const adp_dbop_number& n : kMssqlNumbers) put_long(n.index, n.value);
  InitRepoTexts();
  m_pBatch = nullptr;
}
