#include "adapter/dialects/adp_dbop_ora.h"

#include "adapter/dialects/adp_dbop_time.h"
#include "kclassic/kc_zstr.h"

KAdpOraOperation::KAdpOraOperation(KAdpConnId* con) {
  KAdpOraOperation::Initialize();
  SetConnection(con);
}

long KAdpOraOperation::AdpTimeClkToStr(const clktime* time, char* out) {
  return adp_dbop_clk_text(time, out, "%ld/%ld/%ld %.2ld:%.2ld:%.2ld");
}

long KAdpOraOperation::AdpTimeStrToClk(const char* text, clktime* out) {
  return adp_dbop_read_text(text, out, "adp_time_str_to_clk");
}
