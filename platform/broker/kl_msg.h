// Message types, trace levels, connector properties and the framework's
// journal of what it was asked to log and trace.
#pragma once

#include "kl_api.h"

#include <cstdarg>
#include <string>
#include <vector>

// Message types of the broker's logging.
class KL_API KzMsgFormat {
 public:
  static const int ORB_FATAL;
  static const int ORB_ERROR;
  static const int ORB_WARNING;
  static const int ORB_INFO;
  static const int ORB_UNKNOWN;
};

// Trace levels; a trace line is written with the level it was given.
class KL_API Tracing {
 public:
  static const int LEVEL0;
  static const int LEVEL1;
  static const int LEVEL2;
  static const int LEVEL3;
  static const int LEVEL4;
  static const int LEVEL5;
};

// The broker's version record; the connector receives one in init.
class KL_API KzVersion {
 public:
  int major = 0;
  int minor = 0;
};

// Connector properties as the broker's configuration holds them.
class KL_API KlProperties {
 public:
  static void set(const char* name, const char* value);
  static void unset(const char* name);
  static void clear();
  // The value, or null when the property is unset.
  static const char* get(const char* name);
};

// One line the framework was asked to write.
struct KL_API KlJournalEntry {
  enum Kind { LOG, TRACE };
  Kind kind;
  int code;  // message type for LOG (-1 when none was given), level for TRACE
  std::string text;
};

// Everything logged and traced through the framework, in order. A host may
// add a sink that sees each line as it is written.
class KL_API KlJournal {
 public:
  using Sink = void (*)(const KlJournalEntry& entry);
  static void clear();
  static const std::vector<KlJournalEntry>& entries();
  static void setSink(Sink sink);
  static void write(KlJournalEntry::Kind kind, int code, const char* text);
};

// The broker's message file: a text for each message number. A host loads
// it (the framework keeps no file of its own). In a text, "%1" .. "%9" stand
// for the message's text arguments and "%%" for one '%'.
class KL_API KlMessageTexts {
 public:
  static void set(int number, const char* text);
  static void clear();
  // The text of that number, or null.
  static const char* get(int number);
};

// Builds the text of broker message `number` with `count` text arguments:
// "<number>: " and its text with the arguments put in when the message file
// has one; otherwise "<number>" followed by ": " and the arguments joined by
// "; " when there are any.
KL_API std::string kl_msg_build(int number, int type, const char* info, int count, va_list args);
// The same with the arguments in a vector.
KL_API std::string kl_msg_build_texts(int number, const std::vector<std::string>& args);
