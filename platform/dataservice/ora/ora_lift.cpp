// Lifting the number literals of an INSERT's VALUES lists (ora_lift.h).
#include "platform/dataservice/ora/ora_lift.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ora_rw {
namespace {

bool word_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#'; }
bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool same_word(std::string_view a, const char* upper) {
  size_t n = 0;
  for (; upper[n] != '\0'; ++n) {
    if (n >= a.size() || std::toupper(static_cast<unsigned char>(a[n])) != upper[n]) return false;
  }
  return n == a.size();
}

// The last character before at that is not blank (0 at the start).
char before(std::string_view s, size_t at, size_t* where = nullptr) {
  while (at > 0 && space(s[at - 1])) --at;
  if (where != nullptr) *where = at == 0 ? 0 : at - 1;
  return at == 0 ? '\0' : s[at - 1];
}

// The first character from at that is not blank (0 at the end).
char after(std::string_view s, size_t at) {
  while (at < s.size() && space(s[at])) ++at;
  return at < s.size() ? s[at] : '\0';
}

// One literal to lift: [begin, end) of the text and the number.
struct literal {
  size_t begin, end;
  lifted_number number;
};

// The end of the number at s[at]: digits, then a '.' and digits.
size_t number_end(std::string_view s, size_t at) {
  size_t j = at;
  while (j < s.size() && digit(s[j])) ++j;
  if (j + 1 < s.size() && s[j] == '.' && digit(s[j + 1])) {
    for (++j; j < s.size() && digit(s[j]);) ++j;
  }
  return j;
}

// The number at s[at, end) is an element of its own: after '(' or ',' (a
// '-' sign between), before ',' or ')', and within what the server reads.
bool lone_number(std::string_view s, size_t at, size_t end, literal& out) {
  if (end < s.size() && (word_char(s[end]) || s[end] == '.')) return false;
  if (after(s, end) != ',' && after(s, end) != ')') return false;
  size_t begin = at, sign = 0;
  char prev = before(s, at, &sign);
  if (prev == '-') {
    begin = sign;
    prev = before(s, sign);
  }
  if (prev != '(' && prev != ',') return false;
  lifted_number& n = out.number;
  n.text.assign(s.substr(at, end - at));
  if (static_cast<size_t>(std::count_if(n.text.begin(), n.text.end(), digit)) > kDecimalDigits) return false;
  if (begin != at) n.text.insert(n.text.begin(), '-');
  if (n.text.find('.') == std::string::npos) {
    auto r = std::from_chars(n.text.data(), n.text.data() + n.text.size(), n.value);
    n.whole = r.ec == std::errc() && r.ptr == n.text.data() + n.text.size();
  }
  out.begin = begin;
  out.end = end;
  return true;
}

// The end of the literal or quoted name whose quote is at s[at] (a doubled
// quote stays inside it); npos when the text ends inside it.
size_t quoted_end(std::string_view s, size_t at) {
  for (size_t j = at + 1; j < s.size(); ++j) {
    if (s[j] != s[at]) continue;
    if (j + 1 < s.size() && s[j + 1] == s[at]) {
      ++j;
      continue;
    }
    return j + 1;
  }
  return std::string_view::npos;
}

// Walks the statement; false when it is not one plain INSERT ... VALUES.
bool find_literals(std::string_view s, std::vector<literal>& found) {
  size_t i = 0;
  while (i < s.size() && space(s[i])) ++i;
  long depth = 0;
  bool values = false, first = true;
  while (i < s.size()) {
    const char c = s[i];
    if (space(c)) {
      ++i;
    } else if (c == '\'' || c == '"') {
      i = quoted_end(s, i);
      if (i == std::string_view::npos) return false;
    } else if ((c == '-' && i + 1 < s.size() && s[i + 1] == '-') || (c == '/' && i + 1 < s.size() && s[i + 1] == '*')) {
      return false;  // comments are left to the rewrite
    } else if (word_start(c)) {
      size_t j = i + 1;
      while (j < s.size() && word_char(s[j])) ++j;
      const std::string_view word = s.substr(i, j - i);
      if (first && !same_word(word, "INSERT")) return false;
      if (values && depth == 0) return false;  // RETURNING, a second statement ...
      if (depth == 0 && same_word(word, "VALUES")) values = true;
      first = false;
      i = j;
    } else if (first) {
      return false;
    } else if (digit(c)) {
      size_t j = number_end(s, i);
      literal l{};
      if (values && depth == 1 && lone_number(s, i, j, l)) found.push_back(l);
      while (j < s.size() && (word_char(s[j]) || s[j] == '.')) ++j;
      i = j;
    } else if (c == '(') {
      ++depth, ++i;
    } else if (c == ')') {
      if (--depth < 0) return false;
      ++i;
    } else if (c == ';') {
      return depth == 0 && values && after(s, i + 1) == '\0';
    } else {
      ++i;
    }
  }
  return values && depth == 0;
}

}  // namespace

bool lift_insert_numbers(std::string_view text, lifted& out) {
  std::vector<literal> found;
  if (!find_literals(text, found) || found.empty()) return false;
  lifted l;
  l.text.reserve(text.size() + found.size() * 20);
  size_t at = 0;
  for (size_t k = 0; k < found.size(); ++k) {
    l.text.append(text.substr(at, found[k].begin - at));
    l.text += ":B" + std::to_string(kLiftedMarker + static_cast<long>(k));
    l.numbers.push_back(std::move(found[k].number));
    at = found[k].end;
  }
  l.text.append(text.substr(at));
  out = std::move(l);
  return true;
}

}  // namespace ora_rw
