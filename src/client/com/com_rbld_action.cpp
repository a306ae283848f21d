// Rule actions (type 76): writing and reading the record, the recipients of
// a message action and its composed message text.
#include <algorithm>
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "store/dbs_fld.h"

namespace {

constexpr long kFldArg2 = 1;
constexpr long kFldF2 = 2;
constexpr long kFldFlags = 3;
constexpr long kFldText = 4;
constexpr long kFldMessage = 5;
constexpr long kFldKind = 8;
constexpr long kFldF9 = 9;
constexpr long kFldF10 = 10;
constexpr long kFldPeriod = 11;
constexpr long kFldRepeat = 12;
constexpr long kFldCode = 13;
constexpr long kMessageAction = 2;
constexpr long kCodeMask = 0x7;
constexpr long kGroupMask = 0x38;
constexpr long kPlain = 528;
constexpr long kWithOption = 1552;
constexpr long kOptionBit = 0x400;

long set_long(dbs_ty_lobj* o, long field, long value) { return com_rbld_set_long(o, field, value); }
long set_text(dbs_ty_lobj* o, long field, const std::string& value) { return com_rbld_set_text(o, field, value); }
long long_of(dbs_ty_lobj* o, long field) { return com_rbld_long_of(o, field); }
std::string text_of(dbs_ty_lobj* o, long field) { return com_rbld_text_of(o, field); }

// "label" then each recipient and a blank, then a newline.
std::string recipients_line(const char* label, const std::string& list) {
  std::vector<std::string> names;
  com_rbld_parse_user_list(list.c_str(), &names);
  std::string line = label;
  for (const std::string& n : names) line += n + " ";
  return line + "\n";
}

}  // namespace

long com_rbld_parse_user_list(const char* text, std::vector<std::string>* out) {
  out->clear();
  std::string t = text != nullptr ? text : "";
  size_t i = 0;
  while (i < t.size()) {
    if (t[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = t[i] == '[' ? t.find(']', i) : t.find(' ', i);
    end = end == std::string::npos ? t.size() : (t[i] == '[' ? end + 1 : end);
    out->push_back(t.substr(i, std::min<size_t>(end - i, COM_MAX_RECIPIENT)));
    i = end;
  }
  return 0;
}

std::string com_rbld_message_text(const std::string& to, const std::string& cc, const std::string& message) {
  std::string text;
  if (!to.empty()) text += recipients_line("TO:", to);
  if (!cc.empty()) text += recipients_line("CC:", cc);
  return text + message;
}

long com_rbld_fill_action(dbs_ty_lobj* a, const com_ty_action& v) {
  long flags = ((v.options & 1) ? kWithOption : kPlain) + (v.repeat >= 1 ? 1 : 0);
  std::string message = v.kind == kMessageAction ? com_rbld_message_text(v.to, v.cc, v.message) : v.message;
  const long longs[][2] = {{kFldKind, v.kind},
                           {kFldCode, (v.code & kCodeMask) | (v.flag_group & kGroupMask)},
                           {kFldF2, v.f2},
                           {kFldF9, v.f9},
                           {kFldF10, v.f10},
                           {kFldRepeat, v.repeat},
                           {kFldPeriod, v.repeat >= 1 ? v.period / v.repeat : 0},
                           {kFldFlags, flags}};
  for (const auto& f : longs)
    if (long st = set_long(a, f[0], f[1])) return st;
  if (long st = set_text(a, kFldArg2, v.arg2)) return st;
  if (long st = set_text(a, kFldMessage, message)) return st;
  return set_text(a, kFldText, v.text.substr(0, COM_ACTION_TEXT_MAX));
}

long com_rbld_decompose_action(dbs_ty_lobj* a, com_ty_action* out) {
  *out = com_ty_action{};
  out->kind = long_of(a, kFldKind);
  out->arg2 = text_of(a, kFldArg2);
  long code = long_of(a, kFldCode);
  out->code = code & kCodeMask;
  out->flag_group = code & kGroupMask;
  out->f2 = long_of(a, kFldF2);
  out->f9 = long_of(a, kFldF9);
  out->f10 = long_of(a, kFldF10);
  out->message = text_of(a, kFldMessage);
  out->text = text_of(a, kFldText);
  out->repeat = long_of(a, kFldRepeat);
  out->period = long_of(a, kFldPeriod) * out->repeat;
  out->options = (long_of(a, kFldFlags) & kOptionBit) ? 1 : 0;
  return 0;
}
