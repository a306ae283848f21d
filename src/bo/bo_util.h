// Utility functions of the business-object utilities: the delimiter
// tokenizer, an owned malloc pointer, path, text and file helpers, message
// ids and their texts (compiled-in table or data dictionary), variant
// normalisation and conversions with defaults, HTML escaping, hexadecimal
// and date helpers.
//
// Threads: no shared state; each object is used by one thread at a time.
#pragma once

#include <cstdint>
#include <ctime>

#include "kclassic/kc_var.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class IDdDataDict;

// This library's own subsystem: its texts are the compiled-in resource
// strings.
inline constexpr long BO_SUBSYS_OWN = 139;
inline constexpr long BO_STR_INDEX_MASK = 0xFFFFF;
inline constexpr int BO_STR_SUBSYS_SHIFT = 20;
inline constexpr unsigned long BO_LANG_ENGLISH_US = 1033;
// Message ids of this library used here.
inline constexpr long BO_ERR_NO_SESSION_STRING = 0x8B000E3;
// The variant type of an object reference, which never normalises.
inline constexpr uint16_t BO_VT_OBJECT = 9;
inline constexpr uint16_t BO_VT_WIDESTR = 8;
inline constexpr uint16_t BO_VT_VARIANT = 12;
inline constexpr uint16_t BO_VT_UI2 = 18;
inline constexpr uint16_t BO_VT_UI4 = 19;

// Text still to be split and the delimiter, which never changes.
class ORB_API KUtlTokStr {
 public:
  KUtlTokStr();
  KUtlTokStr(const char* text, char delim);
  KUtlTokStr(wchar_t* text, char delim);

  // 1 and the next token (possibly empty); 0 when the text is used up.
  int GetNextToken(KZString& token);
  // Start of the first whole token equal to tok, case ignored; -1 if none.
  long FindTok(const char* tok);
  // Removes the first whole token equal to tok with one delimiter.
  void RemoveTok(const char* tok);

  const KZString& GetText() const { return m_text; }
  char GetDelimiter() const { return m_delim; }

 private:
  KZString m_text;
  char m_delim;
};

// Owns one malloc block; frees it on destruction.
class ORB_API KCharPtr {
 public:
  explicit KCharPtr(char* p = nullptr) : m_p(p) {}
  ~KCharPtr();
  KCharPtr(const KCharPtr&) = delete;
  KCharPtr& operator=(const KCharPtr&) = delete;
  char* Get() const { return m_p; }
  operator char*() const { return m_p; }

 private:
  char* m_p;
};

// Paths, texts and files.
// Cuts path at its last '\\' or '/' (replaced by the NUL) or after its last ':'.
ORB_API void UtlGetDirFromPath(char* path);
// 1 when text holds a character above the blank.
ORB_API int UtlIsEmpty(const char* text);
// a in upper case, then "-number1", "-B" and "-number2" for those given.
ORB_API void UtlMakeString(KZString& out, const char* a, long number1, const char* b, long number2);
// The file's bytes and two NULs in a new system byte string, or NULL.
ORB_API char* UtlReadFromFile(const char* path, unsigned long& len);
// 1 when the file was (re)written with len bytes; len becomes the bytes written.
ORB_API int UtlWriteToFile(const char* path, void* data, unsigned long& len);

// Message ids: subsystem number in bits 20 and up, index in the low 20.
ORB_API long OrbnStrId2SubSys(long id);
// The database string id of a message id; 0 when its subsystem has no row.
ORB_API long MapOrbnStrId2DbStrId(long id, long& subsys, long& number);
ORB_API void MapDbStrId2OrbnStrId(long dbId, long& id, long& first, long& end);
// 1 and the text of id in language (0: the system's); 0 and a fallback text.
ORB_API int UtlLoadString(IDdDataDict* dict, long language, long id, KZString& out);
ORB_API void UtlAppendString(IDdDataDict* dict, long language, long id, KZString& out);
ORB_API long UtlGetLocaleFromOs();

// Variants: long for the integer types, double for float, by-reference
// values followed; an object reference or an unknown type throws 0x8B000C9.
ORB_API void UtlNormalizeVariantGuts(tagKVARIANT* in, tagKVARIANT& out);
ORB_API void UtlNormalizeVariant(tagKVARIANT* in, tagKVARIANT& out);
ORB_API KOleVariant UtlNormalizeVariant(const tagKVARIANT* in);
// The value converted, or dflt for an empty, null or error value.
ORB_API double UtlVariantToDouble(const tagKVARIANT& v, double dflt);
ORB_API long UtlVariantToLong(const tagKVARIANT& v, long dflt);
ORB_API int UtlVariantToBool(const tagKVARIANT& v, int dflt);
ORB_API const char* UtlVariantToString(const tagKVARIANT& v, KZString& out, const char* dflt);

// HTML. Wide system strings hold 16-bit characters, 2 bytes each.
// A new wide system string with &, <, >, " (and their full-width forms)
// written as entities.
ORB_API char* UtlHTMLEncode(const tagKVARIANT& v);
// len = the encoded length in characters of the wide text; found = 1 when
// any character needs an entity.
ORB_API void UtlHTMLEncodePreProcess(char* text, int* found, long* len);
// A new wide system string of len characters: the encoded text.
ORB_API void UtlHTMLEncodeIt(char* text, char** out, long len);

// Hexadecimal: two upper-case digits a byte, high nibble first.
ORB_API void UtlBinToHex(const char* bin, unsigned long len, char* out);
ORB_API void UtlHexToBin(const char* hex, unsigned long len, char* out);

// An OLE date broken down; tm_isdst -1. 0 for a date out of range.
ORB_API int UtlTmFromOleDate(double date, std::tm& tm);

} // namespace KCLASSIC
