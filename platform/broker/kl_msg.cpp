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

std::map<int, std::string>& kl_texts() {
  static std::map<int, std::string> texts;
  return texts;
}

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

void KlMessageTexts::set(int number, const char* text) { kl_texts()[number] = text ? text : ""; }

void KlMessageTexts::clear() { kl_texts().clear(); }

const char* KlMessageTexts::get(int number) {
  auto it = kl_texts().find(number);
  return it == kl_texts().end() ? nullptr : it->second.c_str();
}

namespace {

// The message file's text with "%1" .. "%9" replaced by the arguments (an
// argument that was not given is left out).
std::string kl_fill(const std::string& text, const std::vector<std::string>& args) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next == '%') {
      out += '%';
      ++i;
    } else if (text[i] == '%' && next >= '1' && next <= '9') {
      size_t k = static_cast<size_t>(next - '1');
      if (k < args.size()) out += args[k];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string kl_msg_build_texts(int number, const std::vector<std::string>& args) {
  std::string text = std::to_string(number);
  if (const char* known = KlMessageTexts::get(number)) return text + ": " + kl_fill(known, args);
  for (size_t i = 0; i < args.size(); ++i) {
    text += i == 0 ? ": " : "; ";
    text += args[i];
  }
  return text;
}

std::string kl_msg_build(int number, int /*type*/, const char* /*info*/, int count,
                         va_list args) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    const char* arg = va_arg(args, const char*);
    texts.emplace_back(arg ? arg : "(null)");
  }
  return kl_msg_build_texts(number, texts);
}
