// The k functions: the standard runtime's string functions, run through the
// multibyte text library with the calling thread's locale, so stepping,
// comparison, case, classification, number parsing and formatting follow
// that locale and never split a multibyte character.
//
// A character passed by value is an unsigned holding its bytes big-endian
// (lead byte highest); a length of -1 means up to the NUL.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "orb_api.h"

struct GCLocale;

namespace KCLASSIC {

// The library locale for a code-page name: NULL the thread's locale, "" the
// system locale, any other the registered locale "_.<cp>@".
ORB_API GCLocale* GetLocaleFromCP(const char* cp);

ORB_API size_t kstrlen(const char* s);
ORB_API long kchrlen(const char* s);
ORB_API unsigned kstrnextc(const char* s);
ORB_API char* kstrinc(const char* s);
ORB_API char* kstrdec(const char* start, const char* s);
ORB_API unsigned klastchr(const char* s);
ORB_API char* kputchr(char* p, unsigned ch);

ORB_API char* kstrcpy(char* d, const char* s);
ORB_API char* kstrncpyz(char* d, const char* s, size_t n);
ORB_API char* kstrcat(char* d, const char* s);
ORB_API char* kstrncat(char* d, const char* s, size_t n);

ORB_API int kstrcmp(const char* a, const char* b);
ORB_API int kstrncmp(const char* a, const char* b, size_t n);
ORB_API int kstricmp(const char* a, const char* b);
ORB_API int kstrnicmp(const char* a, const char* b, size_t n);
ORB_API int kstrcoll(const char* a, const char* b);
ORB_API int kstricoll(const char* a, const char* b);
ORB_API int kstrnicoll(const char* a, const char* b, size_t n);

ORB_API char* kstrchr(const char* s, unsigned ch);
ORB_API char* kstrrchr(const char* s, unsigned ch);
ORB_API char* kstrpbrk(const char* s, const char* set);
ORB_API size_t kstrspn(const char* s, const char* set);
ORB_API size_t kstrcspn(const char* s, const char* set);
ORB_API char* kstrstr(const char* s, const char* sub);
// Tokens; a NULL text continues the calling thread's previous text.
ORB_API char* kstrtok(char* s, const char* delims);
ORB_API char* kstrtok_r(char** s, const char* delims);

// Bytes written without the NUL; -1 on failure. The caller sizes buf.
ORB_API int ksprintf(char* buf, const char* fmt, ...);
ORB_API int kvsprintf(char* buf, const char* fmt, va_list args);
// Bounded: at most size bytes with the NUL. Returns the bytes written
// without the NUL; -2 when the text did not fit (whole characters written),
// -1 for any other failure.
ORB_API int kvsnprintf(char* buf, size_t size, const char* fmt, va_list args);

ORB_API unsigned ktoupper(unsigned ch);
ORB_API unsigned ktolower(unsigned ch);
// Case mapping of sn bytes of s into dn bytes of d; throws 0x8B000CB when
// the library refuses. The library's result (bytes written) goes to *written
// when given.
ORB_API char* kstrupper(char* d, long dn, const char* s, long sn, long* written = nullptr);
ORB_API char* kstrlower(char* d, long dn, const char* s, long sn, long* written = nullptr);

ORB_API int kisalpha(unsigned ch);
ORB_API int kisupper(unsigned ch);
ORB_API int kislower(unsigned ch);
ORB_API int kisdigit(unsigned ch);
ORB_API int kisspace(unsigned ch);
ORB_API int kisalnum(unsigned ch);

ORB_API char* kitoa(long value, char* buf, long radix);
ORB_API long katol(const char* s);
ORB_API double katof(const char* s);
ORB_API long katolerr(const char* s);
ORB_API double katoferr(const char* s);

ORB_API long kstrlclen(const char* s, const char* localeName);
ORB_API long ktohalfwidth(char* d, const char* s, long n, long dn);
ORB_API long kstrconvert(char* d, const char* s, long n, long dn, const char* toCP, const char* fromCP);
ORB_API long kunicodetostr(char* d, const unsigned short* u, long n, long dn, const char* cp);
ORB_API long kstrtounicode(unsigned short* u, const char* s, long n, long un, const char* cp);

// Platform wide text is not converted: these return 0.
ORB_API long kwcstombcsz(char* d, const wchar_t* w, long n);
ORB_API long kmbstowcs(wchar_t* d, const char* s, long n);
ORB_API long kmbstowcsz(wchar_t* d, const char* s, long n);

} // namespace KCLASSIC
