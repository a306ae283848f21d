// The adapter's message list: our own compiled-in texts, the argument counts
// and flag bytes, and its registration.
#include <string>

#include "adapter/adp_msg.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

// Argument counts of messages 2000..2131.
constexpr signed char kCounts[ADP_NUM_MSGS] = {
    0, 1, 2, 0, 0, 0, 1, 1, 1, 3, 2, 3,  // 2000
    1, 1, 1, 2, 1, 1, 1, 0, 1, 2, 4, 2,  // 2012
    1, 0, 3, 2, 1, 0, 0, 1, 0, 0, 1, 2,  // 2024
    0, 3, 1, 0, 2, 1, 1, 0, 2, 1, 0, 2,  // 2036
    1, 1, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0,  // 2048
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 2060
    0, 0, 0, 1, 0, 0, 1, 1, 1, 2, 1, 0,  // 2072
    0, 2, 3, 1, 2, 5, 0, 0, 0, 1, 2, 3,  // 2084
    4, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0,  // 2096
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 2108
    0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 1, 0,  // 2120
};

// Texts of the messages whose arguments the adapter fixes; a text reads no
// more arguments than its message is given.
struct known_text {
  long n;
  const char* text;
};

constexpr known_text kKnown[] = {
    {0x00, "The database adapter is started already.\n"},
    {0x01, "Connection %p is not an open database connection.\n"},
    {0x03, "The database header could not be read.\n"},
    {0x04, "Fetching the next row from the database failed.\n"},
    {0x06, "Data type %ld is invalid.\n"},
    {0x07, "The schema of object pointer %lx is invalid.\n"},
    {0x08, "The flags of schema type %ld is invalid.\n"},
    {0x09,
     "Found Orbisan field '%s' of object '%s' defined after a custom field.  It should be placed in front of any "
     "custom field definition.\n"},
    {0x0A, "Rel_def of rels %ld of object type %s is invalid.\n"},
    {0x0B, "Relation Schema read failed for specific relation id %ld (rel name %s) of object type %s.\n"},
    {0x0C, "Database %s does not exist.\n"},
    {0x0D, "Database revision %ld cannot be reached.\n"},
    {0x12, "Object type %s is not known to the database.\n"},
    {0x13, "The date text could not be read.\n"},
    {0x1F, "Column type %ld cannot be bound.\n"},
    {0x20, "The database header table holds no row.\n"},
    {0x23, "Table %s has no index %s.\n"},
    {0x24, "The database login or password is not valid.\n"},
    {0x25, "Cannot reach the database server: %s%s\n"},
    {0x29, "The database adapter call %s is not available yet.\n"},
    {0x2B, "A database sequence is out of order.\n"},
    {0x2C, "Duplicate value for the unique key (%s) of table %s.\n"},
    {0x2D, "The database transaction could not be ended.\n"},
    {0x2E, "The database login or user could not be made or removed.\n"},
    {0x2F, "Join %s.%s = %s.%s on view (%s) calls for an outer join on a relation with MTM cardinality.\n"},
    {0x35, "Object ids of object type %ld cannot be generated: its id range is used up.\n"},
    {0x36, "%s%s\n"},
    {0x4C, "The data-service library could not be loaded.\n"},
    {0x4D, "The database refused to end the transaction.\n"},
    {0x50, "The login %s is not valid.\n"},
    {0x52, "A null statement (%ld) was given to the database adapter.\n"},
    {0x57, "The unique-key violation could not be analysed: %s\n"},
    {0x5F, "Stored procedure %s has %ld outputs but returned %ld columns.\n"},
    {0x64, "The SQL text is longer than the statement buffer.\n"},
    {0x82, "Database sequence %s is missing or exhausted.\n"},
};

struct message_table {
  std::string store[ADP_NUM_MSGS];
  const char* texts[ADP_NUM_MSGS];
  signed char args[2 * ADP_NUM_MSGS];

  message_table() {
    for (long i = 0; i < ADP_NUM_MSGS; ++i) {
      store[i] = "Database adapter error " + std::to_string(ADP_FIRST_ID + i) + ".\n";
      args[2 * i] = kCounts[i];
      long id = ADP_FIRST_ID + i;
      args[2 * i + 1] = (id == 2097 || id == 2098 || id == 2099 || id == 2101) ? 1 : 0;
    }
    for (const known_text& k : kKnown) store[k.n] = k.text;
    for (long i = 0; i < ADP_NUM_MSGS; ++i) texts[i] = store[i].c_str();
  }
};

const message_table& table() {
  static const message_table t;
  return t;
}

}  // namespace

long adp_str_init() {
  const message_table& t = table();
  if (long st = cmn_list_install_res_table(ADP_FIRST_ID, ADP_NUM_MSGS, t.texts)) return st;
  return loc_str_init_list("adp", ADP_SUBSYS, ADP_FIRST_ID, ADP_LAST_ID, ADP_NUM_MSGS, t.args);
}

const char* adp_str_text(long n) { return n >= 0 && n < ADP_NUM_MSGS ? table().texts[n] : nullptr; }

long adp_str_nargs(long n) { return n >= 0 && n < ADP_NUM_MSGS ? kCounts[n] : -1; }

// The flag byte of message 2000 + n (-1 outside); for inspection.
long adp_str_flag(long n) { return n >= 0 && n < ADP_NUM_MSGS ? table().args[2 * n + 1] : -1; }
