// The SQL Server dialect.
#pragma once

#include "adapter/dialects/adp_dbop.h"

class ORB_API KAdpMssqlOperation : public KAdpDbOperation {
 public:
  explicit KAdpMssqlOperation(KAdpConnId* con);
  void Initialize() override;
  // YYYY-MM-DD HH:MM:SS; the unset time as 1753-01-01 00:00:00.
  long AdpTimeClkToStr(const clktime* time, char* out) override;
  // YYYY-MM-DD or MM/DD/YYYY, a time of day, and a fraction of a second
  // counted by its digits (".5" is 150 ticks); null text: the unset time.
  long AdpTimeStrToClk(const char* text, clktime* out) override;
};
