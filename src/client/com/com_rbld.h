// The business-rule builder's names, codes and actions: the "com" message
// list, the condition operators, time units, notification delivery types,
// condition value types, rule status texts and the action records (type 76)
// with their composed message texts.
#pragma once

#include <string>
#include <vector>

struct dbs_ty_lobj;
struct utl_ty_col;

constexpr long COM_SUBSYS = 51;
constexpr long COM_FIRST_ID = 12000;
constexpr long COM_LAST_ID = 12099;
constexpr long COM_NUM_MSGS = COM_LAST_ID - COM_FIRST_ID + 1;
constexpr long COM_NO_OPERATOR = 0x3300004;    // operator text
constexpr long COM_RULE_EXISTS = 0x3300006;
constexpr long COM_NO_START_EVENT = 0x3300007;
constexpr long COM_NO_OBJECT_ID = 0x3300008;   // procedure
constexpr long COM_NO_ACTION = 0x330000D;
constexpr long COM_FIRST_OPERATOR = 0x3300022;
constexpr long COM_NUM_OPERATORS = 14;
constexpr long COM_FIRST_TIME_UNIT = 0x3300052;
constexpr long COM_NUM_TIME_UNITS = 3;
constexpr long COM_BUILTIN_PREFIX = 0x3300055;
constexpr long COM_USER_PREFIX = 0x3300056;
constexpr long COM_TIME_TYPE = 693;
constexpr long COM_RULE_TYPE = 76;
constexpr long COM_NUM_DELIVERY = 9;
constexpr long COM_MAX_RECIPIENT = 255;
constexpr long COM_ACTION_TEXT_MAX = 80;

long com_str_init();
// Registers the message list and the time-unit conversion of type 693;
// once.
long com_rbld_init();
// Forgets the names read so far; the next com_rbld_init starts afresh.
long com_rbld_term();

long com_rbld_ops_init();
// The code of an operator's exact text; else 0x3300004 with the text.
long com_rbld_opname_to_id(const char* name, long* code);
// The text of codes 0-13, "Unknown Rule Condition Operator" otherwise.
const char* com_rbld_cond_opname(long code);
bool com_rbld_is_list_op(long code);

long com_rbld_time_unit_names_init();
// Conversion method of type 693: a time unit (long) to text (0-2 the unit
// names, 50-149 the built-in prefix and the value, 150 on the user-defined
// prefix) and back.
long com_rbld_convert_time_type(long conv, long src_type, void* src, long dst_type, void* dst, long dst_size,
                                long* allocated);

// Delivery types: the code of a name (case ignored, 0 when unknown) and the
// name of a code ("Unknown Delivery Type" outside 0-8).
long com_rbld_decode_delivery(const char* name);
const char* com_rbld_delivery_name(long code);
bool com_rbld_is_valid_notif(const char* name);
const char* com_rbld_default_notif();

// The value type code of a condition's text: 1 long, 2 float, 3 date, 0
// none (and always 0 under the list operators 12 and 13).
long com_rbld_convert_to_types(const char* text, long op);
// The event of an activity code (-1 when none); the high 16 bits of the
// code, when set, give it.
long com_rbld_actcode_to_event(long code);
// Per rule, the text of message 0xE0004C when bit 0x10000 of field 3 is
// set, else that of 0xE0004B.
long com_rbld_make_rule_sts_strs(utl_ty_col* rules, std::vector<std::string>* out);

// An action of a rule as its record holds it.
struct com_ty_action {
  long kind = 0;       // 2: message action
  std::string arg2;    // field 1
  long code = 0;       // field 13, low 3 bits
  long flag_group = 0; // field 13, mask 0x38
  long f2 = 0, f9 = 0, f10 = 0;
  std::string to;      // recipients (message actions)
  std::string cc;
  std::string message;
  std::string text;    // field 4, 80 characters at most
  long repeat = 0;     // field 12
  long period = 0;     // field 11 x field 12
  long options = 0;    // bit 0
};
long com_rbld_fill_action(dbs_ty_lobj* action, const com_ty_action& values);
// The record read back; message actions give field 5 as it is.
long com_rbld_decompose_action(dbs_ty_lobj* action, com_ty_action* out);
// Recipients: blank-separated, or enclosed in square brackets (kept, and
// blanks inside kept); 255 characters at most each.
long com_rbld_parse_user_list(const char* text, std::vector<std::string>* out);
// The message text of a message action ("TO:" and "CC:" lines, then the
// message).
std::string com_rbld_message_text(const std::string& to, const std::string& cc, const std::string& message);

// The statements the rule state's save runs before the new conditions and
// actions are written: the rule's stored conditions, and its stored actions
// other than those kept. block: the server's block form (server-type bit 2).
// The block carries no COMMIT: it runs inside the save's own transaction.
std::string com_rbld_cond_delete_sql(const char* table, long rule, bool block);
std::string com_rbld_action_delete_sql(const char* table, long rule, const std::vector<long>& kept, bool block);

// The properties conditions may test (type 294, read into the cache): the
// object type they belong to (-1: any type), the name, the path the value is
// read along and further values.
constexpr long COM_PROP_TYPE = 294;
constexpr long COM_ANY_TYPE = -1;
constexpr long COM_PROP_KIND_STARRED = 78;  // shown as "name*"
constexpr char COM_HIDDEN_PREFIX = '@';
struct com_ty_prop {
  long obj_type = COM_ANY_TYPE;  // field 2
  std::string name;              // field 1
  std::string path;              // field 3
  long kind = 0;                 // field 4
  long value_type = 0;           // field 5
  long is_relation = 0;          // field 6: shown as "[name]"
  std::string value;             // field 7
};
// Reads every type-294 object into the cache (replacing it); names that begin
// with '@' only when all is true.
long com_rbld_cache_props(bool all);
void com_rbld_uncache_props();
long com_rbld_num_props();
// The cached property of the type (or of any type) and the name, case
// ignored; *out null when there is none.
long com_rbld_map_property(long obj_type, const char* name, const com_ty_prop** out);

// The lists offered for conditions: one row per property, sorted by name.
struct com_ty_prop_cols {
  std::vector<std::string> names;  // as shown: "name*", "[name]" or "name"
  std::vector<std::vector<std::string>> operators;  // the 14 operator texts
  std::vector<std::string> paths;
  std::vector<long> kinds;
  std::vector<long> value_types;
  std::vector<std::string> values;
};
// The rows of one type's cached properties (its own and those of any type).
long com_rbld_make_prop_cols(long obj_type, com_ty_prop_cols* out);
// Appends row i of from to out.
void com_rbld_add_to_list(const com_ty_prop_cols& from, size_t i, com_ty_prop_cols* out);
// For one type its lists; for several only the properties whose names all of
// them share. The lists of each type are kept until the cache is dropped.
long com_rbld_get_properties(const std::vector<long>& obj_types, com_ty_prop_cols* out);

// Change notices (type 77): field 8 the kind of change, field 1 the id number
// of the changed object. With a state the notice is saved with it; without,
// it is created in the database at once.
struct ost_ty_state;
constexpr long COM_BOMB_TYPE = 77;
constexpr long COM_RULE_CHANGED = 0x20004;
constexpr long COM_USER_NOTIF_CHANGED = 0x10004;
constexpr long COM_QUEUE_CHANGED = 0x30004;
long com_rbld_rule_changed(ost_ty_state* state, dbs_ty_lobj* rule);
long com_rbld_user_notif_changed(ost_ty_state* state, dbs_ty_lobj* user);
long com_rbld_queue_changed(ost_ty_state* state, dbs_ty_lobj* queue);

// The id of the one object related to id through the relation: a zero id
// when there is none; 1 and a zero id when there are several.
struct obj_id;
constexpr long COM_SEVERAL_RELATED = 1;
long com_rbld_get_obj_id(obj_id* id, long rel_id, obj_id* out);

// Per rule of the list (type-76 objects), the texts of its start events
// (its kind-2 conditions, field 3) joined by ", ".
constexpr long COM_RULE2COND = 0;
constexpr long COM_COND_TYPE = 287;
constexpr long COM_COND_START_EVENT = 2;
long com_rbld_make_start_ev_strs(utl_ty_col* rules, std::vector<std::string>* out);
