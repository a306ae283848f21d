// The "gen" message list (subsystem 29, ids 6600 to 6943): the numbering
// scheme's alerts, the condition-code names and the "Upgrade" activity name
// the application services read from it, and texts of our own for the rows
// this system does not use.
#include <iterator>
#include <string>

#include "client/gen/gen_num.h"
#include "client/ost/ost_msgtab.h"

namespace {

constexpr long kNoSchemeRow = 207;
constexpr long kTooLongRow = 343;
constexpr long kUpgradeRow = 247;
// The condition-code names the application services read from this list.
constexpr long kFirstConditionRow = 163;
const char* const kConditionNames[] = {"New",      "Open",      "Closed",  "Dispatched",         "Rejected",
                                       "Forwarded", "No Link", "Temporarily Opened", "Returned"};

// Made once: the registered texts must stay where they are.
const ost_ty_msg_row (&rows())[GEN_NUM_MSGS] {
  static std::string texts[GEN_NUM_MSGS];
  static ost_ty_msg_row made[GEN_NUM_MSGS];
  for (long i = 0; i < GEN_NUM_MSGS; ++i) {
    texts[i] = "Application message " + std::to_string(GEN_FIRST_ID + i) + ".";
    made[i] = {0, texts[i].c_str()};
  }
  for (long i = 0; i < static_cast<long>(std::size(kConditionNames)); ++i)
    made[kFirstConditionRow + i] = {0, kConditionNames[i]};
  made[kUpgradeRow] = {0, "Upgrade"};
  made[kNoSchemeRow] = {1, "The numbering scheme %s does not exist.  Please check with your database administrator"};
  made[kTooLongRow] = {2, "The number of template '%s' does not fit in %ld bytes."};
  return made;
}

const ost_ty_msg_tables<GEN_NUM_MSGS>& tables() {
  static const ost_ty_msg_tables<GEN_NUM_MSGS> built(rows());
  return built;
}

}  // namespace

long gen_str_init() { return ost_msg_install("gen", GEN_SUBSYS, GEN_FIRST_ID, GEN_LAST_ID, tables()); }
