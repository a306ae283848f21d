// Scanner of the schema language: token codes, the value cell, the
// character source with its push-back buffer and the line counter.
#pragma once

#include "orb_api.h"

#include <cstdint>
#include <cstdio>

// Token codes handed to the parser. Punctuation tokens are their character.
enum : int {
  TYP_TK_INTEGER = 257,
  TYP_TK_DECIMAL = 258,
  TYP_TK_WORD = 259,
  TYP_TK_OBJECT_END = 260,
  TYP_TK_OBJECT, TYP_TK_FIELDS, TYP_TK_FIELDS_END, TYP_TK_SUBJECT, TYP_TK_RELATIONS,
  TYP_TK_RELATIONS_END, TYP_TK_OTM, TYP_TK_MTO, TYP_TK_MTM, TYP_TK_OTOP, TYP_TK_OTOF,
  TYP_TK_MANDATORY, TYP_TK_OPTIONAL, TYP_TK_PREDEFINED, TYP_TK_USER_DEFINED, TYP_TK_COMPUTED,
  TYP_TK_CMN_DATA_TYPE, TYP_TK_DB_DATA_TYPE, TYP_TK_GEN_FIELD_ID, TYP_TK_ARRAY_SIZE,
  TYP_TK_GEN_REL_ID, TYP_TK_INV_REL, TYP_TK_VIEW, TYP_TK_VIEW_END, TYP_TK_JOINS, TYP_TK_JOINS_END,
  TYP_TK_FROM, TYP_TK_UNIQUE, TYP_TK_SCHEMA_REVISION, TYP_TK_LOCAL_SCHEMA_REVISION,
  TYP_TK_SUBOBJECT, TYP_TK_SUBOBJECT_END, TYP_TK_INDEXES, TYP_TK_INDEXES_END, TYP_TK_FIELD,
  TYP_TK_RELATION, TYP_TK_ALIAS, TYP_TK_DEFAULT, TYP_TK_COMMENT, TYP_TK_OLD_NAME,
  TYP_TK_SEARCHABLE, TYP_TK_EXCLUSIVE, TYP_TK_CHANGE_DATE, TYP_TK_CHANGE_FIELD, TYP_TK_REQUIRED,
  TYP_TK_TYPE_FIELD, TYP_TK_OBJID_FIELD,  // 307
  TYP_TK_EXCLUSIVE_SET = 309,
  TYP_TK_EXCLUSIVE_SET_END, TYP_TK_REOPEN_EXCLUSIVE_SET, TYP_TK_OUTER, TYP_TK_DONT_DISTR_TO_CLIENT,
  TYP_TK_DONT_DISTR_TO_SERVER, TYP_TK_ALLOW_NULL, TYP_TK_CURRENCY, TYP_TK_DEC_PRECISION,
  TYP_TK_DEC_SCALE, TYP_TK_CACHEOBJIDS, TYP_TK_ALLOW_FLEX, TYP_TK_SQL, TYP_TK_BASE_TABLE,  // 322
  TYP_TK_LONG_STRING = 323,
  // Never accepted by the grammar: a word longer than a value cell holds,
  // and a character that starts no token.
  TYP_TK_OVERLONG = 324,
  TYP_TK_BAD_CHAR = 325,
};

constexpr long TYP_LEX_TEXT_MAX = 256;     // characters of a value cell's text
constexpr long TYP_LEX_TOKEN_MAX = 5000;   // characters of one token
constexpr long TYP_LEX_PUSHBACK = 5000;

// The scanner's value cell.
struct typ_lex_value {
  int32_t ival;
  double dval;
  char text[TYP_LEX_TEXT_MAX + 1];
  char* ptr;
};

extern typ_lex_value ddlval;
extern long ddlineno;
extern FILE* ddin;
extern FILE* ddout;

ORB_API int ddlex();
ORB_API int ddinput();
ORB_API void ddunput(int ch);
ORB_API void ddoutput(int ch);
ORB_API int ddwrap();
ORB_API long typ_bld_return_lineno();
ORB_API int typ_lex_debug(const char* format, ...);

// Makes `in` the scanner's input, empties the push-back buffer and sets
// the line number to 1 (null: standard input).
void typ_lex_set_input(FILE* in);
// The keyword text of a token code, or null.
const char* typ_lex_keyword(int code);
