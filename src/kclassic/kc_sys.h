// Windows-style system calls of the class library, mapped onto libc: time and
// clocks, process, thread and machine ids, unique ids, counters changed under
// a section, the module file name of a loaded library, path completion,
// number and currency formatting, and the calls that are stubs here.
#pragma once

#include <cstdint>
#include <ctime>

#include "orb_api.h"

namespace KCLASSIC {

class KUtlCrSect;
class KBaseHandle;

struct _KSYSTEMTIME {
  uint16_t wYear;
  uint16_t wMonth; // 1 to 12
  uint16_t wDayOfWeek; // 0 = Sunday
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};

// A 64-bit number as two 32-bit words, high word first.
struct _KLARGE_INTEGER {
  uint32_t HighPart;
  uint32_t LowPart;
  int64_t QuadPart() const { return int64_t((uint64_t(HighPart) << 32) | LowPart); }
};

struct _KGUID {
  uint32_t Data[4];
};

struct _knumberfmt {
  uint32_t NumDigits;
  uint32_t LeadingZero; // only 1 is accepted
  uint32_t Grouping;
  char* lpDecimalSep;
  char* lpThousandSep;
  uint32_t NegativeOrder;
};

struct _kcurrencyfmt {
  uint32_t NumDigits;
  uint32_t LeadingZero;
  uint32_t Grouping;
  char* lpDecimalSep;
  char* lpThousandSep;
  uint32_t NegativeOrder;
  uint32_t PositiveOrder;
  char* lpCurrencySymbol;
};

struct _KSECURITY_ATTRIBUTES {
  unsigned long nLength;
  void* lpSecurityDescriptor;
  int bInheritHandle;
};

// Counters changed under a section (NULL: the library's counter section,
// shared by increments and decrements). Return the new value.
ORB_API long KInterlockedIncrement(long* p, KUtlCrSect* section = nullptr);
ORB_API long KInterlockedDecrement(long* p, KUtlCrSect* section = nullptr);

// Clocks. The tick count and the performance counter run on a monotonic
// nanosecond clock.
ORB_API void KGetSystemTime(_KSYSTEMTIME* st);
ORB_API void KGetLocalTime(_KSYSTEMTIME* st);
ORB_API unsigned long KGetTickCount();
ORB_API int64_t KGetPerfCounter();
ORB_API int64_t KGetPerfCounterFreq();
ORB_API int KQueryPerformanceFrequency(_KLARGE_INTEGER* freq);
ORB_API int KQueryPerformanceCounter(_KLARGE_INTEGER* count);
ORB_API void KGmTime(const long* t, tm* out);
ORB_API void KLocalTime(const long* t, tm* out);
// Modification time of path in seconds; 0 when it cannot be read.
ORB_API unsigned long KGetFileTimestamp(const char* path);
// Sleeps ms / 1000 whole seconds, at least one.
ORB_API void KSleep(unsigned long ms);

// Ids.
// The kernel id of the calling thread (unique among live threads; an id may
// be reused after its thread has ended).
ORB_API unsigned long KGetCurrentThreadId();
ORB_API unsigned long KGetCurrentProcessId();
ORB_API unsigned long KGetLastError();
ORB_API int KGetComputerName(char* buffer, unsigned long* size);
ORB_API _KGUID* KCoCreateGuid(_KGUID* g);
// The four words as eight hex digits each; length + 1, or 0 when the text
// and its NUL do not fit size.
ORB_API int KStringFromGUID(_KGUID& g, char* buffer, int size);

// Wide-character conversions are not offered: both always throw 0x9B00067.
ORB_API int KMultiByteToWideChar(unsigned codePage, unsigned long flags, const char* mb, int mbLen, wchar_t* wide,
                                 int wideLen);
ORB_API int KWideCharToMultiByte(unsigned codePage, unsigned long flags, const wchar_t* wide, int wideLen, char* mb,
                                 int mbLen, const char* defaultChar, int* usedDefault);

// Decimal text formatted with the given separators, grouping and sign
// order; the number of characters written, 0 when refused.
ORB_API int KGetNumberFormat(unsigned long locale, const char* value, const _knumberfmt* fmt, char* out, int size);
ORB_API int KGetCurrencyFormat(unsigned long locale, const char* value, const _kcurrencyfmt* fmt, char* out,
                               int size);

// The path of a library handle's shared object: the path kept in the
// handle, else found in $ORBN_INST_DIR/bin, then in the LD_LIBRARY_PATH
// directories (and kept). Its length; 0 when not found or it does not fit.
ORB_API unsigned long KGetModuleFileName(void* handle, char* buffer, unsigned long size);
// The absolute form of path in out (size bytes); NULL when it cannot be made
// or does not fit.
ORB_API char* KFullPath(char* out, const char* path, unsigned size);
ORB_API int ReplaceBackSlash(char* s);

// Stubs and small helpers.
ORB_API int KFlushFileBuffers(KBaseHandle* handle);
// Frees a block allocated by KFormatMessage (new[]); NULL is ignored.
// Returns NULL.
ORB_API void* KLocalFree(void* p);
// 1 for a NULL pointer, else 0; the size is not examined.
ORB_API int KIsBadReadPtr(const void* p, unsigned size);
ORB_API int KIsBadWritePtr(void* p, unsigned size);
ORB_API int KIsBadStringPtrA(const char* p, unsigned size);
ORB_API int KMessageBox(void* owner, const char* text, const char* caption, unsigned type);
ORB_API int KCreateDirectory(const char* path, _KSECURITY_ATTRIBUTES* security);
ORB_API int InitCrt();

} // namespace KCLASSIC
