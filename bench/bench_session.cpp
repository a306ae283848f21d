#include "bench_session.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sch_load.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_main.h"
#include "core/utl/utl_main.h"
#include "schema/typ_sch.h"
#include "store/dbs_main.h"
#include "testdb/testdb_database.h"

void bench_fail(const char* program, const char* what) {
  std::fprintf(stderr, "%s: %s\n", program, what);
  std::exit(1);
}

KAdpConnId* bench_open_session(testdb::database& db, const char* program) {
  if (dlopen(ORB_DATASVC_DIR "/libOraDataSvc.so", RTLD_NOW | RTLD_GLOBAL) == nullptr) bench_fail(program, dlerror());
  if (cmn_main_init() != 0 || utl_main_init() != 0 || clk_main_init() != 0 || typ_main_init() != 0 ||
      dbs_main_init() != 0)
    bench_fail(program, "start-up");
  adp_db_set_db_driver("oracle");
  KAdpConnId* cid = nullptr;
  if (adp_db_alloc_conn(db.socket().c_str(), "root", "bench", &cid, 0) != 0) bench_fail(program, "connection");
  KAdpConfig& cfg = cid->GetConfig();
  cfg.SetPOrbDllName(cfg.GetPropertyLong(static_cast<KAdpConfig::long_type>(4)), ORB_DATASVC_DIR "/OraDataSvc.DLL");
  cfg.SetPropertyStr(static_cast<KAdpConfig::str_type>(15), db.name().c_str());
  if (adp_db_connect(db.socket().c_str(), "root", "", "bench", 0, &cid, 0) != 0) bench_fail(program, "connect");
  if (typ_sch_alloc() != 0 || adp_db_open(cid, "crm") != 0 || adp_db_get_header(cid, cid->GetHeader()) != 0)
    bench_fail(program, "open");
  if (adp_sch_alloc() != 0 || adp_sch_types_init(cid, nullptr) != 0 || adp_sch_read_all(cid, nullptr) != 0)
    bench_fail(program, "dictionary");
  return cid;
}
