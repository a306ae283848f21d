// KZString: the text type of the class layers. A byte string in the calling
// thread's locale encoding, always NUL-terminated, with a header in front of
// the characters (other code reads the length there). Copies never share a
// buffer. Buffers of up to 512 bytes come from four pools; the empty string
// is one shared datum that is never written or freed. Every operation that
// needs character boundaries steps with the multibyte wrappers, so a
// multibyte character is never split.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "orb_api.h"

namespace KCLASSIC {

class KFixedAlloc;
struct tagKVARIANT;

// The header right before the characters.
struct KStringData {
  int32_t nRefs;        // 1 for an owned buffer, -1 for the empty datum or a locked buffer
  int32_t nDataLength;  // text bytes, without the NUL
  int32_t nAllocLength; // text bytes the buffer holds, without the NUL

  char* data() { return reinterpret_cast<char*>(this + 1); }
};

// The empty datum's header and characters.
ORB_API KStringData* KGetAfxDataNil();
ORB_API const char* KGetAfxPchNil();

// The pool that serves capacity 64, 128, 256 or 512 (null for others).
ORB_API KFixedAlloc* KAfxStringPool(int capacity);

class ORB_API KZString {
 public:
  KZString();
  KZString(const KZString& other);
  KZString(char ch, long n);
  KZString(const char* text, long len = -1, const char* codePage = nullptr);
  KZString(const wchar_t* text, long len = -1, const char* codePage = nullptr);
  ~KZString();

  KZString& operator=(const KZString& other);
  KZString& operator=(const char* text);
  KZString& operator=(unsigned ch);
  KZString& operator=(char ch) { return *this = unsigned(static_cast<unsigned char>(ch)); }
  KZString& operator=(const wchar_t* text);
  // The variant's text; another type is converted to text first (a failed
  // conversion throws through KAfxCheckError).
  KZString& operator=(tagKVARIANT v);

  // Length in bytes; the header.
  int GetLength() const { return GetData()->nDataLength; }
  int GetAllocLength() const { return GetData()->nAllocLength; }
  int IsEmpty() const { return GetData()->nDataLength == 0; }
  KStringData* GetData() const { return reinterpret_cast<KStringData*>(m_pchData) - 1; }
  operator const char*() const { return m_pchData; }
  void Empty();

  // Concatenation.
  KZString& operator+=(const char* text);
  KZString& operator+=(const KZString& text);
  KZString& operator+=(char ch); // exactly that byte
  KZString& operator+=(unsigned ch); // one multibyte character
  friend ORB_API KZString operator+(const KZString& a, const KZString& b);
  friend ORB_API KZString operator+(const KZString& a, const char* b);
  friend ORB_API KZString operator+(const char* a, const KZString& b);
  friend ORB_API KZString operator+(const KZString& a, char ch);
  friend ORB_API KZString operator+(char ch, const KZString& a);
  friend ORB_API KZString operator+(unsigned ch, const KZString& a);

  // Direct buffer access.
  char* GetBuffer(int n);
  void ReleaseBuffer(int n = -1);
  char* GetBufferSetLength(int n);
  void FreeExtra();
  char* LockBuffer();
  void UnlockBuffer();
  // A NUL-terminated heap copy (new[]; the caller frees it with delete[]).
  char* AllocString() const;

  // Extraction.
  KZString Left(int n) const;
  KZString Right(int n) const;
  KZString Mid(int first) const;
  KZString Mid(int first, int count) const;
  KZString SpanIncluding(const char* set) const;
  KZString SpanExcluding(const char* set) const;

  // Search: byte indexes, -1 when not found.
  int Find(const char* sub) const { return Find(sub, 0); }
  int Find(const char* sub, int start) const;
  int Find(unsigned ch) const { return Find(ch, 0); }
  int Find(unsigned ch, int start) const;
  int Find(char ch, int start = 0) const { return Find(unsigned(static_cast<unsigned char>(ch)), start); }
  int ReverseFind(unsigned ch) const;
  int ReverseFind(char ch) const { return ReverseFind(unsigned(static_cast<unsigned char>(ch))); }
  int FindOneOf(const char* set) const;
  unsigned GetAt(int i) const;
  unsigned operator[](int i) const { return GetAt(i); }

  // Comparison in the thread's locale.
  int Compare(const char* s) const;
  int CompareNoCase(const char* s) const;
  int Collate(const char* s) const;
  int CollateNoCase(const char* s) const;

  // Modification.
  int Insert(int i, unsigned ch);
  int Insert(int i, char ch) { return Insert(i, unsigned(static_cast<unsigned char>(ch))); }
  int Insert(int i, const char* s);
  int Delete(int i, int count = 1);
  void SetAt(int i, unsigned ch);
  void SetAt(int i, char ch) { SetAt(i, unsigned(static_cast<unsigned char>(ch))); }
  int Replace(unsigned oldCh, unsigned newCh);
  int Replace(char oldCh, char newCh) {
    return Replace(unsigned(static_cast<unsigned char>(oldCh)), unsigned(static_cast<unsigned char>(newCh)));
  }
  int Replace(const char* oldText, const char* newText);
  int Remove(unsigned ch);
  int Remove(char ch) { return Remove(unsigned(static_cast<unsigned char>(ch))); }
  void MakeUpper();
  void MakeLower();
  void MakeReverse();
  void TrimLeft();
  void TrimRight();
  void TrimLeft(unsigned ch);
  void TrimRight(unsigned ch);
  void TrimLeft(char ch) { TrimLeft(unsigned(static_cast<unsigned char>(ch))); }
  void TrimRight(char ch) { TrimRight(unsigned(static_cast<unsigned char>(ch))); }
  void TrimLeft(const char* set);
  void TrimRight(const char* set);

  // Formatting and loading.
  void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* fmt, va_list args);
  void FormatMessage(const char* fmt, ...);
  int LoadString(unsigned id);

  // Makes v a text variant holding a new copy of this text; v's previous
  // content is not freed.
  tagKVARIANT& ToKVariant(tagKVARIANT& v) const;

 protected:
  char* m_pchData;

  void Init();
  void AllocBuffer(int n);
  static void FreeData(KStringData* data);
  void Release();
  static void Release(KStringData* data);
  void AllocBeforeWrite(int n);
  void AllocCopy(KZString& dest, int count, int index, int extra) const;
  void AssignCopy(int n, const char* src);
  void ConcatCopy(int firstLen, const char* first, int secondLen, const char* second);
  void ConcatInPlace(int n, const char* s);
  void PutLChar(unsigned ch);
  unsigned LastChar() const;
  bool IsNil() const { return GetData() == KGetAfxDataNil(); }
  void SetLength(int n);
  // Moves the text into a new buffer of the class for n (n >= length).
  void Regrow(int n);
  // Removes the text before p / from p on.
  void CutFront(const char* p);
  void CutBack(const char* p);
  // The bytes FormatV reserves for the format and its arguments.
  static int MeasureFormat(const char* fmt, va_list args);
};

ORB_API const KZString& KGetEmptyString();

inline bool operator==(const KZString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const KZString& a, const KZString& b) { return a.Compare(b) == 0; }
inline bool operator!=(const KZString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator<(const KZString& a, const char* b) { return a.Compare(b) < 0; }

// Element helpers of the collections.
ORB_API void KConstructElements(KZString* p, int n);
ORB_API void KDestructElements(KZString* p, int n);
ORB_API void KCopyElements(KZString* dest, const KZString* src, int n);

// h = h * 33 + b over the bytes (taken as signed) up to the NUL, 32 bits.
ORB_API unsigned KHashKey(const char* key);
ORB_API unsigned KHashKey(const wchar_t* key);
inline unsigned KHashKey(const KZString& key) { return KHashKey(static_cast<const char*>(key)); }

} // namespace KCLASSIC
