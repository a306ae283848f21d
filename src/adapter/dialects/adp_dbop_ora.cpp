#include "adapter/dialects/adp_dbop_ora.h"

#include "adapter/dialects/adp_dbop_time.h"
#include "kclassic/kc_zstr.h"

KAdpOraOperation::KAdpOraOperation(KAdpConnId* con) {
  KAdpOraOperation::Initialize();
  SetConnection(con);
}

void KAdpOraOperation::Initialize() {
  put_str(34, "MM/DD/YYYY HH24:MI:SS");
  put_str(35, "%m/%d/%Y %H:%M:%S");
  KCLASSIC::KZString comments;
  comments.Format("select TO_CHAR(time, '%s'), comments from adp_db_comments",
                  GetDbSpecificStr(static_cast<str_type>(34)));
  put_str(0, comments);
}

long KAdpOraOperation::AdpTimeClkToStr(const clktime* time, char* out) {
  return adp_dbop_clk_text(time, out, "%ld/%ld/%ld %.2ld:%.2ld:%.2ld");
}

long KAdpOraOperation::AdpTimeStrToClk(const char* text, clktime* out) {
  return adp_dbop_read_text(text, out, "adp_time_str_to_clk");
}
