// The schema language scanner: longest match over keywords, punctuation,
// signed integers and decimals, quoted strings, comments and words.
#include "schema/typ_lex.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

typ_lex_value ddlval;
long ddlineno = 1;
FILE* ddin = nullptr;
FILE* ddout = nullptr;

namespace {

char g_pushback[TYP_LEX_PUSHBACK];
long g_npushback = 0;
// The buffer of long strings: grows, never shrinks, reused by the next one.
char* g_long_buf = nullptr;
size_t g_long_size = 0;

struct keyword {
  const char* text;
  int code;
};
const keyword kKeywords[] = {
    {"OBJECT_END", 260}, {"OBJECT", 261}, {"FIELDS", 262}, {"FIELDS_END", 263}, {"SUBJECT", 264},
    {"RELATIONS", 265}, {"RELATIONS_END", 266}, {"OTM", 267}, {"MTO", 268}, {"MTM", 269},
    {"OTOP", 270}, {"OTOF", 271}, {"MANDATORY", 272}, {"OPTIONAL", 273}, {"PREDEFINED", 274},
    {"USER_DEFINED", 275}, {"COMPUTED", 276}, {"CMN_DATA_TYPE", 277}, {"DB_DATA_TYPE", 278},
    {"GEN_FIELD_ID", 279}, {"ARRAY_SIZE", 280}, {"GEN_REL_ID", 281}, {"INV_REL", 282},
    {"VIEW", 283}, {"VIEW_END", 284}, {"JOINS", 285}, {"JOINS_END", 286}, {"FROM", 287},
    {"UNIQUE", 288}, {"SCHEMA_REVISION", 289}, {"LOCAL_SCHEMA_REVISION", 290},
    {"SUBOBJECT", 291}, {"SUBOBJECT_END", 292}, {"INDEXES", 293}, {"INDEXES_END", 294},
    {"FIELD", 295}, {"RELATION", 296}, {"ALIAS", 297}, {"DEFAULT", 298}, {"COMMENT", 299},
    {"OLD_NAME", 300}, {"SEARCHABLE", 301}, {"EXCLUSIVE", 302}, {"CHANGE_DATE", 303},
    {"CHANGE_FIELD", 304}, {"REQUIRED", 305}, {"TYPE_FIELD", 306}, {"OBJID_FIELD", 307},
    {"EXCLUSIVE_SET", 309}, {"EXCLUSIVE_SET_END", 310}, {"REOPEN_EXCLUSIVE_SET", 311},
    {"OUTER", 312}, {"DONT_DISTR_TO_CLIENT", 313}, {"DONT_DISTR_TO_SERVER", 314},
    {"ALLOW_NULL", 315}, {"CURRENCY", 316}, {"DEC_PRECISION", 317}, {"DEC_SCALE", 318},
    {"CACHEOBJIDS", 319}, {"ALLOW_FLEX", 320}, {"SQL", 321}, {"BASE_TABLE", 322},
};

FILE* out_stream() { return ddout ? ddout : stdout; }

// Copies a token's text into the value cell (cut at the cell's size).
void set_text(const std::string& text) {
  size_t n = text.size() < size_t(TYP_LEX_TEXT_MAX) ? text.size() : size_t(TYP_LEX_TEXT_MAX);
  memcpy(ddlval.text, text.data(), n);
  ddlval.text[n] = 0;
}

// A token longer than the scanner takes: reported, and the parse fails.
int too_long() {
  fprintf(out_stream(), "Input string too long, limit %d\n", int(TYP_LEX_TOKEN_MAX));
  return -1;
}

int32_t to_int32(const std::string& text) {
  errno = 0;
  long long v = strtoll(text.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return int32_t(v);
}

bool is_word_start(int c) { return isalpha(c) || c == '_'; }
bool is_word_char(int c) { return isalnum(c) || c == '_'; }

// Skips a comment whose "/*" was read; false at end of input.
bool skip_comment() {
  int prev = 0;
  for (;;) {
    int c = ddinput();
    if (c == 0) return false;
    if (prev == '*' && c == '/') return true;
    prev = c;
  }
}

int scan_number(int first) {
  std::string text(1, char(first));
  int c;
  while (isdigit(c = ddinput())) {
    text += char(c);
    if (long(text.size()) > TYP_LEX_TOKEN_MAX) return too_long();
  }
  if (c != '.') {
    if (c) ddunput(c);
    set_text(text);
    ddlval.ival = to_int32(text);
    typ_lex_debug("integer");
    return TYP_TK_INTEGER;
  }
  text += '.';
  while (isdigit(c = ddinput())) {
    text += char(c);
    if (long(text.size()) > TYP_LEX_TOKEN_MAX) return too_long();
  }
  if (c) ddunput(c);
  set_text(text);
  ddlval.dval = atof(text.c_str());
  typ_lex_debug("decimal");
  return TYP_TK_DECIMAL;
}

int scan_string() {
  std::string body;
  for (;;) {
    int c = ddinput();
    if (c == 0) return TYP_TK_BAD_CHAR;  // no closing quote
    if (c == '"') break;
    body += char(c);
    if (c == '\\') {
      int d = ddinput();
      if (d == 0) return TYP_TK_BAD_CHAR;
      body += char(d);
    }
    if (long(body.size()) + 2 > TYP_LEX_TOKEN_MAX) return too_long();
  }
  if (long(body.size()) + 2 <= TYP_LEX_TEXT_MAX) {
    set_text(body);
    typ_lex_debug("quoted string");
    return TYP_TK_WORD;
  }
  std::string text;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size() && body[i + 1] == '"') continue;
    text += body[i];
  }
  size_t need = body.size() + 2 + 1;
  if (need > g_long_size) {
    char* grown = static_cast<char*>(realloc(g_long_buf, need));
    if (!grown) {
      fprintf(out_stream(), "Cannot allocate %ld bytes for long token\n", long(need));
      return -1;
    }
    g_long_buf = grown;
    g_long_size = need;
  }
  memcpy(g_long_buf, text.c_str(), text.size() + 1);
  ddlval.ptr = g_long_buf;
  ddlval.text[0] = 0;
  typ_lex_debug("long string");
  return TYP_TK_LONG_STRING;
}

int scan_word(int first) {
  std::string text(1, char(first));
  int c;
  while (is_word_char(c = ddinput())) {
    text += char(c);
    if (long(text.size()) > TYP_LEX_TOKEN_MAX) return too_long();
  }
  if (c) ddunput(c);
  for (const keyword& k : kKeywords) {
    if (text == k.text) {
      set_text(text);
      typ_lex_debug("keyword");
      return k.code;
    }
  }
  if (long(text.size()) > TYP_LEX_TEXT_MAX) {
    ddlval.text[0] = 0;
    return TYP_TK_OVERLONG;
  }
  set_text(text);
  typ_lex_debug("word");
  return TYP_TK_WORD;
}

}  // namespace

int ddinput() {
  int c;
  if (g_npushback > 0) {
    c = static_cast<unsigned char>(g_pushback[--g_npushback]);
  } else {
    int r = fgetc(ddin ? ddin : stdin);
    c = r == EOF ? 0 : r;
  }
  if (c == '\n') ++ddlineno;
  return c;
}

void ddunput(int ch) {
  if (g_npushback >= TYP_LEX_PUSHBACK) return;  // full: the character is dropped
  g_pushback[g_npushback++] = char(ch);
  if (ch == '\n') --ddlineno;
}

void ddoutput(int ch) { fputc(ch, out_stream()); }

int ddwrap() { return 1; }

long typ_bld_return_lineno() { return ddlineno; }

int typ_lex_debug(const char*, ...) { return 0; }

void typ_lex_set_input(FILE* in) {
  ddin = in;
  g_npushback = 0;
  ddlineno = 1;
}

const char* typ_lex_keyword(int code) {
  for (const keyword& k : kKeywords)
    if (k.code == code) return k.text;
  return nullptr;
}

int ddlex() {
  for (;;) {
    int c = ddinput();
    if (c == 0) return ddwrap() ? 0 : 0;
    if (c == ' ' || c == '\t' || c == '\n') continue;
    if (c == '/') {
      int d = ddinput();
      if (d == '*') {
        if (skip_comment()) continue;
        return TYP_TK_BAD_CHAR;  // comment never closed
      }
      if (d) ddunput(d);
      ddlval.text[0] = '/';
      ddlval.text[1] = 0;
      return TYP_TK_BAD_CHAR;
    }
    if (c == ',' || c == '.' || c == ';' || c == '=') {
      ddlval.text[0] = char(c);
      ddlval.text[1] = 0;
      typ_lex_debug("punctuation");
      return c;
    }
    if (c == '+' || c == '-') {
      int d = ddinput();
      if (isdigit(d)) {
        ddunput(d);
        return scan_number(c);
      }
      if (d) ddunput(d);
      ddlval.text[0] = char(c);
      ddlval.text[1] = 0;
      return TYP_TK_BAD_CHAR;
    }
    if (isdigit(c)) return scan_number(c);
    if (c == '"') return scan_string();
    if (is_word_start(c)) return scan_word(c);
    ddlval.text[0] = char(c);
    ddlval.text[1] = 0;
    return TYP_TK_BAD_CHAR;
  }
}

// The token names the parser uses are the codes of the keyword table.
static_assert(TYP_TK_UNIQUE == 288 && TYP_TK_FIELD == 295 && TYP_TK_SEARCHABLE == 301 && TYP_TK_OBJID_FIELD == 307);
static_assert(TYP_TK_OUTER == 312 && TYP_TK_CACHEOBJIDS == 319 && TYP_TK_BASE_TABLE == 322);
