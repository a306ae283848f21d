// Relative-date conditions ("today", "yesterday", "within last (days)",
// "within last (hours)") for each server family. The offsets come from the
// clock's client/server differences: a (client/server) and b (client to
// master). The SQL Server texts are kept exactly as the servers' scripts
// expect them.
#include <cstdio>

#include "adapter/adp_pwr.h"
#include "core/clk/clk_srv.h"
#include "core/osl/osl_loc.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr long kMinutesPerDay = 1440;
constexpr long kMinutesPerHour = 60;
constexpr double kHoursPerDay = 24.0;

struct diffs {
  long a = 0;
  long b = 0;
};

long clock_diffs(diffs* d) { return clk_time_master_client_diff(&d->a, &d->b); }

// The Oracle texts are written with "." as decimal symbol.
struct plain_numbers {
  plain_numbers() { osl_loc_disable_loc_num(); }
  ~plain_numbers() { osl_loc_enable_loc_num(); }
  plain_numbers(const plain_numbers&) = delete;
  plain_numbers& operator=(const plain_numbers&) = delete;
};

constexpr const char* kOraToday =
    "((sysdate+%f)-((sysdate+%f)-(to_date(to_char((sysdate+%f),'DD/MM/YYYY'),'DD/MM/YYYY')))+ %f) and (%s%s%s < "
    "((sysdate + %f) -((sysdate + %f)-(to_date(to_char((sysdate + %f),'DD/MM/YYYY'),'DD/MM/YYYY'))) +%f ))";
constexpr const char* kOraYesterday =
    "((sysdate+%f) -((sysdate+ %f)-(to_date(to_char((sysdate + %f),'DD/MM/YYYY'),'DD/MM/YYYY')))+%f) and (%s%s%s < "
    "((sysdate + %f) -((sysdate + %f)-(to_date(to_char((sysdate + %f),'DD/MM/YYYY'),'DD/MM/YYYY'))) + %f))";
constexpr const char* kOraDays =
    "((sysdate+%f) -((sysdate+ %f)-(to_date(to_char((sysdate + %f),'DD/MM/YYYY'),'DD/MM/YYYY'))) + %f) and (%s%s%s < "
    "((sysdate + %f) -((sysdate + %f)-(to_date(to_char((sysdate + %f),'DD/MM/YYYY'),'DD/MM/YYYY'))) +%f))";
constexpr const char* kOraHours =
    "TO_DATE(TO_CHAR((sysdate - (%f)), 'DD/MON/YYYYHH24:MI'), 'DD/MON/YYYYHH24:MI')and (%s%s%s <= (sysdate + %f))";

// The grouped-path writer's SQL Server forms (whole minutes).
constexpr const char* kOleTodayA =
    "(dateadd(mi,%ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),(dateadd(hh, -(datepart(hh,(dateadd(mi, "
    "%ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))";
constexpr const char* kOleTodayB =
    "(dateadd(mi, %ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),(dateadd(hh, -(datepart(hh,(dateadd(mi, "
    "%ld,getdate())))),(dateadd(mi,%ld,getdate())))))))))";
constexpr const char* kOleYesterdayA =
    "(dateadd(mi, -1440,(dateadd(mi, %ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),(dateadd(hh, "
    "-(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))))";
constexpr const char* kOleYesterdayB =
    "(dateadd(mi,%ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),(dateadd(hh, -(datepart(hh,(dateadd(mi, "
    "%ld,getdate())))),(dateadd(mi,%ld,getdate())))))))))";
constexpr const char* kOleDaysA =
    "(dateadd(mi, %ld,(dateadd(mi, %ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),(dateadd(hh, "
    "-(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))))";
constexpr const char* kOleHoursA = "(dateadd(mi, %ld,(dateadd(mi,%ld,(dateadd(mi, %ld,getdate()))))))";
constexpr const char* kOleHoursB = "(dateadd(mi, %ld,(dateadd(mi,%ld,getdate())))))";

// The SQL Server dialect's forms (to the millisecond).
constexpr const char* kMsTodayA =
    "(dateadd(ms,%ld,(dateadd(ms, -(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,(dateadd(ss, "
    "-(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi,%ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate()))"
    ")),(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))))))))))";
constexpr const char* kMsTodayB =
    "(dateadd(mi, %ld,(dateadd(ms,%ld,(dateadd(ms, -(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,"
    "(dateadd(ss, -(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),"
    "(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate())))))))))))))))))";
constexpr const char* kMsYesterdayA =
    "(dateadd(mi, -1440,(dateadd(ms,%ld,(dateadd(ms,-(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,"
    "(dateadd(ss, -(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi, %ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,"
    "%ld,getdate())))),(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))))"
    "))))))))";
constexpr const char* kMsYesterdayB =
    "(dateadd(ms,%ld,(dateadd(ms,-(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,(dateadd(ss, "
    "-(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi,%ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate()))"
    ")),(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate())))))))))))))))))";
constexpr const char* kMsDaysA =
    "(dateadd(mi, %ld,(dateadd(ms,%ld,(dateadd(ms,-(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,"
    "(dateadd(ss, -(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi, %ld,(dateadd(mi, -(datepart(mi,(dateadd(mi,"
    "%ld,getdate())))),(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate()))))))))))"
    "))))))))";
constexpr const char* kMsDaysB =
    "(dateadd(mi,%ld,(dateadd(ms,%ld,(dateadd(ms,-(datepart(ms,(dateadd(ms,%ld,getdate())))),(dateadd(ss,%ld,"
    "(dateadd(ss, -(datepart(ss,(dateadd(ss,%ld,getdate())))),(dateadd(mi, -(datepart(mi,(dateadd(mi,%ld,getdate())))),"
    "(dateadd(hh, -(datepart(hh,(dateadd(mi, %ld,getdate())))),(dateadd(mi,%ld,getdate())))))))))))))))))";

long tail(char** end, const char* q, const char* s, const char* f, const char* cmp) {
  if (long st = adp_pwr_string_append_five(end, "AND", "(", q, s, f)) return st;
  return adp_pwr_string_append(end, cmp);
}

// The SQL Server offsets in whole minutes (quotients truncated toward
// zero) and the value's count.
struct minutes {
  long a = 0;
  long b = 0;
  long n = 0;
};

long minute_offsets(const char* value, minutes* m) {
  diffs d;
  if (long st = clock_diffs(&d)) return st;
  if (long st = adp_pwr_count_value(value, &m->n)) return st;
  m->a = -(d.a / 60);
  m->b = -(d.b / 60);
  return 0;
}

long last_hours(char** end, const minutes& m, const char* q, const char* s, const char* f) {
  if (long st = adp_pwr_sprintf_append(end, kOleHoursA, -kMinutesPerHour * m.n, m.b, m.a)) return st;
  if (long st = tail(end, q, s, f, "<=")) return st;
  return adp_pwr_sprintf_append(end, kOleHoursB, m.b, m.a);
}

}  // namespace

long adp_pwr_reldate_oracle(char** end, long op, const char* value, const char* q, const char* s, const char* f) {
  diffs d;
  if (long st = clock_diffs(&d)) return st;
  long n = 0;
  if (long st = adp_pwr_count_value(value, &n)) return st;
  const bool given = value != nullptr && value[0] != '\0';
  const double d1 = d.a != 0 ? d.a / -kSecondsPerDay : 0.0;
  const double d2 = d.b != 0 ? d.b / -kSecondsPerDay : 0.0;
  plain_numbers plain;
  switch (op) {
    case ADP_PWR_TODAY:
      return adp_pwr_sprintf_append(end, kOraToday, d1, d1, d1, d2, q, s, f, d1 + 1, d1 + 1, d1 + 1, d2);
    case ADP_PWR_YESTERDAY:
      return adp_pwr_sprintf_append(end, kOraYesterday, d1, d1, d1, d2 - 1, q, s, f, d1 + 1, d1 + 1, d1 + 1, d2 - 1);
    case ADP_PWR_LAST_DAYS: {
      const double e = given ? d1 - static_cast<double>(n - 1) : d1;
      return adp_pwr_sprintf_append(end, kOraDays, e, e, e, d2, q, s, f, d1 + 1, d1 + 1, d1 + 1, d2);
    }
    default: {
      // Hours as a fraction of a day.
      const double t = given ? static_cast<double>(n) / kHoursPerDay - (d1 + d2) : d2;
      return adp_pwr_sprintf_append(end, kOraHours, t, q, s, f, d1 + d2);
    }
  }
}

long adp_pwr_reldate_oledb(char** end, long op, const char* value, const char* q, const char* s, const char* f) {
  minutes m;
  if (long st = minute_offsets(value, &m)) return st;
  const long a = m.a, b = m.b;
  long st = 0;
  switch (op) {
    case ADP_PWR_TODAY:
      if ((st = adp_pwr_sprintf_append(end, kOleTodayA, b, a, a, a)) || (st = tail(end, q, s, f, "<="))) return st;
      return adp_pwr_sprintf_append(end, kOleTodayB, b + kMinutesPerDay, a, a, a);
    case ADP_PWR_YESTERDAY:
      if ((st = adp_pwr_sprintf_append(end, kOleYesterdayA, b, a, a, a)) || (st = tail(end, q, s, f, "<="))) return st;
      return adp_pwr_sprintf_append(end, kOleYesterdayB, b, a, a, a);
    case ADP_PWR_LAST_DAYS:
      if ((st = adp_pwr_sprintf_append(end, kOleDaysA, m.n != 0 ? -kMinutesPerDay * (m.n - 1) : 0, b, a, a, a)) ||
          (st = tail(end, q, s, f, "<=")))
        return st;
      return adp_pwr_sprintf_append(end, kOleYesterdayB, b + kMinutesPerDay, a, a, a);
    default: return last_hours(end, m, q, s, f);
  }
}

long adp_pwr_reldate_quill(char** end, long op, const char* value, const char* q, const char* s, const char* f) {
  diffs d;
  if (long st = clock_diffs(&d)) return st;
  if (op == ADP_PWR_TODAY || op == ADP_PWR_YESTERDAY) {
    const long g = op == ADP_PWR_TODAY ? d.b : d.b - 86400;
    return adp_pwr_sprintf_append(end,
                                  "(timestamp(date(current timestamp + %ld seconds), '00.00.00')) + %ld seconds \n"
                                  "                    AND (%s%s%s < (timestamp(date(current timestamp + %ld "
                                  "seconds), '00.00.00')) + %ld seconds)",
                                  d.a, g, q, s, f, d.a + 86400, g);
  }
  long n = 0;
  if (long st = adp_pwr_count_value(value, &n)) return st;
  return adp_pwr_sprintf_append(end, "(current timestamp - %ld %s) and (%s%s%s < current timestamp)", n,
                                op == ADP_PWR_LAST_DAYS ? "days" : "hours", q, s, f);
}

long adp_pwr_reldate_mssql_dialect(char** end, long op, const char* value, const char* q, const char* s,
                                   const char* f) {
  minutes m;
  if (long st = minute_offsets(value, &m)) return st;
  const long a = m.a, b = m.b;
  long st = 0;
  switch (op) {
    case ADP_PWR_TODAY:
      if ((st = adp_pwr_sprintf_append(end, kMsTodayA, b, a, b, a, b, a, a, a)) || (st = tail(end, q, s, f, "<")))
        return st;
      return adp_pwr_sprintf_append(end, kMsTodayB, b + kMinutesPerDay, a, a, a, a, a, a, a);
    case ADP_PWR_YESTERDAY:
      if ((st = adp_pwr_sprintf_append(end, kMsYesterdayA, b, a, a, a, b, a, a, a)) || (st = tail(end, q, s, f, "<")))
        return st;
      return adp_pwr_sprintf_append(end, kMsYesterdayB, b, a, a, a, b, a, a, a);
    case ADP_PWR_LAST_DAYS:
      if ((st = adp_pwr_sprintf_append(end, kMsDaysA, m.n != 0 ? -kMinutesPerDay * (m.n - 1) : 0, b, a, a, a, b, a,
                                       a, a)) ||
          (st = tail(end, q, s, f, "<")))
        return st;
      return adp_pwr_sprintf_append(end, kMsDaysB, b + kMinutesPerDay, a, a, a, a, a, a, a);
    default: return last_hours(end, m, q, s, f);
  }
}
