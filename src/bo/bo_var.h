// KVariant: the business-object layer's typed value, one variant seen
// through a closed set of kinds, with conversions, negation and SQL literal
// text. Every value from an arbitrary variant is normalised first
// (UtlNormalizeVariant), so a KVariant holds no by-reference, short,
// unsigned or single-precision value that came from outside. Texts it
// stores itself are system byte strings (type 115).
//
// Threads: a value is used by one thread at a time; m_pEmpty is made and
// deleted by the session manager.
#pragma once

#include <ctime>

#include "kclassic/kc_cy.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_var.h"
#include "kclassic/kc_zstr.h"
#include "bo/bo_internal.h"
#include "orb_api.h"

namespace KCLASSIC {

enum EKVType {
  kvEmpty = 0,
  kvNull = 1,
  kvLong = 2,
  kvFloat = 3,
  kvDouble = 4,
  kvString = 5,
  kvDateTime = 6,
  kvCurrency = 7,
  kvDecimal = 8,
};

// 0 quotes what SQL text needs quoted; any other value gives bare text.
enum ESqlOption { eSqlQuoted = 0, eSqlBare = 1 };

// Business-object type numbers.
inline constexpr int BO_TYPE_LONG = 0;
inline constexpr int BO_TYPE_SHORT = 1;
inline constexpr int BO_TYPE_BYTE = 2;
inline constexpr int BO_TYPE_FLOAT = 3;
inline constexpr int BO_TYPE_DOUBLE = 4;
inline constexpr int BO_TYPE_STRING = 7;
inline constexpr int BO_TYPE_DATE = 9;
inline constexpr int BO_TYPE_DECIMAL = 11;
inline constexpr int BO_TYPE_CURRENCY = 12;
// AsSqlString: take the type from the value's kind.
inline constexpr int BO_TYPE_FROM_VALUE = -1;

class ORB_API KVariant : public KOleVariant {
 public:
  KVariant() = default;
  KVariant(long value);
  KVariant(const char* text);
  KVariant(const KZString& text);
  KVariant(float value);
  KVariant(double value);
  KVariant(const KOleCurrency& value);
  KVariant(const KDateTime& value);
  KVariant(const KOleVariant& value);
  KVariant(const tagKVARIANT& value);
  KVariant(const KVariant& value);
  KVariant& operator=(const KVariant& value);
  ~KVariant() = default;

  EKVType GetType() const;
  int IsNull() const { return vt == KVT_NULL; }
  int IsEmpty() const { return vt == KVT_EMPTY; }
  int IsNegative() const;

  long AsLong() const;
  float AsFloat() const;
  double AsDouble() const;
  KZString& AsString(KZString& out) const;
  KDateTime& AsDateTime(KDateTime& out) const;
  KOleCurrency& AsCurrency(KOleCurrency& out) const;
  std::tm& AsTm(std::tm& out) const;
  // A copy the caller owns.
  tagKVARIANT& GetVariant(tagKVARIANT& out) const;
  static int KV2BOType(EKVType kind);
  // The value as SQL literal text; "" when it cannot be converted.
  KZString& AsSqlString(KZString& out, ESqlOption option, int boType) const;

  void SetValue(long value);
  void SetValue(double value);
  void SetValue(float value);
  void SetValue(KZString& text);
  void SetValue(const char* text);
  void SetValue(KDateTime& value);
  void SetValue(KOleCurrency& value);

  // Converts in place; throws KErr 0x8B000C9 "Change type failed".
  void ChangeType(EKVType kind);
  void Negate();

  // The process-wide empty value (made by the session manager).
  static KVariant* m_pEmpty BO_INTERNAL;

 private:
  // A copy of the value changed to kind.
  KVariant Converted(EKVType kind) const;
  void SetText(const char* text, long len);
};

} // namespace KCLASSIC
