// Quoting of SQL literals and a nestable stopwatch.
#pragma once

#include <cstdint>

#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

// Puts text between quote characters (' or "), doubling the quotes inside.
// Returns the new text; null (text unchanged) for another quote character.
ORB_API const char* UtlDelimitString(KZString& text, char quote);
// Takes a quoted text out of its quotes, undoubling the quotes inside;
// everything after the closing quote is dropped. A text that does not
// start with the quote is unchanged.
ORB_API const char* UtlStripDelimiter(KZString& text, char quote);

// Nestable stopwatch over the performance counter: only the outermost
// Start/Stop pair measures.
class ORB_API KStopTimer {
 public:
  void Start(int clearFirst = 0);
  void Stop();
  void Clear();
  // counts in milliseconds (the counter's frequency is fetched when the
  // stopwatch was never cleared).
  double ElapsedTime(long long counts) const;
  int64_t GetAccumulated() const { return m_accumulated; }
  int64_t GetLastInterval() const { return m_last; }
  unsigned GetNesting() const { return m_nesting; }
  double GetFrequency() const { return m_frequency; }

 private:
  int64_t m_start = 0;
  int64_t m_accumulated = 0;
  int64_t m_last = 0;
  double m_frequency = 0;
  unsigned m_nesting = 0;
};

} // namespace KCLASSIC
