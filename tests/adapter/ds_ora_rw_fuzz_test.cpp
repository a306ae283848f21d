// The Oracle-dialect rewrites on generated statement lists, seeded so a
// failure repeats: every literal, quoted name and comment comes out byte for
// byte, in order, and every statement of the input is still a statement of
// the output (none swallowed by a comment or literal before it).
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dataservice/ora/ora_rw.h"

namespace {

// What the server sees in a text: its literals, quoted names and comments
// in order, the semicolons outside them and outside parentheses, and
// whether one of them is left open at the end.
struct lexed {
  std::vector<std::string> kept;
  int semicolons = 0;
  int statements = 0;  // stretches between those semicolons that hold more than blanks and comments
  bool open = false;
};

lexed lex(std::string_view s) {
  lexed out;
  int depth = 0;
  bool any = false;
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    size_t end = i + 1;
    if (c == '-' && s.substr(i, 2) == "--") {
      end = s.find('\n', i);
      if (end == std::string_view::npos) end = s.size();
    } else if (c == '/' && s.substr(i, 2) == "/*") {
      end = s.find("*/", i + 2);
      out.open = out.open || end == std::string_view::npos;
      end = end == std::string_view::npos ? s.size() : end + 2;
    } else if (c == '\'' || c == '"') {
      out.open = true;
      while (end < s.size()) {
        if (s[end] == c && end + 1 < s.size() && s[end + 1] == c) {
          end += 2;
        } else if (s[end++] == c) {
          out.open = false;
          break;
        }
      }
    } else {
      if (c == '(') ++depth;
      if (c == ')') --depth;
      if (c == ';' && depth <= 0) {
        ++out.semicolons;
        out.statements += any;
        any = false;
      } else if (!std::isspace(static_cast<unsigned char>(c))) {
        any = true;
      }
      i = end;
      continue;
    }
    any = any || (c != '-' && c != '/');
    out.kept.emplace_back(s.substr(i, end - i));
    i = end;
  }
  out.statements += any;
  return out;
}

// True when every entry of part comes in whole, in order, among all.
bool in_order(const std::vector<std::string>& part, const std::vector<std::string>& all) {
  size_t at = 0;
  for (const std::string& p : part) {
    while (at < all.size() && all[at] != p) ++at;
    if (at == all.size()) return false;
    ++at;
  }
  return true;
}

// Checks the rewrite of text against the oracle.
void check(const std::string& text) {
  SCOPED_TRACE(text);
  const ora_rw::result r = ora_rw::rewrite(text);
  const lexed in = lex(text), out = lex(r.sql);
  const int statements = in.statements;
  // An empty text is NULL: '' and N'' are the literals that do not stay.
  std::vector<std::string> lasting;
  for (const std::string& k : in.kept)
    if (k != "''") lasting.push_back(k);
  EXPECT_TRUE(in_order(lasting, out.kept)) << r.sql;
  if (in.open) {
    // Nothing can be ended after an open literal or comment: the text goes
    // as it came, for the server to refuse.
    EXPECT_EQ(out.open, true) << r.sql;
    EXPECT_EQ(out.semicolons, in.semicolons) << r.sql;
  } else if (statements > 1) {
    // "BEGIN s1; ...; sn; END;"
    EXPECT_FALSE(out.open) << r.sql;
    EXPECT_EQ(out.semicolons, statements + 1) << r.sql;
  } else {
    EXPECT_FALSE(out.open) << r.sql;
  }
}

// Pieces of statements, chosen for the rules they meet and the texts that
// have broken the wrapping of statement lists.
// (Parentheses stay balanced: the server refuses a statement that leaves
// one open, and a ';' inside one separates nothing.)
const struct {
  const char* head;
  const char* close;
} kHeads[] = {{"SELECT a FROM t WHERE b = ", ""},
              {"UPDATE t SET c = ", ""},
              {"DELETE t WHERE d = ", ""},
              {"INSERT INTO t VALUES (", ")"}};
const char* const kPieces[] = {
    "'a;b'",   "''",        "N''",      "n'x'",       "'x''y'",   "\"a\"",      "\"sql\"",  "sql",
    "sysdate", "-(5)",      "+1",       ":B1",        ":B22",     "1",          "NULL",     ", ",
    " ",       "-- c; x\n", "/* ; */",  "(1)",        "(';')",    "\"a\"SQL",   "''x",      "sysdate-(2)x",
    "e",       "'--'",      "'/*'",     "\"q;\"",     " AND ",    "=",          "-- ''\n",  "/**/",
};
const char* const kTails[] = {"", " -- done", " -- a; b", " /* end */", "-- x", "\n-- y\n"};
const char* const kOpen[] = {" 'open", " \"open", " /* open", " 'it''"};

std::string statement(std::mt19937& rng) {
  const auto& head = kHeads[rng() % std::size(kHeads)];
  std::string s = head.head;
  for (int n = static_cast<int>(rng() % 6); n > 0; --n) s += kPieces[rng() % std::size(kPieces)];
  // A line comment last among the pieces would take the closing parenthesis.
  if (*head.close) s += "\n";
  return s + head.close + kTails[rng() % std::size(kTails)];
}

}  // namespace

TEST(OraRewriteOracle, FoundTextsKeepEveryStatementAndLiteral) {
  const struct {
    const char* text;
    int statements;
  } found[] = {
      {"DELETE a -- first\n; DELETE b", 2},
      {"DELETE a; DELETE b -- last", 2},
      {"UPDATE t SET a = 1 -- one; two\n; UPDATE t SET b = 2 -- three\n; DELETE c", 3},
      {"DELETE a; -- only a comment\n; DELETE b", 2},
      {"DELETE a; SELECT 'open", 2},
      {"DELETE a; SELECT 1 FROM t /* open", 2},
      {"SELECT \"a\"SQL FROM t; DELETE b", 2},
      {"UPDATE t SET a = N''; UPDATE t SET b = n''", 2},
  };
  for (const auto& c : found) {
    EXPECT_EQ(lex(c.text).statements, c.statements) << c.text;
    check(c.text);
  }
}

TEST(OraRewriteOracle, GeneratedStatementLists) {
  std::mt19937 rng(20261211);
  for (int round = 0; round < 3000; ++round) {
    const int statements = 1 + static_cast<int>(rng() % 4);
    std::string text;
    for (int i = 0; i < statements; ++i) text += (i ? ";" : "") + statement(rng);
    if (rng() % 8 == 0) text += kOpen[rng() % std::size(kOpen)];
    SCOPED_TRACE(round);
    check(text);
  }
}
