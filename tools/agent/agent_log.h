// The agent's standard error: a line per framework log or trace line and per
// agent step, "<UTC ISO 8601 time> <LEVEL> <text>".
#pragma once

#include <string>

// "2026-12-11T09:30:00.123Z" for now.
std::string agent_log_time();
// FATAL, ERROR, WARNING or INFO for a framework message type (INFO for
// none or any other).
const char* agent_log_level(int msg_type);
void agent_log(const char* level, const std::string& text);
// From now on every line the framework is asked to log goes to standard
// error, and every trace line of a level up to trace_level as TRACE<n>.
void agent_log_journal(int trace_level);
