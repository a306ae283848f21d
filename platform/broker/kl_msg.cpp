// Message types, trace levels, properties, the journal and message texts.
#include "kl_msg.h"

#include <map>

const int KzMsgFormat::ORB_FATAL = 1;
const int KzMsgFormat::ORB_ERROR = 2;
const int KzMsgFormat::ORB_WARNING = 3;
const int KzMsgFormat::ORB_INFO = 4;
const int KzMsgFormat::ORB_UNKNOWN = 5;

const int Tracing::LEVEL0 = 0;
const int Tracing::LEVEL1 = 1;
const int Tracing::LEVEL2 = 2;
const int Tracing::LEVEL3 = 3;
const int Tracing::LEVEL4 = 4;
const int Tracing::LEVEL5 = 5;

namespace {

std::map<std::string, std::string>& kl_props() {
  static std::map<std::string, std::string> props;
  return props;
}

std::vector<KlJournalEntry>& kl_entries() {
  static std::vector<KlJournalEntry> entries;
  return entries;
}

KlJournal::Sink kl_sink = nullptr;

}  // namespace

void KlProperties::set(const char* name, const char* value) {
  if (name) kl_props()[name] = value ? value : "";
}

void KlProperties::unset(const char* name) {
  if (name) kl_props().erase(name);
}

void KlProperties::clear() { kl_props().clear(); }

const char* KlProperties::get(const char* name) {
  if (!name) return nullptr;
  auto it = kl_props().find(name);
  return it == kl_props().end() ? nullptr : it->second.c_str();
}

void KlJournal::clear() { kl_entries().clear(); }

const std::vector<KlJournalEntry>& KlJournal::entries() { return kl_entries(); }

void KlJournal::setSink(Sink sink) { kl_sink = sink; }

void KlJournal::write(KlJournalEntry::Kind kind, int code, const char* text) {
  kl_entries().push_back(KlJournalEntry{kind, code, text ? text : ""});
  if (kl_sink) kl_sink(kl_entries().back());
}

std::string kl_msg_build(int number, int /*type*/, const char* /*info*/, int count,
                         va_list args) {
  std::string text = std::to_string(number);
  for (int i = 0; i < count; ++i) {
    const char* arg = va_arg(args, const char*);
    text += i == 0 ? ": " : "; ";
    text += arg ? arg : "(null)";
  }
  return text;
}
