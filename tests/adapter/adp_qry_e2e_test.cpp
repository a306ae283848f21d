// The store's queries end to end on the run's MariaDB server through the
// Oracle-dialect service: the CRM fixture's dictionary with object rows
// inserted by SQL, each answer compared with the ids a plain SQL query
// gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/adp_sch_load.h"
#include "core/clk/clk_text.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_fld.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"
#include "adapter/adp_pwr.h"
#include "testdb/testdb_database.h"

namespace {

constexpr long kCase = 10, kSite = 11, kContact = 12;
constexpr long kObjid = 0x1000003;
constexpr long kTitle = 1, kStatus = 2, kAmount = 3, kOpened = 4;
constexpr long kSiteName = 1;
constexpr long kLongs = 512, kPtrs = 517, kObjIds = 594;

using ids = std::vector<long>;

class AdpQueryEndToEnd : public adp_ora_test {
 protected:
  void SetUp() override {
    adp_ora_test::SetUp();
    ASSERT_TRUE(db_.run(extra_dictionary()));
    ASSERT_EQ(typ_sch_alloc(), 0);
    cid_ = opened();
    ASSERT_NE(cid_, nullptr);
    ASSERT_EQ(adp_sch_alloc(), 0);
    ASSERT_EQ(adp_sch_types_init(cid_, nullptr), 0);
    ASSERT_EQ(adp_sch_read_all(cid_, nullptr), 0);
    ASSERT_TRUE(db_.run(rows_script()));
  }

  static typ_sch_rrec* relation(long type_id, const char* name) {
    typ_sch_srec* s = nullptr;
    adp_sch_shandle_find(type_id, &s);
    for (long i = 0; s != nullptr && i < s->nrels; ++i)
      if (s->rels[i].rel != nullptr &&
          (std::string(s->rels[i].rel->pname) == name || std::string(s->rels[i].rel->fname) == name))
        return s->rels[i].rel;
    return nullptr;
  }
  static long rel_index(long type_id, const char* name) {
    typ_sch_srec* s = nullptr;
    adp_sch_shandle_find(type_id, &s);
    for (long i = 0; s != nullptr && i < s->nrels; ++i) {
      const typ_sch_rel_inst& e = s->rels[i];
      if (e.rel != nullptr && std::string(e.side == 'p' ? e.rel->pname : e.rel->fname) == name) return i;
    }
    return -1;
  }

  // A power-query type (its text in field 6) and a relation of site with
  // itself (parent / children).
  static std::string extra_dictionary() {
    std::string s =
        "insert into adp_tbl_name_map(type_id, type_flags, type_name, comments, obj_group, `sql`)"
        " values(40, 2, 'pwr_query', 'Saved queries', 'Support', null);\n"
        "insert into adp_tbl_oid(type_id, obj_num) values(40, 0);\n"
        "insert into adp_sch_info values(40, 'objid', 512, 0, 1, -1, -1, 1, 3, 0, null, null);\n";
    for (int i = 1; i <= 6; ++i)
      s += "insert into adp_sch_info values(40, 'f" + std::to_string(i) + "', 516, 7, " +
           std::string(i == 6 ? "70016" : "80") + ", -1, -1, 0, -1, " + std::to_string(i) + ", null, null);\n";
    s += "insert into adp_sch_rel_info values(11, 'parent', 2, 'site', -1, 3, 'children', null, 0, 'parent', null,"
         " null, 0);\n"
         "insert into adp_sch_rel_info values(11, 'children', 1, 'site', -1, 4, 'parent', null, 0, 'children', null,"
         " null, 0);\n";
    return s;
  }

  // Sites 1-4, cases 1-12 (some on sites), contacts 1-5, site2contact
  // links named as the model names the link table and its columns.
  std::string rows_script() {
    typ_sch_rrec* mtm = relation(kSite, "site2contact");
    EXPECT_NE(mtm, nullptr);
    std::string s =
        "create table table_site(objid int, name varchar(80), S_name varchar(80), parent int, dev int);\n"
        "create table table_case(objid int, title varchar(80), status varchar(20), amount decimal(19,2),"
        " opened datetime, case2site int, dev int);\n"
        "create table table_contact(objid int, first_name varchar(30), last_name varchar(30), contact2employee int,"
        " dev int);\n"
        "insert into table_site values (1,'North','NORTH',null,1),(2,'south','SOUTH',1,1),(3,'East',null,2,1),"
        "(4,'',null,3,1);\n"
        "insert into table_case values"
        " (1,'Printer jam','open',10.50,'2004-03-05 14:07:09',1,1),"
        " (2,'Printer toner','closed',20.00,'2004-03-06 10:00:00',1,1),"
        " (3,'Network down','open',5.25,'2004-03-04 09:00:00',2,1),"
        " (4,null,'open',null,null,null,1),"
        " (5,null,'waiting',100.00,'2005-01-01 00:00:00',3,1),"
        " (6,'O''Brien call','open',7.00,'2004-03-05 14:07:09',2,1),"
        " (7,'Smith','closed',-3.00,'2003-12-31 23:59:59',null,1),"
        " (8,'Smyth','open',0.00,'2004-03-05 14:07:10',1,1),"
        " (9,'Network slow','open',12.00,'2004-02-01 00:00:00',2,1),"
        " (10,'100%_done','closed',1.00,'2004-03-05 00:00:00',null,1),"
        " (11,'Tape','open',2.00,'2004-03-07 00:00:00',4,1),"
        " (12,'tape','open',3.00,'2004-03-07 00:00:00',4,1);\n"
        "insert into table_contact values (1,'Ann','Lee',null,1),(2,'Bob','Ray',null,1),(3,'Cy','Lee',null,1),"
        "(4,'Di','Kay',null,1),(5,'Ed','Fox',null,1);\n";
    if (mtm != nullptr) {
      const bool site_primary = mtm->pschema != nullptr && mtm->pschema->type_id == kSite;
      const std::string site_col = site_primary ? mtm->pname : mtm->fname;
      const std::string contact_col = site_primary ? mtm->fname : mtm->pname;
      s += "create table " + std::string(mtm->mtm_table) + "(" + site_col + " int, " + contact_col + " int);\n";
      s += "insert into " + std::string(mtm->mtm_table) + "(" + site_col + ", " + contact_col +
           ") values (1,1),(1,2),(2,2),(2,3),(3,4);\n";
    }
    return s;
  }

  ids plain(const std::string& sql) {
    ids out;
    for (const auto& row : db_.query(sql)) out.push_back(std::stol(row.at(0)));
    return out;
  }
  static ids of_objects(utl_ty_col* col) {
    ids out;
    long n = 0;
    utl_col_num(col, &n);
    for (long i = 0; i < n; ++i) {
      void* slot = nullptr;
      utl_col_ith(col, i, &slot);
      obj_id id{};
      dbs_obj_oid_get(*static_cast<dbs_ty_lobj**>(slot), &id);
      out.push_back(id.num);
    }
    return out;
  }
  static ids of_longs(utl_ty_col* col) {
    ids out;
    long n = 0;
    utl_col_num(col, &n);
    for (long i = 0; i < n; ++i) {
      void* slot = nullptr;
      utl_col_ith(col, i, &slot);
      out.push_back(*static_cast<long*>(slot));
    }
    return out;
  }
  static ids sorted(ids v) {
    std::sort(v.begin(), v.end());
    return v;
  }
  static utl_ty_col* make(long type) {
    utl_ty_col* c = nullptr;
    utl_col_make("test", type, 10, 10, 0, 0, &c);
    return c;
  }
  // Object and id answers of one description, sorted.
  void answers(adp_ty_qry& d, ids* objects, ids* id_list, long* status) {
    utl_ty_col* objs = make(kPtrs);
    utl_ty_col* idc = make(kLongs);
    *status = dbs_qry_simple(cid_, &d, nullptr, nullptr, objs);
    if (*status == 0) *status = dbs_qry_simple_for_id(cid_, &d, nullptr, nullptr, idc);
    *objects = sorted(of_objects(objs));
    *id_list = sorted(of_longs(idc));
    dbs_obj_free_local_col(nullptr, objs);
    utl_col_free("test", idc);
  }

  KAdpConnId* cid_ = nullptr;
};

cmn_ty_decimal dec(const char* text, long scale) {
  cmn_ty_decimal d{};
  std::snprintf(d.text, sizeof(d.text), "%s", text);
  d.precision = static_cast<long>(std::strlen(text)) - (scale > 0 ? 1 : 0);
  d.scale = scale;
  return d;
}

TEST_F(AdpQueryEndToEnd, EveryOperatorOnEveryFieldTypeMatchesPlainSql) {
  static const char* kPrinter = "Printer jam";
  static const char* kEmpty = "";
  static const char* kLike = "Printer%";
  static const char* kSound = "Smith";
  static const char* kRaw = "status = 'open' and amount > 6";
  static const char* kQuote = "O'Brien call";
  static cmn_ty_decimal ten = dec("10.50", 2);
  static clktime when{};
  ASSERT_EQ(clk_time_str_to_clk_adj(0, "03/05/2004 14:07:09", &when), 0);
  utl_ty_col* in_ids = make(kLongs);
  for (long v : {3L, 5L, 99L, 11L}) utl_col_insert(in_ids, &v, nullptr);
  utl_ty_col* in_titles = make(kPtrs);
  for (const char* t : {"Tape", "Smyth", "none"}) utl_col_insert(in_titles, &t, nullptr);
  const struct {
    long field, op, value;
    const char* where;
  } rows[] = {
      {kObjid, ADP_OPR_GT, 9, "objid > 9"},
      {kObjid, ADP_OPR_GE, 9, "objid >= 9"},
      {kObjid, ADP_OPR_LT, 3, "objid < 3"},
      {kObjid, ADP_OPR_LE, 3, "objid <= 3"},
      {kObjid, ADP_OPR_EQ, 7, "objid = 7"},
      {kObjid, ADP_OPR_NE, 7, "objid != 7"},
      {kObjid, ADP_OPR_IN, reinterpret_cast<long>(in_ids), "objid in (3,5,11)"},
      {kObjid, ADP_OPR_ANY_BIT, 5, "objid & 5 != 0"},
      {kObjid, ADP_OPR_NO_BIT, 6, "objid & 6 = 0"},
      {kObjid, ADP_OPR_ANY_BIT, static_cast<long>(0x80000000UL), "objid & 2147483648 != 0"},
      {kTitle, ADP_OPR_EQ, reinterpret_cast<long>(kPrinter), "title = 'Printer jam'"},
      {kTitle, ADP_OPR_EQ, reinterpret_cast<long>(kQuote), "title = 'O''Brien call'"},
      {kTitle, ADP_OPR_NE, reinterpret_cast<long>(kPrinter), "title != 'Printer jam' or title is null"},
      {kTitle, ADP_OPR_EQ, reinterpret_cast<long>(kEmpty), "title is null or title = ''"},
      {kTitle, ADP_OPR_NE, reinterpret_cast<long>(kEmpty), "title is not null and title != ''"},
      {kTitle, ADP_OPR_LIKE, reinterpret_cast<long>(kLike), "title like 'Printer%'"},
      {kTitle, ADP_OPR_NOT_LIKE, reinterpret_cast<long>(kLike), "title not like 'Printer%'"},
      {kTitle, ADP_OPR_GT, reinterpret_cast<long>(kSound), "title > 'Smith'"},
      {kTitle, ADP_OPR_SOUNDEX, reinterpret_cast<long>(kSound), "soundex(title) = soundex('Smith')"},
      {kTitle, ADP_OPR_IN, reinterpret_cast<long>(in_titles), "title in ('Tape','Smyth','none')"},
      {kTitle, ADP_OPR_NULL, 0, "title is null"},
      {kTitle, ADP_OPR_NOT_NULL, 0, "title is not null"},
      {kTitle, ADP_OPR_RAW, reinterpret_cast<long>(kRaw), "status = 'open' and amount > 6"},
      {kAmount, ADP_OPR_GE, reinterpret_cast<long>(&ten), "amount >= 10.50"},
      {kAmount, ADP_OPR_LT, reinterpret_cast<long>(&ten), "amount < 10.50"},
      {kAmount, ADP_OPR_NULL, 0, "amount is null"},
      {kOpened, ADP_OPR_EQ, reinterpret_cast<long>(&when), "opened = '2004-03-05 14:07:09'"},
      {kOpened, ADP_OPR_GT, reinterpret_cast<long>(&when), "opened > '2004-03-05 14:07:09'"},
      {kOpened, ADP_OPR_NOT_NULL, 0, "opened is not null"},
  };
  for (const auto& r : rows) {
    adp_ty_qry_cond c{r.field, r.op, r.value};
    adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
    ids objects, id_list;
    long st = -1;
    answers(d, &objects, &id_list, &st);
    const ids expected = plain("select objid from table_case where " + std::string(r.where) + " order by objid");
    EXPECT_EQ(st, 0) << r.where;
    EXPECT_EQ(objects, expected) << r.where;
    EXPECT_EQ(id_list, expected) << r.where;
  }
  utl_col_free("test", in_ids);
  utl_col_free("test", in_titles);
}

TEST_F(AdpQueryEndToEnd, ObjectsCarryEveryFieldOfTheirOwnRow) {
  // Rows come from the service one at a time: a NULL after a value reads as
  // the empty value, never as the row before's. Cases 1 to 6 in id order.
  const struct {
    long id;
    const char *title, *status, *opened;
    double amount;
  } want[] = {
      {1, "Printer jam", "open", "03/05/2004 14:07:09", 10.5},
      {2, "Printer toner", "closed", "03/06/2004 10:00:00", 20.0},
      {3, "Network down", "open", "03/04/2004 09:00:00", 5.25},
      {4, "", "open", nullptr, 0.0},
      {5, "", "waiting", "01/01/2005 00:00:00", 100.0},
      {6, "O'Brien call", "open", "03/05/2004 14:07:09", 7.0},
  };
  adp_ty_qry_cond upto{kObjid, ADP_OPR_LE, 6};
  adp_ty_qry d{kCase, 1, &upto, ADP_QRY_JOIN_AND};
  for (long limit : {-1L, 2L}) {
    utl_ty_col* objs = make(kPtrs);
    ASSERT_EQ(adp_qry_simple(cid_, &d, nullptr, nullptr, limit, 0, 0, objs), 0);
    long n = 0;
    utl_col_num(objs, &n);
    EXPECT_EQ(n, limit < 0 ? 6 : limit);
    for (long i = 0; i < n; ++i) {
      void* slot = nullptr;
      utl_col_ith(objs, i, &slot);
      auto* o = *static_cast<dbs_ty_lobj**>(slot);
      obj_id id{};
      dbs_obj_oid_get(o, &id);
      const auto* w = std::find_if(std::begin(want), std::end(want), [&](const auto& x) { return x.id == id.num; });
      ASSERT_NE(w, std::end(want)) << id.num;
      long title = 0, status = 0, amount = 0, opened = 0;
      dbs_fld_get(o, kTitle, &title, nullptr);
      dbs_fld_get(o, kStatus, &status, nullptr);
      dbs_fld_get(o, kAmount, &amount, nullptr);
      dbs_fld_get(o, kOpened, &opened, nullptr);
      EXPECT_STREQ(reinterpret_cast<const char*>(title), w->title) << id.num;
      EXPECT_STREQ(reinterpret_cast<const char*>(status), w->status) << id.num;
      EXPECT_DOUBLE_EQ(std::strtod(reinterpret_cast<const cmn_ty_decimal*>(amount)->text, nullptr), w->amount)
          << id.num;
      clktime at{CLK_NULL_DAY, 0};
      if (w->opened != nullptr) {
        ASSERT_EQ(adp_time_str_to_clk(w->opened, &at), 0);
      }
      const auto* got = reinterpret_cast<const clktime*>(opened);
      EXPECT_EQ(got->day, at.day) << id.num;
      EXPECT_EQ(got->ticks, at.ticks) << id.num;
    }
    dbs_obj_free_local_col(nullptr, objs);
  }
}

TEST_F(AdpQueryEndToEnd, JoinFlagsOrderingsAndRowLimits) {
  static const char* kOpen = "open";
  adp_ty_qry_cond c[] = {{kStatus, ADP_OPR_EQ, reinterpret_cast<long>(kOpen)}, {kObjid, ADP_OPR_LT, 4}};
  adp_ty_qry and_d{kCase, 2, c, ADP_QRY_JOIN_AND};
  adp_ty_qry or_d{kCase, 2, c, 0};
  ids objects, id_list;
  long st = -1;
  answers(and_d, &objects, &id_list, &st);
  EXPECT_EQ(objects, plain("select objid from table_case where status = 'open' and objid < 4 order by objid"));
  answers(or_d, &objects, &id_list, &st);
  EXPECT_EQ(objects, plain("select objid from table_case where status = 'open' or objid < 4 order by objid"));

  qry_order by[] = {{kStatus, 1}, {kObjid, 0}};
  utl_ty_col* objs = make(kPtrs);
  ASSERT_EQ(dbs_qry_simple(cid_, &or_d, reinterpret_cast<void*>(intptr_t{2}), by, objs), 0);
  EXPECT_EQ(of_objects(objs),
            plain("select objid from table_case where status = 'open' or objid < 4 order by status desc, objid asc"));
  dbs_obj_free_local_col(nullptr, objs);
  for (long limit : {1L, 0L}) {
    objs = make(kPtrs);
    ASSERT_EQ(dbs_qry_simple_first(cid_, &or_d, reinterpret_cast<void*>(intptr_t{2}), by, limit, objs), 0);
    ids got = of_objects(objs);
    ids all = plain("select objid from table_case where status = 'open' or objid < 4 order by status desc, objid");
    all.resize(static_cast<size_t>(limit));
    EXPECT_EQ(got, all) << limit;
    dbs_obj_free_local_col(nullptr, objs);
  }
}

TEST_F(AdpQueryEndToEnd, CaseInsensitiveFieldsUseTheSearchColumn) {
  static const char* kUpper = "south";
  cid_->GetHeader()->flags |= 1;
  adp_ty_qry_cond c{kSiteName, ADP_OPR_EQ, reinterpret_cast<long>(kUpper)};
  adp_ty_qry d{kSite, 1, &c, ADP_QRY_JOIN_AND};
  utl_ty_col* idc = make(kLongs);
  qry_order by{kSiteName, 0};
  ASSERT_EQ(dbs_qry_simple_for_id(cid_, &d, reinterpret_cast<void*>(intptr_t{1}), &by, idc), 0);
  EXPECT_EQ(of_longs(idc), ids{2});
  cid_->GetHeader()->flags &= ~1UL;
  utl_col_reset(idc);
  ASSERT_EQ(dbs_qry_simple_for_id(cid_, &d, nullptr, nullptr, idc), 0);
  EXPECT_EQ(of_longs(idc), ids{2});  // the plain column holds "south"
  utl_col_free("test", idc);
}

TEST_F(AdpQueryEndToEnd, CountsAndTheirMissingRow) {
  static const char* kOpen = "open";
  adp_ty_qry_cond c{kStatus, ADP_OPR_EQ, reinterpret_cast<long>(kOpen)};
  adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
  long n = -1;
  ASSERT_EQ(dbs_qry_simple_num(cid_, &d, &n), 0);
  EXPECT_EQ(n, plain("select count(*) from table_case where status = 'open'").at(0));
  adp_ty_qry none{kCase, 0, nullptr, 0};
  ASSERT_EQ(dbs_qry_simple_num(cid_, &none, &n), 0);
  EXPECT_EQ(n, 12);
}

TEST_F(AdpQueryEndToEnd, IdListOfThreeHundredRunsInChunks) {
  std::string script = "insert into table_contact(objid, first_name) values ";
  for (long i = 100; i < 400; ++i) script += (i > 100 ? ",(" : "(") + std::to_string(i) + ",'x')";
  ASSERT_TRUE(db_.run(script + ";"));
  utl_ty_col* list = make(kLongs);
  for (long i = 399; i >= 100; --i) utl_col_insert(list, &i, nullptr);
  adp_ty_qry d{kContact, 0, nullptr, 0};
  utl_ty_col* objs = make(kPtrs);
  ASSERT_EQ(dbs_qry_simple_with_id(cid_, &d, nullptr, nullptr, list, 0, 299, objs), 0);
  EXPECT_EQ(sorted(of_objects(objs)), plain("select objid from table_contact where objid >= 100 order by objid"));
  dbs_obj_free_local_col(nullptr, objs);
  objs = make(kPtrs);
  EXPECT_EQ(dbs_qry_simple_with_id(cid_, &d, nullptr, nullptr, list, 5, 300, objs), ADP_QRY_BAD_RANGE);
  EXPECT_EQ(dbs_qry_simple_with_id(cid_, &d, nullptr, nullptr, list, 6, 5, objs), ADP_QRY_BAD_RANGE);
  // A limit counts over every chunk.
  ASSERT_EQ(adp_qry_simple_with_id2(cid_, &d, nullptr, nullptr, list, 0, 299, 150, objs, 0), 0);
  EXPECT_EQ(of_objects(objs).size(), 150u);
  dbs_obj_free_local_col(nullptr, objs);
  // In the order of the ids (object ids, descending here).
  utl_ty_col* oids = make(kObjIds);
  for (long i = 399; i >= 100; --i) {
    obj_id id{kContact, i, 0};
    utl_col_insert(oids, &id, nullptr);
  }
  objs = make(kPtrs);
  ASSERT_EQ(dbs_obj_get_col_order_by_id2(cid_, kContact, oids, 10, 209, objs, 0), 0);
  utl_col_free("test", oids);
  ids expected;
  for (long i = 389; i >= 190; --i) expected.push_back(i);
  EXPECT_EQ(of_objects(objs), expected);
  dbs_obj_free_local_col(nullptr, objs);
  utl_col_free("test", list);
}

TEST_F(AdpQueryEndToEnd, RelationQueriesInBothFormsFromBothSides) {
  adp_ty_qry all_cases{kCase, 0, nullptr, 0};
  adp_ty_qry all_sites{kSite, 0, nullptr, 0};
  adp_ty_qry all_contacts{kContact, 0, nullptr, 0};
  const struct {
    long from_type, from_num;
    const char* rel;
    adp_ty_qry* target;
    const char* sql;
  } rows[] = {
      {kSite, 1, "site2case", &all_cases, "select objid from table_case where case2site = 1"},
      {kSite, 4, "site2case", &all_cases, "select objid from table_case where case2site = 4"},
      {kCase, 3, "case2site", &all_sites, "select objid from table_site where objid = 2"},
      {kSite, 2, "site2contact", &all_contacts, "select objid from table_contact where objid in (2,3)"},
      {kContact, 2, "contact2site", &all_sites, "select objid from table_site where objid in (1,2)"},
  };
  for (const auto& r : rows) {
    obj_id from{r.from_type, r.from_num, 0};
    const long rel = rel_index(r.from_type, r.rel);
    ASSERT_GE(rel, 0) << r.rel;
    const ids expected = plain(std::string(r.sql) + " order by objid");
    utl_ty_col* objs = make(kPtrs);
    EXPECT_EQ(dbs_qry_relation(cid_, &from, rel, r.target, nullptr, nullptr, objs), 0) << r.rel;
    EXPECT_EQ(sorted(of_objects(objs)), expected) << r.rel;
    dbs_obj_free_local_col(nullptr, objs);
    utl_ty_col* idc = make(kLongs);
    EXPECT_EQ(dbs_qry_relation_for_id(cid_, &from, rel, r.target, nullptr, nullptr, idc), 0) << r.rel;
    EXPECT_EQ(sorted(of_longs(idc)), expected) << r.rel;
    utl_col_free("test", idc);
    long n = -1;
    EXPECT_EQ(dbs_qry_relation_num(cid_, &from, rel, r.target, &n), 0) << r.rel;
    EXPECT_EQ(n, static_cast<long>(expected.size())) << r.rel;
  }
}

TEST_F(AdpQueryEndToEnd, RelationQueriesFromDescribedObjects) {
  static const char* kLee = "Lee";
  // From the sites named "North" or "south" (a sub-select), and from the
  // objects 5 and 7 (the shortcut list).
  static const char* kNorth = "North";
  static const char* kSouth = "south";
  adp_ty_qry_cond by_name[] = {{kSiteName, ADP_OPR_EQ, reinterpret_cast<long>(kNorth)},
                               {kSiteName, ADP_OPR_EQ, reinterpret_cast<long>(kSouth)}};
  adp_ty_qry_cond lee{2, ADP_OPR_EQ, reinterpret_cast<long>(kLee)};
  adp_ty_qry_cond by_id[] = {{kObjid, ADP_OPR_EQ, 1}, {kObjid, ADP_OPR_EQ, 3}};
  adp_ty_qry_rel e[3] = {};
  e[0].from = {kSite, 2, by_name, 0};
  e[0].rel_id = rel_index(kSite, "site2case");
  e[0].target = {kCase, 0, nullptr, 0};
  e[1].from = {kSite, 2, by_id, 0};
  e[1].rel_id = rel_index(kSite, "site2case");
  e[1].target = {kCase, 0, nullptr, 0};
  e[2].from = {kSite, 2, by_name, 0};
  e[2].rel_id = rel_index(kSite, "site2contact");
  e[2].target = {kContact, 1, &lee, 0};
  utl_ty_col* cols = make(kPtrs);
  for (int i = 0; i < 3; ++i) {
    utl_ty_col* inner = make(kLongs);
    utl_col_push(cols, &inner, nullptr);
  }
  ASSERT_EQ(adp_qry_mult_rel_for_id(cid_, 3, reinterpret_cast<obj_id*>(e), 0, cols), 0);
  const char* expected[] = {"select objid from table_case where case2site in (1,2)",
                            "select objid from table_case where case2site in (1,3)",
                            "select objid from table_contact where objid in (1,3)"};
  for (long i = 0; i < 3; ++i) {
    void* slot = nullptr;
    utl_col_ith(cols, i, &slot);
    auto* inner = *static_cast<utl_ty_col**>(slot);
    EXPECT_EQ(sorted(of_longs(inner)), plain(std::string(expected[i]) + " order by objid")) << i;
    utl_col_free("test", inner);
  }
  utl_col_free("test", cols);
}

// The relation texts written into a statement of the caller, run and read
// by the caller: ids row by row, objects through the object reader.
TEST_F(AdpQueryEndToEnd, RelationTextsRunByTheCaller) {
  static const char* kLee = "Lee";
  static const char* kNorth = "North";
  static const char* kSouth = "south";
  adp_ty_qry_cond site1{kObjid, ADP_OPR_EQ, 1}, site2{kObjid, ADP_OPR_EQ, 2}, contact2{kObjid, ADP_OPR_EQ, 2};
  adp_ty_qry_cond case3{kObjid, ADP_OPR_EQ, 3}, lee{2, ADP_OPR_EQ, reinterpret_cast<long>(kLee)};
  adp_ty_qry_cond by_name[] = {{kSiteName, ADP_OPR_EQ, reinterpret_cast<long>(kNorth)},
                               {kSiteName, ADP_OPR_EQ, reinterpret_cast<long>(kSouth)}};
  adp_ty_qry one_site{kSite, 1, &site1, ADP_QRY_JOIN_AND}, site_two{kSite, 1, &site2, ADP_QRY_JOIN_AND};
  adp_ty_qry one_contact{kContact, 1, &contact2, ADP_QRY_JOIN_AND}, one_case{kCase, 1, &case3, ADP_QRY_JOIN_AND};
  adp_ty_qry named_sites{kSite, 2, by_name, 0}, lees{kContact, 1, &lee, ADP_QRY_JOIN_AND};
  adp_ty_qry contacts{kContact, 0, nullptr, 0}, sites{kSite, 0, nullptr, 0}, cases{kCase, 0, nullptr, 0};
  qry_order by_last_name{2, 1};
  const struct {
    adp_ty_qry* from;
    const char* rel;
    adp_ty_qry* target;
    long norder;
    bool objects;
    const char* sql;  // in the order expected when norder is set
  } rows[] = {
      {&one_site, "site2contact", &contacts, 0, false, "select objid from table_contact where objid in (1,2)"},
      {&site_two, "site2contact", &lees, 0, false, "select objid from table_contact where objid = 3"},
      {&one_site, "site2contact", &contacts, 1, false,
       "select objid from table_contact where objid in (1,2) order by last_name desc"},
      {&one_contact, "contact2site", &sites, 0, false, "select objid from table_site where objid in (1,2)"},
      {&named_sites, "site2case", &cases, 0, false, "select objid from table_case where case2site in (1,2)"},
      {&named_sites, "site2contact", &lees, 0, false, "select objid from table_contact where objid in (1,3)"},
      {&one_case, "case2site", &sites, 0, true, "select objid from table_site where objid = 2"},
      {&named_sites, "site2case", &cases, 0, true, "select objid from table_case where case2site in (1,2)"},
      {&site_two, "site2contact", &contacts, 0, true, "select objid from table_contact where objid in (2,3)"},
  };
  for (const auto& r : rows) {
    const long rel = rel_index(r.from->type_id, r.rel);
    ASSERT_GE(rel, 0) << r.rel;
    const std::string sql = r.sql;
    const ids expected = plain(r.norder > 0 ? sql : sql + " order by objid");
    void* stmt = nullptr;
    ASSERT_EQ(adp_sql_create(cid_, &stmt), 0);
    if (r.objects) {
      typ_sch_srec* target = nullptr;
      ASSERT_EQ(adp_sch_shandle_find(r.target->type_id, &target), 0);
      ASSERT_EQ(adp_qry_relation_non_mtm_sql(cid_, stmt, r.from, rel, r.target, r.norder, &by_last_name, 0, 0), 0)
          << r.sql;
      utl_ty_col* objs = make(kPtrs);
      EXPECT_EQ(adp_qry_process(cid_, stmt, r.target->type_id, target, -1, objs), 0) << r.sql;
      EXPECT_EQ(sorted(of_objects(objs)), expected) << r.sql;
      dbs_obj_free_local_col(nullptr, objs);
    } else {
      ASSERT_EQ(adp_qry_sql_rel_for_id(cid_, stmt, r.from, rel, r.target, r.norder, &by_last_name, 0), 0) << r.sql;
      utl_ty_col* idc = make(kLongs);
      EXPECT_EQ(adp_qry_non_block_results(stmt, -1, idc, 0), 0) << r.sql;
      EXPECT_EQ(r.norder > 0 ? of_longs(idc) : sorted(of_longs(idc)), expected) << r.sql;
      utl_col_free("test", idc);
    }
  }
  // On Oracle the SQL-batch form runs at once: one collection of objects
  // joins the caller's list.
  utl_ty_col* results = make(kPtrs);
  ASSERT_EQ(adp_qry_relation_sql(cid_, results, &named_sites, rel_index(kSite, "site2case"), &cases, 0, nullptr, 0, 1),
            0);
  ASSERT_EQ(results->count, 1);
  void* slot = nullptr;
  utl_col_ith(results, 0, &slot);
  auto* objs = *static_cast<utl_ty_col**>(slot);
  EXPECT_EQ(sorted(of_objects(objs)), plain("select objid from table_case where case2site in (1,2) order by objid"));
  dbs_obj_free_local_col(nullptr, objs);
  utl_col_free("test", results);
}

TEST_F(AdpQueryEndToEnd, AggregatesWithGroupBy) {
  adp_ty_qry_agg aggs[] = {{5, nullptr, kObjid, 512, 8}, {4, nullptr, kAmount, 766, 64}};
  adp_ty_qry_agg_list list{2, aggs};
  long group_field = kStatus;
  qry_order by{kStatus, 0};
  adp_ty_qry_group group{1, &group_field, 1, &by};
  adp_ty_qry d{kCase, 0, nullptr, 0};
  utl_ty_col* result = nullptr;
  utl_col_make("test", kPtrs, 4, 4, 0, 0, &result);
  ASSERT_EQ(dbs_qry_aggregate(cid_, &d, &list, &group, result), 0);
  long ncols = 0;
  utl_col_num(result, &ncols);
  ASSERT_EQ(ncols, 3);
  void* slot = nullptr;
  utl_col_ith(result, 0, &slot);
  EXPECT_EQ(of_longs(*static_cast<utl_ty_col**>(slot)),
            plain("select count(objid) from table_case group by status order by status"));
}

// Power queries through the store: the text built into the query object,
// its ids compared with plain SQL.
class AdpPowerEndToEnd : public AdpQueryEndToEnd {
 protected:
  static constexpr long kQueryType = 40;
  ids run(long type, std::vector<dbs_ty_pwr_cond> conds, long and_flag, const std::vector<const char*>& sorts,
          std::string* text, long* status) {
    dbs_ty_pwr_list list{type, static_cast<long>(conds.size()), conds.data(), and_flag, nullptr,
                         static_cast<long>(conds.size())};
    adp_ty_pwr_sort s{static_cast<long>(sorts.size()), const_cast<const char**>(sorts.data()), 0};
    dbs_ty_lobj* q = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, kQueryType, &q), 0);
    *status = dbs_pwr_qry_construct2(cid_, &list, nullptr, sorts.empty() ? nullptr : &s, q, 2);
    long v = 0;
    dbs_fld_get(q, 6, &v, nullptr);
    *text = v != 0 ? reinterpret_cast<const char*>(v) : "";
    utl_ty_col* idc = make(kLongs);
    if (*status == 0) *status = dbs_pwr_qry_execute(cid_, q, idc);
    ids out = of_longs(idc);
    utl_col_free("test", idc);
    dbs_obj_free_local(nullptr, q);
    return out;
  }
};

TEST_F(AdpPowerEndToEnd, PathsAliasesRecursionsLinkTablesAndOrGroups) {
  const struct {
    long type;
    std::vector<dbs_ty_pwr_cond> conds;
    long and_flag;
    const char* sql;
  } rows[] = {
      {kCase, {{"status", 4, "open"}, {"amount", 1, "7"}}, 1,
       "select objid from table_case where status = 'open' and amount >= 7"},
      {kCase, {{"case2site:name", 4, "North"}}, 1,
       "select c.objid from table_case c join table_site s on s.objid = c.case2site where s.name = 'North'"},
      {kCase, {{"case2site(2):name", 6, "Nor"}, {"case2site:objid", 4, "1"}}, 1,
       "select c.objid from table_case c join table_site s on s.objid = c.case2site where s.objid = 1"},
      {kCase, {{"case2site:name", 9, "('North','East')"}, {"case2site:name", 9, "('south')"}, {"title", 8, "a"}}, 1,
       "select c.objid from table_case c join table_site s on s.objid = c.case2site"
       " where s.name in ('North','East','south') and c.title like '%a%'"},
      {kSite, {{"parent:parent:name", 4, "North"}}, 1,
       "select s.objid from table_site s join table_site p on p.objid = s.parent join table_site g on g.objid = "
       "p.parent where g.name = 'North'"},
      {kSite, {{"site2contact:last_name", 4, "Lee"}}, 1,
       "select distinct l.objid from table_site l join @LINK where k.last_name = 'Lee'"},
      {kSite, {{"site2case", 18, ""}}, 1,
       "select objid from table_site s where not exists (select 1 from table_case c where c.case2site = s.objid)"},
      {kCase, {{"title", 16, "Smith"}, {"amount", 10, "1 and 10"}}, 0,
       "select objid from table_case where soundex(title) = soundex('Smith') or amount between 1 and 10"},
  };
  typ_sch_rrec* mtm = relation(kSite, "site2contact");
  ASSERT_NE(mtm, nullptr);
  const bool site_p = mtm->pschema != nullptr && mtm->pschema->type_id == kSite;
  const std::string link = std::string(mtm->mtm_table) + " m on m." + (site_p ? mtm->pname : mtm->fname) +
                           " = l.objid join table_contact k on k.objid = m." + (site_p ? mtm->fname : mtm->pname);
  for (const auto& r : rows) {
    std::string sql = r.sql;
    if (size_t at = sql.find("@LINK"); at != std::string::npos) sql.replace(at, 5, link);
    std::string text;
    long st = -1;
    const ids got = sorted(run(r.type, r.conds, r.and_flag, {}, &text, &st));
    EXPECT_EQ(st, 0) << text;
    EXPECT_EQ(got, sorted(plain(sql))) << text;
  }
}

TEST_F(AdpPowerEndToEnd, SortKeysKeepTheOrderWithoutDuplicates) {
  std::string text;
  long st = -1;
  const ids got = run(kSite, {{"site2case:status", 4, "open"}}, 1, {"name"}, &text, &st);
  ASSERT_EQ(st, 0) << text;
  EXPECT_EQ(text.rfind("select tta.objid", 0), 0u) << text;
  EXPECT_EQ(got, plain("select s.objid from table_site s where exists (select 1 from table_case c where "
                       "c.case2site = s.objid and c.status = 'open') order by s.name"));
  long count = -1;
  ASSERT_EQ(adp_pwr_trend_qry_execute(cid_, text.c_str(), &count), 0);
  EXPECT_EQ(count, static_cast<long>(got.size()));
}

TEST_F(AdpPowerEndToEnd, RelativeDates) {
  ASSERT_TRUE(db_.run("insert into table_case(objid, title, opened) values"
                      " (101,'today noon', curdate() + interval 12 hour),"
                      " (102,'yesterday noon', curdate() - interval 12 hour),"
                      " (103,'two days ago', curdate() - interval 36 hour),"
                      " (104,'an hour ago', now() - interval 1 hour),"
                      " (105,'five hours ago', now() - interval 5 hour);"));
  const struct {
    long op;
    const char* value;
    const char* sql;
  } rows[] = {
      {19, "", "opened >= curdate() and opened < curdate() + interval 1 day"},
      {20, "", "opened >= curdate() - interval 1 day and opened < curdate()"},
      {21, "2", "opened >= curdate() - interval 1 day and opened < curdate() + interval 1 day"},
      {22, "3", "opened >= now() - interval 3 hour and opened <= now()"},
  };
  for (const auto& r : rows) {
    std::string text;
    long st = -1;
    const ids got = sorted(run(kCase, {{"opened", r.op, r.value}}, 1, {}, &text, &st));
    EXPECT_EQ(st, 0) << text;
    EXPECT_EQ(got, plain(std::string("select objid from table_case where ") + r.sql + " order by objid")) << text;
  }
}

}  // namespace
