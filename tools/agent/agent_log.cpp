// Standard error lines of the agent.
#include "agent_log.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>

#include "kl_msg.h"

namespace {

int journal_trace_level = 0;

void journal_line(const KlJournalEntry& e) {
  if (e.kind == KlJournalEntry::LOG) {
    agent_log(agent_log_level(e.code), e.text);
  } else if (e.code <= journal_trace_level) {
    agent_log(("TRACE" + std::to_string(e.code)).c_str(), e.text);
  }
}

}  // namespace

std::string agent_log_time() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  tm utc;
  gmtime_r(&tv.tv_sec, &utc);
  char text[40];
  size_t n = strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  snprintf(text + n, sizeof text - n, ".%03ldZ", static_cast<long>(tv.tv_usec / 1000));
  return text;
}

const char* agent_log_level(int msg_type) {
  if (msg_type == KzMsgFormat::ORB_FATAL) return "FATAL";
  if (msg_type == KzMsgFormat::ORB_ERROR) return "ERROR";
  if (msg_type == KzMsgFormat::ORB_WARNING) return "WARNING";
  return "INFO";
}

void agent_log(const char* level, const std::string& text) {
  std::fprintf(stderr, "%s %s %s\n", agent_log_time().c_str(), level, text.c_str());
  std::fflush(stderr);
}

void agent_log_journal(int trace_level) {
  journal_trace_level = trace_level;
  KlJournal::setSink(journal_line);
}
