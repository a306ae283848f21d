// Variants: the 16-byte tagged value (tagKVARIANT) with the free functions
// that initialise, clear, copy and convert it, and KOleVariant, the class
// that owns one. Conversions return COM-style statuses (kc_vtypes.h); on a
// failed conversion the destination holds type 10.
//
// Threads: variants are values, used by one thread at a time. Conversions
// follow the calling thread's locale; KVariantChangeTypeEx switches only
// that thread's locale and always restores it.
#pragma once

#include "kclassic/kc_cy.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KArchive;

// A NULL variant is refused with 0x80070057 (Init ignores it).
ORB_API void KVariantInit(tagKVARIANT* v);
ORB_API void KAfxVariantInit(tagKVARIANT* v);
ORB_API long KVariantClear(tagKVARIANT* v);
ORB_API long KVariantCopy(tagKVARIANT* dst, tagKVARIANT* src);
// dst and src may be the same variant. The flags are not used.
ORB_API long KVariantChangeType(tagKVARIANT* dst, tagKVARIANT* src, unsigned short flags, unsigned short type);
// The same with locale as the thread's locale for the time of the call.
ORB_API long KVariantChangeTypeEx(tagKVARIANT* dst, tagKVARIANT* src, KUtlLocale& locale, unsigned short flags,
                                  unsigned short type);

class ORB_API KOleVariant : public tagKVARIANT {
 public:
  KOleVariant() { KVariantInit(this); }
  KOleVariant(const tagKVARIANT& v);
  KOleVariant(const tagKVARIANT* v);
  KOleVariant(const KOleVariant& v);
  KOleVariant(const char* text, unsigned short type = KVT_KSTR);
  KOleVariant(short value, unsigned short type = KVT_I2);
  KOleVariant(long value, unsigned short type = KVT_I4);
  KOleVariant(int value, unsigned short type = KVT_I4) : KOleVariant(long(value), type) {}
  ~KOleVariant() { KVariantClear(this); }

  void SetString(const char* text, unsigned short type = KVT_KSTR);
  void _ClearCompat() { KVariantClear(this); }
  void Clear() { KVariantClear(this); }
  void ChangeType(unsigned short type, tagKVARIANT* src = nullptr);
  void Attach(tagKVARIANT& v);
  tagKVARIANT Detach();

  // Same type and value; text by byte length and bytes. Throws KErr
  // 0x8B000C9 for a type without a comparison.
  bool operator==(const tagKVARIANT* other) const;
  bool operator==(const tagKVARIANT& other) const { return *this == &other; }

  KOleVariant& operator=(const tagKVARIANT& v);
  KOleVariant& operator=(const tagKVARIANT* v);
  KOleVariant& operator=(const KOleVariant& v);
  KOleVariant& operator=(const char* text);
  KOleVariant& operator=(const KZString& text);
  KOleVariant& operator=(unsigned char value);
  KOleVariant& operator=(short value);
  KOleVariant& operator=(long value);
  KOleVariant& operator=(int value) { return *this = long(value); }
  KOleVariant& operator=(const KOleCurrency& value);
  KOleVariant& operator=(float value);
  KOleVariant& operator=(double value);
  KOleVariant& operator=(const KOleDateTime& value);

 private:
  // Clears the value unless the type already is type; then sets the type.
  void Retype(unsigned short type);
};

// Archive image: the 16-bit type code, then (unless 0x4000 or 0x2000 is set)
// the value: 2 bytes for types 2, 11 and 17; 4 for 3, 4 and 10; 8 for 5
// and 7; the low then the high 32 bits for 6; for text a 32-bit count of
// the text and its NUL (0 for a NULL text) and those bytes. Other types
// carry nothing. A stored trailing NUL is not counted in the text read.
ORB_API KArchive& operator<<(KArchive& ar, const KOleVariant& v);
ORB_API KArchive& operator>>(KArchive& ar, KOleVariant& v);

} // namespace KCLASSIC
