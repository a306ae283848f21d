// Language-neutral value text: numbers, currency and decimals with "." as
// the decimal separator and dates as "%Y-%m-%d %H:%M:%S", as record cells
// hold them and SQL text takes them; and the throw helpers of the record
// code. A value's text is the variant conversion's text under the thread
// locale with that locale's separator exchanged for ".".
#pragma once

#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

inline constexpr const char* STR_ISO_DTFORMAT = "%Y-%m-%d %H:%M:%S";

[[noreturn]] ORB_API void RaiseError(long code, const char* method, const char* text);
// A negative result throws KErr 0x8B000C9 with method, the result as the
// system error number and the insert "Input Value".
ORB_API void UtlCheckHResult(long result, const char* method);
ORB_API void UtlCStringReplace(KZString& s, const char* oldText, const char* newText);

ORB_API KZString& UtlConvertToLnString(KZString& s);
ORB_API KZString& UtlConvertFromLnString(KZString& s);

ORB_API KZString UtlLongToLnString(long value);
ORB_API long UtlLnStringToLong(const char* text);
ORB_API KZString UtlDoubleToLnString(double value);
ORB_API double UtlLnStringToDouble(const char* text);
ORB_API KZString UtlCurrencyToLnString(tagKCY value);
ORB_API tagKCY UtlLnStringToCurrency(const char* text);
ORB_API KZString UtlDecimalToLnString(tagKDEC value);
ORB_API tagKDEC UtlLnStringToDecimal(const char* text);
ORB_API KZString UtlDateToLnString(double date);
ORB_API double UtlLnStringToDate(const char* text);

} // namespace KCLASSIC
