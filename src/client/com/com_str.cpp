// The "com" message list (subsystem 51, ids 12000 to 12099): the rule
// builder's alerts, operators, time units and prefixes, in texts of our own.
#include <string>

#include "client/com/com_rbld.h"
#include "client/ost/ost_msgtab.h"

namespace {

struct fixed_row {
  long index;
  signed char nargs;
  const char* text;
};

const fixed_row kFixed[] = {
    {4, 1, "Rule condition operator '%s' was not found."},
    {6, 0, "A rule with the same name and object type already exists."},
    {7, 0, "A rule needs at least one start event."},
    {8, 1, "An object without an id was saved (%s)."},
    {13, 0, "A rule needs at least one action."},
    {34, 0, "is equal to"},
    {35, 0, "is not equal to"},
    {36, 0, "is greater than"},
    {37, 0, "is greater than or equal to"},
    {38, 0, "is less than"},
    {39, 0, "is less than or equal to"},
    {40, 0, "contains"},
    {41, 0, "does not contain"},
    {42, 0, "starts with"},
    {43, 0, "ends with"},
    {44, 0, "is empty"},
    {45, 0, "is not empty"},
    {46, 0, "is in list"},
    {47, 0, "is not in list"},
    {82, 0, "Minutes"},
    {83, 0, "Hours"},
    {84, 0, "Days"},
    {85, 0, "Built-in unit "},
    {86, 0, "User-defined unit "},
};

// Made once: the registered texts must stay where they are.
const ost_ty_msg_row (&rows())[COM_NUM_MSGS] {
  static std::string texts[COM_NUM_MSGS];
  static ost_ty_msg_row made[COM_NUM_MSGS];
  for (long i = 0; i < COM_NUM_MSGS; ++i) {
    texts[i] = "Rule builder message " + std::to_string(COM_FIRST_ID + i) + ".";
    made[i] = {0, texts[i].c_str()};
  }
  for (const fixed_row& f : kFixed) made[f.index] = {f.nargs, f.text};
  return made;
}

}  // namespace

long com_str_init() {
  static const ost_ty_msg_tables<COM_NUM_MSGS> tables(rows());
  return ost_msg_install("com", COM_SUBSYS, COM_FIRST_ID, COM_LAST_ID, tables);
}
