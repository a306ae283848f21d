// Set-up of the Oracle-dialect service tests.
#include "adapter/ds_ora_fixture.h"

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"

std::string ds_ora_dll() { return std::string(ADP_DATASVC_DIR) + "/OraDataSvc.DLL"; }

void ds_ora_test::SetUp() {
  adp_test::SetUp();
  socket_ = db_.socket();
  database_ = db_.name();
  ASSERT_FALSE(socket_.empty()) << db_.problem();
  svc_ = open_connected();
  ASSERT_NE(svc_, nullptr);
}

void ds_ora_test::TearDown() {
  for (KCLASSIC::tagPpmDataSvc* s : services_) s->Release(0);
  services_.clear();
  configs_.clear();
  for (char* b : bytes_) KCLASSIC::KBinSysFreeString(b);
  bytes_.clear();
  adp_test::TearDown();
  EXPECT_TRUE(db_.drop());
}

void ds_ora_test::point_at(KAdpConfig& cfg, const std::string& server) const {
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(2), server.c_str());
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(15), database_.c_str());
}

KCLASSIC::tagPpmDataSvc* ds_ora_test::open(const std::string& server, bool utf8) {
  auto cfg = std::make_unique<KAdpConfig>("oracle");
  cfg->SetPOrbDllName(4, ds_ora_dll().c_str());
  point_at(*cfg, server);
  cfg->SetUTF8Flag(utf8 ? 1 : 0);
  void* handle = nullptr;
  KCLASSIC::tagPpmDataSvc* s = nullptr;
  ds_error e = error_of([&] { s = cfg->LoadService(ds_ora_dll().c_str(), handle); });
  EXPECT_EQ(e.number, 0) << e.text1 << " " << e.text2;
  if (s != nullptr) services_.push_back(s);
  configs_.push_back(std::move(cfg));
  return s;
}

KCLASSIC::tagPpmDataSvc* ds_ora_test::open_connected(bool utf8) {
  KCLASSIC::tagPpmDataSvc* s = open(socket_, utf8);
  if (s == nullptr) return nullptr;
  ds_error e = error_of([&] { s->Connect("root", "", nullptr); });
  EXPECT_EQ(e.number, 0) << e.text1 << " " << e.text2;
  return e.number == 0 ? s : nullptr;
}

long ds_ora_test::exec(const std::string& sql, KCLASSIC::tagPpmDataSvc* svc) {
  long rows = -5;
  (svc ? svc : svc_)->ExecStatement(nullptr, sql.c_str(), &rows);
  return rows;
}

std::unique_ptr<KAdpUtlRecord> ds_ora_test::query(const std::string& sql, KCLASSIC::tagPpmDataSvc* svc) {
  auto rec = std::make_unique<KAdpUtlRecord>();
  (svc ? svc : svc_)->ExecQuery(nullptr, sql.c_str(), *rec);
  return rec;
}

std::string ds_ora_test::cell(KAdpUtlRecord& r, long row, long col) {
  if (r.GetColCellType(col) == KCLASSIC::UTL_CELL_LONG) return std::to_string(r.GetLongVal(row, col));
  const char* t = nullptr;
  r.GetStringPtr(row, col, t);
  return t != nullptr ? t : "<null>";
}

void ds_ora_test::start_batch(const std::vector<ds_stmt>& stmts, KCLASSIC::tagPpmDataSvc* svc) {
  KCLASSIC::KStringArray texts;
  KAdpUtlRecord binds;
  binds.SetColType(0, 0, "vars", KCLASSIC::UTL_DB_RECORD);
  for (size_t i = 0; i < stmts.size(); ++i) {
    texts.Add(KCLASSIC::KZString(stmts[i].sql.c_str()));
    KAdpUtlRecord one;
    one.SetColType(0, 0, "marker", 6);
    one.SetColType(1, 0, "value", 15);
    one.SetColType(2, 0, "buffer", 6);
    one.SetColType(3, 0, "type", 0);
    for (size_t j = 0; j < stmts[i].binds.size(); ++j) {
      const ds_bind& b = stmts[i].binds[j];
      long row = static_cast<long>(j);
      one.SetString(row, 0, b.marker.c_str());
      one.SetLong(row, 3, b.type);
      if (b.type == KCLASSIC::UTL_DB_BSTR) {
        char* bytes = KCLASSIC::KBinSysAllocStringByteLen(b.value.data(), static_cast<unsigned>(b.value.size()));
        bytes_.push_back(bytes);
        one.SetVoidPtr(row, 1, bytes);
      } else {
        one.SetString(row, 2, b.value.c_str());
        one.SetVoidPtr(row, 1, const_cast<char*>(one.GetString(row, 2)));
      }
    }
    binds.SetRecord(static_cast<long>(i), 0, one, 1);
  }
  KCLASSIC::tagPpmStats stats;
  (svc ? svc : svc_)->StartBatch(&texts, &binds, &stats);
}

long ds_ora_test::fetch(KCLASSIC::tagPpmDataSvc* svc) {
  long rows = -1;
  (svc ? svc : svc_)->FetchNextSet(0, rows);
  return rows;
}

long ds_ora_test::run(const ds_stmt& stmt, KCLASSIC::tagPpmDataSvc* svc) {
  start_batch({stmt}, svc);
  return fetch(svc);
}
