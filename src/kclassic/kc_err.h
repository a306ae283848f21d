// KErr, the error object every class layer throws by pointer (the catcher
// deletes it), the compiled-in resource strings, the K-layer string table,
// the throw and check helpers, and KFormatMessage with its helpers.
#pragma once

#include <cstdint>

#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

struct KRuntimeClass;

// Message ids of this library.
inline constexpr long KERR_ILLEGAL_ARGUMENT = 0x8B000C9;
inline constexpr long KERR_INTERNAL = 0x8B000CB;
inline constexpr long KERR_UNKNOWN_EXCEPTION = 0x8B000D4;
inline constexpr long KERR_SYSTEM_ERROR = 0x8B000D5;
inline constexpr long KERR_INVALID_FORMAT = 0x8B000D9;
inline constexpr long KERR_LOCALE_INFO = 0x8B000E5;
inline constexpr long KERR_NOT_SUPPORTED = 0x9B00067;
inline constexpr long KERR_MEMORY = 0x9B00072;

class ORB_API KErr {
 public:
  KErr();
  KErr(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
       const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  KErr(long code, const char* method, long osError, const char* p1 = nullptr, const char* p2 = nullptr,
       const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  KErr(long code, const char* method, KErr* inner, const char* p1 = nullptr, const char* p2 = nullptr,
       const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  KErr(const KErr& other);
  KErr& operator=(const KErr& other);
  virtual ~KErr();

  virtual void Initialize(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
                          const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  virtual void InitParams(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
                          const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);

  void Clear();
  // Puts e (with its chain) at the end of this chain; returns this error.
  KErr* ChainError(KErr* e);

  long GetErrorNum() const { return ErrorNum; }
  int GetParamCount() const { return m_params.GetSize(); }
  const KZString& GetParam(int i) const { return m_params[i]; }
  const KZString& GetMethodName() const { return MethodName; }
  KErr* GetNext() const { return m_pNext; }

  // Texts a thrower may fill (the data services: the server's message and
  // the detailed description); this library leaves them empty.
  KZString m_strText1;
  KZString m_strText2;
  KErr* m_pNext = nullptr;
  long HResult = 0;
  int UseHresult = 0;
  long ErrorNum = 0;
  KStringArray m_params;
  KZString MethodName;

 private:
  void CopyFrom(const KErr& other);
};

// Text of id in the table of language (0x409); throws 0x8B000C9 when either
// is unknown.
ORB_API const char* KGetResourceString(int id, unsigned long language);
inline constexpr unsigned long KLANG_ENGLISH_US = 0x409;
inline constexpr int KRESOURCE_STRING_COUNT = 183;
inline constexpr int KAFX_STRING_COUNT = 24;

// Text of id in the K-layer table into buffer (at most size - 1 bytes and a
// NUL); an unknown id gives "KAfx error string not found <id>.". Returns the
// text's length.
ORB_API int KAfxLoadStringInternal(unsigned id, char* buffer, unsigned size);
ORB_API int KAfxLoadString(unsigned id, char* buffer, unsigned size);

[[noreturn]] ORB_API void KAfxThrowMemoryException();
[[noreturn]] ORB_API void KAfxThrowNotSupportedException();
ORB_API void KAfxCheckError(long result);
ORB_API int KAfxIsValidAddress(const void* p, unsigned size, int writable = 1);
ORB_API int KAfxIsValidString(const char* s, int length = -1);

// KFormatMessage flags.
inline constexpr unsigned long KFORMAT_MESSAGE_ALLOCATE_BUFFER = 0x100;
inline constexpr unsigned long KFORMAT_MESSAGE_IGNORE_INSERTS = 0x200;
inline constexpr unsigned long KFORMAT_MESSAGE_FROM_STRING = 0x400;
inline constexpr unsigned long KFORMAT_MESSAGE_FROM_HMODULE = 0x800;
inline constexpr unsigned long KFORMAT_MESSAGE_FROM_SYSTEM = 0x1000;
inline constexpr unsigned long KFORMAT_MESSAGE_ARGUMENT_ARRAY = 0x2000;
inline constexpr unsigned long KFORMAT_MESSAGE_MAX_WIDTH_MASK = 0xFF;

// Fills the inserts %1, %2, ... of a format text by number (from an array of
// texts with 0x2000, else from the va_list that args points to), or fetches
// the system text of messageId. With 0x100 a new buffer (KLocalFree) is
// stored through buffer; otherwise at most size bytes, NUL included, are
// written into buffer. Returns the text's length, 0 when none.
ORB_API unsigned long KFormatMessage(unsigned long flags, const void* source, unsigned long messageId, char* buffer,
                                     unsigned long size, void** args);
// Rewrites %n markers into %s (dropping !spec!), adds one to *count per
// marker; returns the length copied (the s letters not counted).
ORB_API unsigned long KFilterFormatString(const char* source, char* out, long* count);
ORB_API unsigned long KCalculateInsertLength(long count, void** args, int isArray);
// Replaces each "%s" of text by args[0], args[1], ... in turn; 0, or -1 for
// a NULL out or text.
ORB_API long KMakeCompleteString(char* out, const char* text, void** args);

} // namespace KCLASSIC
