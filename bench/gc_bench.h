// Side-by-side benchmarks of the multibyte library against the C library:
// each row pairs one of our calls with what a C++ program would otherwise
// call on the same inputs. Every row first proves that both sides give the
// same result on all of its inputs; then both are timed and the ratio
// (ours / reference) is printed against the row's target.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <clocale>
#include <locale.h>

#include "mbtext/gc_locale.h"

namespace gcbench {

struct Row {
  std::string name;
  double target;                       // largest acceptable ratio
  std::function<std::string()> check;  // empty when both sides agree on every input
  std::function<void()> ours;          // one pass over the row's inputs
  std::function<void()> ref;
};

void addRow(Row row);

// Locales made once for the whole run over the tests' data builders.
struct Locales {
  GCLocale* ascii;   // English, US-ASCII
  GCLocale* latin1;  // English, Latin1
  GCLocale* utf8;    // English, UTF-8
  GCLocale* sorted;  // German, Latin1, with a sort object
  GCLocale* sortedUtf8; // German, UTF-8, with a sort object
  locale_t cUtf8;    // native C.utf8
  locale_t deLatin1; // native de_DE.iso88591
  locale_t deUtf8;   // native de_DE.utf8
};
const Locales& locales();

// Texts of the given byte length (mixed European text in Latin1; the
// UTF-8 form mixes ASCII, Latin1 letters and CJK ideographs and is cut
// back to whole characters). seed varies the text.
std::string latin1Text(size_t bytes, unsigned seed);
std::string utf8Text(size_t bytes, unsigned seed);
// The same with ASCII words only between the ideographs.
std::string utf8AsciiText(size_t bytes, unsigned seed);
std::string utf8Mix(size_t bytes, unsigned seed, bool latin1);
std::string asciiText(size_t bytes, unsigned seed);

void addConvRows();
void addFmtRows();
void addNumRows();
void addCmpRows();

// Keeps the optimiser from dropping a result.
void sink(long v);

} // namespace gcbench
