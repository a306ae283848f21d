// The Oracle dialect.
#pragma once

#include "adapter/dialects/adp_dbop.h"

class ORB_API KAdpOraOperation : public KAdpDbOperation {
 public:
  explicit KAdpOraOperation(KAdpConnId* con);
  void Initialize() override;
  // MM/DD/YYYY HH:MM:SS; the unset time as 1/1/1753 00:00:00.
  long AdpTimeClkToStr(const clktime* time, char* out) override;
  // month/day/year [hour[:minute[:second]]]; else 0x600013.
  long AdpTimeStrToClk(const char* text, clktime* out) override;
  KCLASSIC::KZString DbGetAdpDbHeader1() override;
  long SchConvertDbType(const char* type_text) override;
};
