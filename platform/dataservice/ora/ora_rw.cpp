// The rewrite rules of the Oracle-dialect service (see ora_rw.h).
#include "platform/dataservice/ora/ora_rw.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace ora_rw {
namespace {

enum class tk { word, number, string, qname, marker, punct, space, comment };

struct token {
  tk type;
  std::string text;
  bool open = false;  // a literal, quoted name or block comment the text ends inside
};

using tokens = std::vector<token>;

bool is_word_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool is_word_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}

// True when a '-' after these tokens is a sign: it follows an operator or an
// opening parenthesis, not a value.
bool signed_here(const tokens& out);

// Most digits a marker number may have: it fits a long.
constexpr size_t kMarkerDigits = 18;

// The end of the literal or quoted name whose quote is at s[at] (a doubled
// quote stays inside it); npos when the text ends inside it.
size_t quoted_end(std::string_view s, size_t at) {
  const char q = s[at];
  for (size_t j = at + 1; j < s.size(); ++j) {
    if (s[j] != q) continue;
    if (j + 1 < s.size() && s[j + 1] == q) {
      ++j;
      continue;
    }
    return j + 1;
  }
  return std::string_view::npos;
}

// Splits the text into tokens; literals, quoted names and comments are kept
// whole (an unterminated one runs to the end of the text, marked open).
// N'..', a national literal, is one literal.
tokens tokenize(std::string_view s) {
  tokens out;
  size_t i = 0;
  auto take = [&](tk type, size_t end, bool open = false) {
    out.push_back(token{type, std::string(s.substr(i, end - i)), open});
    i = end;
  };
  auto take_quoted = [&](tk type, size_t quote) {
    const size_t end = quoted_end(s, quote);
    take(type, end == std::string_view::npos ? s.size() : end, end == std::string_view::npos);
  };
  while (i < s.size()) {
    char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      size_t j = i;
      while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
      take(tk::space, j);
    } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      size_t j = s.find('\n', i);
      take(tk::comment, j == std::string_view::npos ? s.size() : j);
    } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      size_t j = s.find("*/", i + 2);
      take(tk::comment, j == std::string_view::npos ? s.size() : j + 2, j == std::string_view::npos);
    } else if (c == '\'' || c == '"') {
      take_quoted(c == '\'' ? tk::string : tk::qname, i);
    } else if ((c == 'N' || c == 'n') && i + 1 < s.size() && s[i + 1] == '\'') {
      take_quoted(tk::string, i + 1);
    } else if (c == ':' && i + 2 < s.size() && (s[i + 1] == 'B' || s[i + 1] == 'b') &&
               std::isdigit(static_cast<unsigned char>(s[i + 2])) && (out.empty() || out.back().text != ":")) {
      size_t j = i + 2;
      while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      if ((j < s.size() && is_word_char(s[j])) || j - (i + 2) > kMarkerDigits) {
        take(tk::punct, i + 1);
      } else {
        take(tk::marker, j);
      }
    } else if (c == '-' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
               signed_here(out)) {
      // A sign that belongs to the number ("sysdate+-1.5").
      size_t j = i + 1;
      while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
      take(tk::number, j);
    } else if (is_word_start(c)) {
      size_t j = i + 1;
      while (j < s.size() && is_word_char(s[j])) ++j;
      take(tk::word, j);
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
      size_t j = i;
      while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
      take(tk::number, j);
    } else {
      take(tk::punct, i + 1);
    }
  }
  return out;
}

bool signed_here(const std::vector<token>& out) {
  for (auto it = out.rbegin(); it != out.rend(); ++it) {
    if (it->type == tk::space || it->type == tk::comment) continue;
    return it->type == tk::punct && std::string("+-*/(,=<>").find(it->text) != std::string::npos;
  }
  return false;
}

bool is(const token& t, const char* word) {
  if (t.type != tk::word) return false;
  size_t n = 0;
  for (; word[n] != '\0'; ++n) {
    if (n >= t.text.size() || std::toupper(static_cast<unsigned char>(t.text[n])) != word[n]) return false;
  }
  return n == t.text.size();
}

bool same_word(const token& a, const token& b) {
  if (a.type != tk::word || b.type != tk::word || a.text.size() != b.text.size()) return false;
  for (size_t i = 0; i < a.text.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a.text[i])) != std::toupper(static_cast<unsigned char>(b.text[i])))
      return false;
  }
  return true;
}

bool blank(const token& t) { return t.type == tk::space || t.type == tk::comment; }

// Positions of the tokens that are neither blanks nor comments.
std::vector<size_t> significant(const tokens& t) {
  std::vector<size_t> sig;
  for (size_t i = 0; i < t.size(); ++i) {
    if (!blank(t[i])) sig.push_back(i);
  }
  return sig;
}

std::string join(const tokens& t, size_t from = 0, size_t to = std::string::npos) {
  std::string s;
  for (size_t i = from; i < t.size() && i < to; ++i) s += t[i].text;
  return s;
}

// Index (into sig) of the parenthesis closing the one at sig[open], or npos.
size_t closing(const tokens& t, const std::vector<size_t>& sig, size_t open) {
  int depth = 0;
  for (size_t k = open; k < sig.size(); ++k) {
    const std::string& x = t[sig[k]].text;
    if (t[sig[k]].type != tk::punct) continue;
    if (x == "(") ++depth;
    if (x == ")" && --depth == 0) return k;
  }
  return std::string::npos;
}

// True when the parentheses opening at sig index open hold one argument
// (no comma at their own depth).
bool one_argument(const tokens& t, const std::vector<size_t>& sig, size_t open, size_t end) {
  int depth = 0;
  for (size_t k = open + 1; k < end; ++k) {
    const token& x = t[sig[k]];
    if (x.type != tk::punct) continue;
    if (x.text == "(") ++depth;
    if (x.text == ")") --depth;
    if (x.text == "," && depth == 0) return false;
  }
  return true;
}

// The tokens' text without the blanks before the first and after the last
// (a comment keeps its own blanks).
std::string join_trimmed(const tokens& t) {
  size_t from = 0, to = t.size();
  while (from < to && t[from].type == tk::space) ++from;
  while (to > from && t[to - 1].type == tk::space) --to;
  return join(t, from, to);
}

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Rule 1.
bool unrun(const tokens& t, const std::vector<size_t>& sig) {
  auto w = [&](size_t k, const char* word) { return k < sig.size() && is(t[sig[k]], word); };
  if (w(0, "ALTER") && w(1, "SESSION")) return true;
  if (w(0, "DROP") && w(1, "PUBLIC") && w(2, "SYNONYM")) return true;
  // The server has no PUBLIC grantee: a grant to everyone changes nothing.
  const size_t n = sig.size();
  if (w(0, "GRANT") && n >= 2 && w(n - 2, "TO") && w(n - 1, "PUBLIC")) return true;
  if (w(0, "CREATE")) {
    size_t k = 1;
    if (w(1, "OR") && w(2, "REPLACE")) k = 3;
    return w(k, "PUBLIC") && w(k + 1, "SYNONYM");
  }
  return false;
}

kind kind_of(const tokens& t, const std::vector<size_t>& sig) {
  auto w = [&](size_t k, const char* word) { return k < sig.size() && is(t[sig[k]], word); };
  size_t after = w(1, "WORK") ? 2 : 1;
  bool alone = sig.size() == after || (sig.size() == after + 1 && t[sig[after]].text == ";");
  if (w(0, "COMMIT") && alone) return kind::commit;
  if (w(0, "ROLLBACK") && alone) return kind::rollback;
  if (w(0, "ROLLBACK") && w(after, "TO")) return kind::rollback_to;
  if (w(0, "SAVEPOINT")) return kind::savepoint;
  return kind::plain;
}

// Rule 8: "begin name(args); end;" becomes "CALL name(args)".
bool block_call(const tokens& t, const std::vector<size_t>& sig, std::string& out) {
  if (sig.size() < 4 || !is(t[sig[0]], "BEGIN") || t[sig[1]].type != tk::word) return false;
  size_t k = 2;
  while (k + 1 < sig.size() && t[sig[k]].text == "." && t[sig[k + 1]].type == tk::word) k += 2;
  size_t name_end = k;
  if (k < sig.size() && t[sig[k]].text == "(") {
    k = closing(t, sig, k);
    if (k == std::string::npos) return false;
    ++k;
  }
  if (k >= sig.size() || t[sig[k]].text != ";") return false;
  ++k;
  if (k >= sig.size() || !is(t[sig[k]], "END")) return false;
  ++k;
  if (k < sig.size() && t[sig[k]].text == ";") ++k;
  if (k != sig.size()) return false;
  out = "CALL " + join(t, sig[1], sig[name_end - 1] + 1);
  if (name_end < sig.size() && t[sig[name_end]].text == "(") {
    out += join(t, sig[name_end], sig[closing(t, sig, name_end)] + 1);
  }
  return true;
}

// Rule 9, the midnight form of the relative dates:
//   (sysdate+A)-((sysdate+A)-(to_date(to_char((sysdate+A),'DD/MM/YYYY'),'DD/MM/YYYY')))
// is the day of sysdate+A at midnight; MariaDB subtracts two dates as
// numbers, so the form becomes CAST(DATE(sysdate + INTERVAL a SECOND) AS
// DATETIME), and a "+ B" right after it moves by B days. Returns the sig
// index after the form, or 0 when the tokens at k are no such form.
size_t midnight(tokens& t, const std::vector<size_t>& sig, size_t k, std::vector<bool>& drop) {
  // The pattern, one entry per token: "S" sysdate, "O" + or -, "N" a number,
  // "Q" a literal, else the exact punctuation or (upper-case) word.
  static const char* const kForm[] = {"(", "S", "O", "N", ")", "-", "(", "(", "S", "O", "N", ")", "-", "(",
                                      "TO_DATE", "(", "TO_CHAR", "(", "(", "S", "O", "N", ")", ",", "Q", ")",
                                      ",", "Q", ")", ")", ")"};
  constexpr size_t n = sizeof kForm / sizeof kForm[0];
  if (k + n > sig.size()) return 0;
  for (size_t i = 0; i < n; ++i) {
    const token& x = t[sig[k + i]];
    std::string p = kForm[i];
    bool ok = p == "S"   ? is(x, "SYSDATE")
              : p == "O" ? x.type == tk::punct && (x.text == "+" || x.text == "-")
              : p == "N" ? x.type == tk::number
              : p == "Q" ? x.type == tk::string
              : x.type == tk::word ? is(x, p.c_str())
                                   : x.text == p;
    if (!ok) return 0;
  }
  double days = std::strtod(t[sig[k + 3]].text.c_str(), nullptr);
  t[sig[k]].text = "CAST(DATE(sysdate " + t[sig[k + 2]].text + " INTERVAL " +
                   std::to_string(std::llround(days * 86400.0)) + " SECOND) AS DATETIME)";
  for (size_t i = sig[k] + 1; i <= sig[k + n - 1]; ++i) drop[i] = true;
  size_t next = k + n;
  if (next + 1 < sig.size() && (t[sig[next]].text == "+" || t[sig[next]].text == "-") &&
      t[sig[next]].type == tk::punct && t[sig[next + 1]].type == tk::number) {
    double more = std::strtod(t[sig[next + 1]].text.c_str(), nullptr);
    t[sig[next + 1]].text = "INTERVAL " + std::to_string(std::llround(more * 86400.0)) + " SECOND";
    next += 2;
  }
  return next;
}

// An empty text: '' or the national N''.
bool empty_literal(const token& x) {
  return x.type == tk::string && (x.text == "''" || x.text == "N''" || x.text == "n''");
}

// True when two texts written side by side would read as one token: two
// word characters, or a closing and an opening quote of the same kind.
bool would_join(const std::string& before, const std::string& after) {
  if (before.empty() || after.empty()) return false;
  const char a = before.back(), b = after.front();
  if (is_word_char(a) && is_word_char(b)) return true;
  return a == b && (a == '\'' || a == '"');
}

// The tokens not dropped; a blank goes between a rewritten token and its
// neighbour where the two would otherwise read as one.
tokens kept_tokens(tokens& t, const std::vector<bool>& drop, const std::vector<bool>& changed) {
  tokens kept;
  bool last_changed = false;
  for (size_t i = 0; i < t.size(); ++i) {
    if (drop[i]) continue;
    if ((changed[i] || last_changed) && !kept.empty() && would_join(kept.back().text, t[i].text))
      kept.push_back(token{tk::space, " "});
    last_changed = changed[i];
    kept.push_back(std::move(t[i]));
  }
  return kept;
}

// Rule 19: a literal that is wholly a date as the adapter writes dates
// ("MM/DD/YYYY HH24:MI:SS").
bool date_literal(const token& x) {
  static constexpr char kShape[] = "'99/99/9999 99:99:99'";
  if (x.type != tk::string || x.text.size() != sizeof kShape - 1) return false;
  for (size_t i = 0; i < x.text.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(x.text[i])) != 0;
    if (kShape[i] == '9' ? !digit : x.text[i] != kShape[i]) return false;
  }
  return true;
}

// A date literal of that shape as 'YYYY-MM-DD HH24:MI:SS'.
std::string iso_date(const std::string& literal) {
  // '99/99/9999 99:99:99': month at 1, day at 4, year at 7, time at 12.
  return "'" + literal.substr(7, 4) + "-" + literal.substr(1, 2) + "-" + literal.substr(4, 2) + " " +
         literal.substr(12, 8) + "'";
}

// Rules on every token: 2, 3, 4 and 21 (inside a block), 5, 7, 9, 10, 11, 17, 19.
void token_rules(tokens& t, std::vector<long>& markers) {
  std::vector<size_t> sig = significant(t);
  std::vector<bool> drop(t.size(), false);
  std::vector<bool> changed(t.size(), false);
  const bool anonymous_block = !sig.empty() && (is(t[sig[0]], "BEGIN") || is(t[sig[0]], "DECLARE"));
  bool in_set = false;  // between an UPDATE's SET and its WHERE
  for (size_t k = 0; k < sig.size(); ++k) {
    token& x = t[sig[k]];
    auto next_is = [&](size_t n, const char* text) { return k + n < sig.size() && t[sig[k + n]].text == text; };
    auto before = [&](size_t n) -> const token& { return t[sig[k - n]]; };
    if (is(x, "SET")) in_set = true;
    if (is(x, "WHERE") || x.text == ";") in_set = false;
    if (date_literal(x) && k >= 1 && is(before(1), "DEFAULT")) {  // 19, a constant the server takes
      x.text = iso_date(x.text);
      changed[sig[k]] = true;
      continue;
    }
    if (date_literal(x) && k >= 3 && before(1).text == "=" && before(2).type == tk::word &&
        (is(before(3), "SET") || (in_set && before(3).text == ","))) {  // 19
      x.text = "TO_DATE(" + x.text + ", 'MM/DD/YYYY HH24:MI:SS')";
      changed[sig[k]] = true;
      continue;
    }
    if (x.type == tk::punct && x.text == "(") {  // 9, midnight form
      size_t after = midnight(t, sig, k, drop);
      if (after != 0) {
        for (size_t i = k; i < after; ++i) changed[sig[i]] = true;
        k = after - 1;
        continue;
      }
    }
    // The token begins a statement of the block.
    const bool starts = anonymous_block && k > 0 &&
                        (before(1).text == ";" || is(before(1), "BEGIN") || is(before(1), "THEN") ||
                         is(before(1), "ELSE") || is(before(1), "LOOP"));
    if (starts && (is(x, "COMMIT") || is(x, "ROLLBACK"))) {  // 21
      const size_t last = k + 1 < sig.size() && is(t[sig[k + 1]], "WORK") ? k + 1 : k;
      if (last + 1 < sig.size() && t[sig[last + 1]].text == ";") {
        t[sig[last]].text += " AND CHAIN";
        changed[sig[last]] = true;
        k = last;
        continue;
      }
    }
    if (starts && is(x, "DELETE") && k + 1 < sig.size() && !is(t[sig[k + 1]], "FROM") &&
        t[sig[k + 1]].type == tk::word) {  // 4, a statement of a block
      x.text += " FROM";
      changed[sig[k]] = true;
    } else if (empty_literal(x)) {  // 10
      x = token{tk::word, "NULL"};
      changed[sig[k]] = true;
    } else if (is(x, "DEFAULT") && k + 3 < sig.size() && is(t[sig[k + 1]], "EMPTY_CLOB") && next_is(2, "(") &&
               next_is(3, ")")) {  // 2
      t[sig[k + 1]] = token{tk::string, "''"};
      changed[sig[k + 1]] = true;
      drop[sig[k + 2]] = drop[sig[k + 3]] = true;
      k += 3;
    } else if (is(x, "SQL") && !next_is(1, "%")) {  // 3 (SQL%ROWCOUNT is the block's cursor)
      x = token{tk::qname, "\"sql\""};
      changed[sig[k]] = true;
    } else if (is(x, "SELECT") && k + 5 < sig.size() && is(t[sig[k + 2]], "INTO") &&
               same_word(t[sig[k + 1]], t[sig[k + 3]]) && is(t[sig[k + 4]], "FROM") &&
               t[sig[k + 5]].type == tk::word && !next_is(6, ".")) {  // 5
      t[sig[k + 1]].text = t[sig[k + 5]].text + "." + t[sig[k + 1]].text;
    } else if (is(x, "INITRANS") || is(x, "MAXTRANS") || is(x, "PCTFREE") || is(x, "PCTUSED") ||
               is(x, "STORAGE")) {  // 7
      drop[sig[k]] = true;
      if (k > 0 && t[sig[k] - 1].type == tk::space) drop[sig[k] - 1] = true;
      if (next_is(1, "(")) {
        size_t end = closing(t, sig, k + 1);
        if (end == std::string::npos) end = sig.size() - 1;
        for (size_t i = sig[k]; i <= sig[end]; ++i) drop[i] = true;
        k = end;
      } else if (k + 1 < sig.size() && t[sig[k + 1]].type == tk::number) {
        for (size_t i = sig[k]; i <= sig[k + 1]; ++i) drop[i] = true;
        ++k;
      }
    } else if (is(x, "SYSDATE") && k + 2 < sig.size() && (next_is(1, "+") || next_is(1, "-")) &&
               t[sig[k + 2]].type == tk::number) {  // 9
      double days = std::strtod(t[sig[k + 2]].text.c_str(), nullptr);
      t[sig[k + 2]].text = "INTERVAL " + std::to_string(std::llround(days * 86400.0)) + " SECOND";
      changed[sig[k + 2]] = true;
      k += 2;
    } else if (is(x, "SYSDATE") && k + 4 < sig.size() && (next_is(1, "+") || next_is(1, "-")) && next_is(2, "(") &&
               t[sig[k + 3]].type == tk::number && next_is(4, ")")) {  // 9, "sysdate - (n)"
      double days = std::strtod(t[sig[k + 3]].text.c_str(), nullptr);
      t[sig[k + 3]].text = "INTERVAL " + std::to_string(std::llround(days * 86400.0)) + " SECOND";
      drop[sig[k + 2]] = drop[sig[k + 4]] = true;  // an interval takes no parentheses
      changed[sig[k + 3]] = true;
      k += 4;
    } else if (is(x, "TO_CHAR") && next_is(1, "(") && closing(t, sig, k + 1) != std::string::npos &&
               one_argument(t, sig, k + 1, closing(t, sig, k + 1))) {  // 17
      const size_t end = closing(t, sig, k + 1);
      x.text = "CAST";
      t[sig[end]].text = " AS CHAR)";
      changed[sig[k]] = changed[sig[end]] = true;
    } else if (x.type == tk::marker) {  // 11
      markers.push_back(std::strtol(x.text.c_str() + 2, nullptr, 10));
      x.text = "? ";
    }
  }
  t = kept_tokens(t, drop, changed);
}

// Rules at the start of a statement: 4 and 6.
void statement_rules(tokens& t) {
  std::vector<size_t> sig = significant(t);
  if (sig.size() >= 2 && is(t[sig[0]], "DELETE") && !is(t[sig[1]], "FROM") && t[sig[1]].type != tk::punct) {
    t[sig[0]].text += " FROM";
  } else if (sig.size() >= 4 && is(t[sig[0]], "RENAME") && !is(t[sig[1]], "TABLE")) {
    t[sig[0]].text += " TABLE";
  }
}

// Rule 15: "ALTER TABLE t MODIFY (c NULL, d NOT NULL)".
bool modify_nulls(const tokens& t, const std::vector<size_t>& sig, result& r) {
  auto w = [&](size_t k, const char* word) { return k < sig.size() && is(t[sig[k]], word); };
  auto p = [&](size_t k, const char* text) {
    return k < sig.size() && t[sig[k]].type == tk::punct && t[sig[k]].text == text;
  };
  if (!w(0, "ALTER") || !w(1, "TABLE") || sig.size() < 7 || t[sig[2]].type != tk::word) return false;
  size_t k = 3;
  std::string table = t[sig[2]].text;
  if (p(3, ".") && k + 1 < sig.size() && t[sig[4]].type == tk::word) {
    table += "." + t[sig[4]].text;
    k = 5;
  }
  if (!w(k, "MODIFY") || !p(k + 1, "(")) return false;
  k += 2;
  std::vector<std::pair<std::string, bool>> cols;
  for (;;) {
    if (k >= sig.size() || t[sig[k]].type != tk::word) return false;
    std::string col = t[sig[k++]].text;
    bool not_null = w(k, "NOT");
    if (not_null) ++k;
    if (!w(k, "NULL")) return false;
    cols.emplace_back(col, not_null);
    ++k;
    if (p(k, ",")) {
      ++k;
      continue;
    }
    if (!p(k, ")")) return false;
    ++k;
    break;
  }
  if (p(k, ";")) ++k;
  if (k != sig.size()) return false;
  r.table = table;
  r.nulls = std::move(cols);
  return true;
}

// Rule 18: "DROP INDEX [owner.]i" with nothing after it.
bool drop_index(const tokens& t, const std::vector<size_t>& sig, result& r) {
  auto w = [&](size_t k, const char* word) { return k < sig.size() && is(t[sig[k]], word); };
  auto name = [&](size_t k) { return k < sig.size() && t[sig[k]].type == tk::word; };
  if (!w(0, "DROP") || !w(1, "INDEX") || !name(2)) return false;
  size_t k = 3;
  std::string index = t[sig[2]].text;
  if (k + 1 < sig.size() && t[sig[k]].text == "." && name(k + 1)) {
    index = t[sig[k + 1]].text;
    k += 2;
  }
  if (k < sig.size() && t[sig[k]].text == ";") ++k;
  if (k != sig.size()) return false;
  r.drop_index = index;
  return true;
}

// Rule 20: "ALTER INDEX i RENAME TO j" (an owner before either name left
// out); the service names the table the catalogue gives for i.
bool rename_index(const tokens& t, const std::vector<size_t>& sig, result& r) {
  auto w = [&](size_t k, const char* word) { return k < sig.size() && is(t[sig[k]], word); };
  auto name = [&](size_t k) { return k < sig.size() && t[sig[k]].type == tk::word; };
  // The name at k (or after "owner."), and the position after it.
  auto take = [&](size_t k, std::string& out) -> size_t {
    if (!name(k)) return 0;
    out = t[sig[k]].text;
    if (k + 2 < sig.size() && t[sig[k + 1]].text == "." && name(k + 2)) {
      out = t[sig[k + 2]].text;
      return k + 3;
    }
    return k + 1;
  };
  if (!w(0, "ALTER") || !w(1, "INDEX")) return false;
  std::string from, to;
  size_t k = take(2, from);
  if (k == 0 || !w(k, "RENAME") || !w(k + 1, "TO")) return false;
  k = take(k + 2, to);
  if (k == 0) return false;
  if (k < sig.size() && t[sig[k]].text == ";") ++k;
  if (k != sig.size()) return false;
  r.rename_index = {from, to};
  return true;
}

// Rule 16: Oracle's outer-join marks. In "SELECT ... FROM a, b WHERE a.x =
// b.y (+) AND ..." table b is optional: the FROM list becomes "a LEFT JOIN b
// ON a.x = b.y" (the other tables by CROSS JOIN, the conditions without a
// mark staying in WHERE). The mark may stand on either side of an equality
// and on a test of the optional table against a constant ("b.t (+) = 5",
// which joins b's ON condition); several tables may be optional, each
// joined after the tables its conditions name, and the SELECT may be the
// body of a CREATE VIEW. Only that form is taken: one SELECT level, simple
// table items, conditions joined by AND, one mark per condition outside
// parentheses; anything else is sent as it came and the server's error
// comes back.
std::string outer_joins(const std::string& text) {
  tokens t = tokenize(text);
  std::vector<size_t> sig = significant(t);
  auto mark_at = [&](size_t k) {
    return k + 2 < sig.size() && t[sig[k]].text == "(" && t[sig[k + 1]].text == "+" && t[sig[k + 2]].text == ")";
  };
  bool any = false;
  for (size_t k = 0; k < sig.size(); ++k) any = any || mark_at(k);
  if (!any) return text;
  // The clauses of the statement's one SELECT, at parenthesis depth 0.
  size_t select = std::string::npos, from = std::string::npos, where = std::string::npos, end = sig.size();
  int depth = 0;
  for (size_t k = 0; k < sig.size(); ++k) {
    const token& x = t[sig[k]];
    if (x.type == tk::punct && x.text == "(") ++depth;
    if (x.type == tk::punct && x.text == ")") --depth;
    if (depth != 0) continue;
    if (is(x, "SELECT")) {
      if (select != std::string::npos) return text;
      select = k;
    } else if (is(x, "FROM") && from == std::string::npos && select != std::string::npos) {
      from = k;
    } else if (is(x, "WHERE") && where == std::string::npos && from != std::string::npos) {
      where = k;
    } else if (where != std::string::npos && end == sig.size() &&
               (is(x, "GROUP") || is(x, "ORDER") || is(x, "HAVING") || is(x, "UNION") || x.text == ";")) {
      end = k;
    } else if (where != std::string::npos && end == sig.size() && is(x, "OR")) {
      return text;
    }
  }
  if (select == std::string::npos || from == std::string::npos || where == std::string::npos) return text;
  for (size_t k = 0; k < sig.size(); ++k) {
    if (mark_at(k) && (k < where || k >= end)) return text;
  }
  auto upper = [](std::string w) {
    for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return w;
  };
  // FROM items: "name", "owner.name" or either with an alias.
  struct item {
    std::string text, key;
    bool optional = false, placed = false;
    std::vector<std::string> on, deps;
  };
  std::vector<item> items;
  for (size_t k = from + 1; k < where;) {
    size_t stop = k;
    while (stop < where && t[sig[stop]].text != ",") ++stop;
    item it;
    std::string last;
    for (size_t i = k; i < stop; ++i) {
      const token& x = t[sig[i]];
      if (x.type != tk::word && x.text != ".") return text;
      if (is(x, "JOIN") || is(x, "ON")) return text;
      if (x.type == tk::word) last = x.text;
    }
    if (stop == k || last.empty()) return text;
    it.text = join(t, sig[k], sig[stop - 1] + 1);
    it.key = upper(last);
    items.push_back(std::move(it));
    k = stop + 1;
  }
  auto find_item = [&](const std::string& key) -> item* {
    for (item& it : items) {
      if (it.key == upper(key)) return &it;
    }
    return nullptr;
  };
  // The qualifier of the first "q.column" in sig[a, b).
  auto qualifier = [&](size_t a, size_t b) -> std::string {
    for (size_t i = a; i + 1 < b; ++i) {
      if (t[sig[i]].type == tk::word && t[sig[i + 1]].text == ".") return t[sig[i]].text;
    }
    return "";
  };
  std::vector<std::string> rest;
  for (size_t k = where + 1; k < end;) {
    size_t stop = k;
    int d = 0;
    while (stop < end) {
      const token& x = t[sig[stop]];
      if (x.text == "(") ++d;
      if (x.text == ")") --d;
      if (d == 0 && is(x, "AND")) break;
      ++stop;
    }
    if (stop == k) return text;
    size_t mark = std::string::npos, eq = std::string::npos;
    d = 0;
    for (size_t i = k; i < stop; ++i) {
      if (mark_at(i)) {
        // One mark, on a column of the condition itself (not inside a
        // parenthesis or a subquery).
        if (mark != std::string::npos || d != 0) return text;
        mark = i;
        i += 2;
        continue;
      }
      if (t[sig[i]].text == "(") ++d;
      if (t[sig[i]].text == ")") --d;
      if (d == 0 && t[sig[i]].text == "=" && eq == std::string::npos) eq = i;
    }
    // The condition's text without its mark.
    std::string cond;
    for (size_t i = sig[k]; i <= sig[stop - 1]; ++i) {
      if (mark != std::string::npos && i + 1 >= sig[mark] && i <= sig[mark + 2] &&
          (i >= sig[mark] || t[i].type == tk::space)) {
        continue;  // the mark and the blank before it
      }
      cond += t[i].text;
    }
    cond = trim(cond);
    if (mark == std::string::npos) {
      rest.push_back(cond);
    } else {
      if (eq == std::string::npos) return text;
      bool left = mark < eq;
      std::string opt = left ? qualifier(k, eq) : qualifier(eq + 1, stop);
      std::string other = left ? qualifier(eq + 1, stop) : qualifier(k, eq);
      item* o = find_item(opt);
      if (o == nullptr) return text;
      o->optional = true;
      o->on.push_back(cond);
      if (!other.empty()) {
        if (find_item(other) == nullptr) return text;
        o->deps.push_back(upper(other));
      }
    }
    k = stop + 1;
  }
  std::string joined;
  for (item& it : items) {
    if (it.optional) continue;
    joined += (joined.empty() ? "" : " CROSS JOIN ") + it.text;
    it.placed = true;
  }
  if (joined.empty()) return text;
  for (bool progress = true; progress;) {
    progress = false;
    for (item& it : items) {
      if (it.placed) continue;
      bool ready = true;
      for (const std::string& d : it.deps) ready = ready && (d == it.key || find_item(d)->placed);
      if (!ready) continue;
      joined += " LEFT JOIN " + it.text + " ON ";
      for (size_t i = 0; i < it.on.size(); ++i) joined += (i == 0 ? "" : " AND ") + it.on[i];
      it.placed = progress = true;
    }
  }
  for (const item& it : items) {
    if (!it.placed) return text;
  }
  std::string out = join(t, 0, sig[from]) + "FROM " + joined;
  for (size_t i = 0; i < rest.size(); ++i) out += (i == 0 ? " WHERE " : " AND ") + rest[i];
  if (end < sig.size()) out += " " + join(t, sig[end]);
  return out;
}

// Statements whose own text holds semicolons (blocks and stored code).
bool compound(const tokens& t, const std::vector<size_t>& sig) {
  if (sig.empty()) return false;
  const token& first = t[sig[0]];
  if (is(first, "BEGIN") || is(first, "DECLARE")) return true;
  if (!is(first, "CREATE")) return false;
  for (size_t k = 1; k < sig.size() && k < 6; ++k) {
    const token& w = t[sig[k]];
    if (is(w, "PROCEDURE") || is(w, "FUNCTION") || is(w, "TRIGGER") || is(w, "PACKAGE")) return true;
  }
  return false;
}

// One statement of a list: its tokens up to its last word, and the blanks
// and comments after it.
struct statement {
  tokens body, tail;
};

// Splits at the semicolons outside parentheses. The blanks and comments of
// a part that holds no statement join the statement before it (or begin
// the first).
std::vector<statement> split_statements(tokens& t) {
  std::vector<tokens> parts(1);
  int depth = 0;
  for (token& x : t) {
    if (x.type == tk::punct && x.text == "(") ++depth;
    if (x.type == tk::punct && x.text == ")") --depth;
    if (x.type == tk::punct && x.text == ";" && depth <= 0) {
      parts.emplace_back();
      continue;
    }
    parts.back().push_back(std::move(x));
  }
  std::vector<statement> list;
  tokens pending;
  for (tokens& p : parts) {
    const std::vector<size_t> sig = significant(p);
    if (sig.empty()) {
      tokens& to = list.empty() ? pending : list.back().tail;
      for (token& x : p) to.push_back(std::move(x));
      continue;
    }
    statement s;
    s.body = std::move(pending);
    pending.clear();
    for (size_t i = 0; i < p.size(); ++i) (i <= sig.back() ? s.body : s.tail).push_back(std::move(p[i]));
    list.push_back(std::move(s));
  }
  return list;
}

// A statement's text after the statement and token rules.
std::string ruled_text(tokens& body, std::vector<long>& markers) {
  statement_rules(body);
  token_rules(body, markers);
  return outer_joins(join_trimmed(body));
}

// The comments after a statement's ';'; a line comment gets its line end,
// so what follows stays outside it.
std::string tail_text(const tokens& tail) {
  const std::string text = join_trimmed(tail);
  if (text.empty()) return text;
  for (auto it = tail.rbegin(); it != tail.rend(); ++it) {
    if (it->type == tk::space) continue;
    const bool line_comment = it->type == tk::comment && it->text.compare(0, 2, "--") == 0;
    return " " + text + (line_comment ? "\n" : "");
  }
  return text;
}

}  // namespace

long marker_number(std::string_view marker) {
  size_t at = marker.find(':');
  if (at == std::string_view::npos || at + 2 >= marker.size()) return -1;
  if (marker[at + 1] != 'B' && marker[at + 1] != 'b') return -1;
  if (marker.size() - (at + 2) > kMarkerDigits) return -1;
  long n = 0;
  for (size_t i = at + 2; i < marker.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(marker[i]))) return -1;
    n = n * 10 + (marker[i] - '0');
  }
  return n;
}

result rewrite(std::string_view text) {
  result r;
  tokens t = tokenize(text);
  std::vector<size_t> sig = significant(t);
  if (unrun(t, sig)) {
    r.skip = true;
    return r;
  }
  r.what = kind_of(t, sig);
  if (modify_nulls(t, sig, r) || drop_index(t, sig, r) || rename_index(t, sig, r)) {
    r.sql = trim(std::string(text));
    return r;
  }
  std::string call;
  if (block_call(t, sig, call)) {
    tokens c = tokenize(call);
    token_rules(c, r.markers);
    r.sql = join(c);
    r.what = kind::block_call;
    r.block = true;
    return r;
  }
  if (compound(t, sig)) {
    r.block = is(t[sig[0]], "BEGIN") || is(t[sig[0]], "DECLARE");
    token_rules(t, r.markers);
    r.sql = join_trimmed(t);
    return r;
  }
  // Rule 12. A ';' cannot be placed after a literal or comment the text
  // ends inside: such a list goes as it came, for the server to refuse.
  bool open = false;
  for (const token& x : t) open = open || x.open;
  const std::string as_came = open ? join_trimmed(t) : std::string();
  std::vector<statement> list = split_statements(t);
  if (list.size() > 1 && open) {
    r.sql = as_came;
    return r;
  }
  if (list.size() == 1) {
    tokens& whole = list[0].body;
    for (token& x : list[0].tail) whole.push_back(std::move(x));
    r.sql = ruled_text(whole, r.markers);
  } else if (list.size() > 1) {
    // Each statement ends before its trailing comments, so none of them
    // can take the ';' or the statements after it.
    r.sql = "BEGIN ";
    for (statement& s : list) r.sql += ruled_text(s.body, r.markers) + ";" + tail_text(s.tail) + " ";
    r.sql += "END;";
    r.block = true;
  }
  return r;
}

}  // namespace ora_rw
