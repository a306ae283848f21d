// Dates of a query's select list read without the server's formatting.
#include "platform/dataservice/ora/ora_sel.h"

#include <cctype>
#include <cstring>

namespace ora_rw {
namespace {

constexpr std::string_view kDateFormat = "'MM/DD/YYYY HH24:MI:SS'";

// Words that make a taken item's text matter to the statement's answer.
constexpr const char* kRefused[] = {"distinct", "unique", "group", "having", "union", "intersect", "minus", "except"};

bool word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#'; }

// The text as the outer statement sees it: lower case, with literals, quoted
// names, comments and everything inside parentheses blanked (the
// parentheses themselves stay). Same length as the text.
std::string outer_view(std::string_view s) {
  std::string v(s.size(), ' ');
  int depth = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\'' || c == '"' || c == '`') {
      size_t j = i + 1;
      for (; j < s.size(); ++j) {
        if (s[j] != c) continue;
        if (j + 1 < s.size() && s[j + 1] == c) {
          ++j;
          continue;
        }
        break;
      }
      i = j;
    } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      while (i < s.size() && s[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      size_t end = s.find("*/", i + 2);
      i = end == std::string_view::npos ? s.size() : end + 1;
    } else if (c == '(') {
      if (depth++ == 0) v[i] = '(';
    } else if (c == ')') {
      if (--depth == 0) v[i] = ')';
    } else if (depth == 0) {
      v[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return v;
}

// The position of word w standing alone in view at or after from, or npos.
size_t find_word(const std::string& view, std::string_view w, size_t from = 0) {
  for (size_t at = view.find(w, from); at != std::string::npos; at = view.find(w, at + 1)) {
    const bool before = at == 0 || !word_char(view[at - 1]);
    const bool after = at + w.size() >= view.size() || !word_char(view[at + w.size()]);
    if (before && after) return at;
  }
  return std::string::npos;
}

// Spans [begin, end) of the comma-separated parts of view between from and to.
std::vector<std::pair<size_t, size_t>> parts(const std::string& view, size_t from, size_t to) {
  std::vector<std::pair<size_t, size_t>> out;
  size_t begin = from;
  for (size_t i = from; i <= to; ++i) {
    if (i == to || view[i] == ',') {
      out.emplace_back(begin, i);
      begin = i + 1;
    }
  }
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// A column name, optionally qualified once: word or word.word.
bool column_name(std::string_view s) {
  size_t dot = s.find('.');
  std::string_view first = s.substr(0, dot);
  auto word = [](std::string_view w) {
    if (w.empty() || std::isdigit(static_cast<unsigned char>(w[0]))) return false;
    for (char c : w) {
      if (!word_char(c)) return false;
    }
    return true;
  };
  return word(first) && (dot == std::string_view::npos || word(s.substr(dot + 1)));
}

// The column of an item TO_CHAR(column, 'MM/DD/YYYY HH24:MI:SS'), or empty.
std::string_view date_column(std::string_view item) {
  constexpr std::string_view kCall = "to_char";
  if (item.size() < kCall.size() || !iequal(item.substr(0, kCall.size()), kCall) || item.back() != ')') return {};
  std::string_view inside = trimmed(item.substr(kCall.size()));
  if (inside.empty() || inside.front() != '(') return {};
  inside = inside.substr(1, inside.size() - 2);
  size_t comma = inside.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view column = trimmed(inside.substr(0, comma));
  if (trimmed(inside.substr(comma + 1)) != kDateFormat || !column_name(column)) return {};
  return column;
}

// An ORDER BY that names a position or a TO_CHAR value.
bool sorts_by_item(std::string_view sql, const std::string& view) {
  size_t order = find_word(view, "order");
  if (order == std::string::npos) return false;
  for (auto [b, e] : parts(view, order + 5, view.size())) {
    std::string_view key = trimmed(sql.substr(b, e - b));
    if (key.size() > 2 && iequal(key.substr(0, 2), "by")) key = trimmed(key.substr(2));
    if (!key.empty() && std::isdigit(static_cast<unsigned char>(key[0]))) return true;
    std::string lower(key);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("to_char") != std::string::npos) return true;
  }
  return false;
}

}  // namespace

plain_dates plain_date_items(std::string_view sql) {
  plain_dates out;
  const std::string view = outer_view(sql);
  const size_t select = find_word(view, "select");
  if (select == std::string::npos || trimmed(view.substr(0, select)) != "") return out;
  const size_t from = find_word(view, "from", select);
  if (from == std::string::npos) return out;
  for (const char* w : kRefused) {
    if (find_word(view, w) != std::string::npos) return out;
  }
  if (sorts_by_item(sql, view)) return out;
  std::string text;
  size_t copied = 0, position = 0;
  for (auto [b, e] : parts(view, select + 6, from)) {
    std::string_view raw = sql.substr(b, e - b);
    std::string_view item = trimmed(raw);
    std::string_view column = date_column(item);
    if (!column.empty()) {
      const size_t at = b + static_cast<size_t>(item.data() - raw.data());
      text.append(sql.substr(copied, at - copied)).append(column);
      copied = at + item.size();
      out.items.emplace_back(position, std::string(item));
    }
    ++position;
  }
  if (out.items.empty()) return out;
  out.sql = text.append(sql.substr(copied));
  return out;
}

}  // namespace ora_rw
