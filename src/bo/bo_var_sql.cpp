// KVariant as SQL literal text.
#include <cstring>

#include "bo/bo_util.h"
#include "bo/bo_var.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_ln.h"

namespace KCLASSIC {

namespace {

KZString quoted(const KZString& text) {
  KZString doubled(text);
  doubled.Replace("'", "''");
  return "'" + doubled + "'";
}

KZString sql_text(KVariant& v, ESqlOption option, int boType) {
  KZString text;
  switch (boType) {
    case BO_TYPE_LONG:
    case BO_TYPE_SHORT:
    case BO_TYPE_BYTE:
      // A number, so that no text reaches the SQL unquoted.
      v.ChangeType(kvLong);
      text.Format("%d", int(v.lVal));
      return text;
    case BO_TYPE_FLOAT:
    case BO_TYPE_DOUBLE: v.ChangeType(kvDouble); return UtlDoubleToLnString(v.dblVal);
    case BO_TYPE_DATE:
      v.ChangeType(kvDateTime);
      text = UtlDateToLnString(v.date);
      return option == eSqlQuoted ? "'" + text + "'" : text;
    case BO_TYPE_DECIMAL: {
      v.ChangeType(kvDecimal);
      tagKDEC d;
      std::memcpy(&d, static_cast<tagKVARIANT*>(&v), sizeof d);
      return UtlDecimalToLnString(d);
    }
    case BO_TYPE_CURRENCY: v.ChangeType(kvCurrency); return UtlCurrencyToLnString(v.cyVal);
    default:
      v.AsString(text);
      return option == eSqlQuoted ? quoted(text) : text;
  }
}

} // namespace

KZString& KVariant::AsSqlString(KZString& out, ESqlOption option, int boType) const {
  try {
    KVariant copy(static_cast<const tagKVARIANT&>(*this));
    if (boType == BO_TYPE_FROM_VALUE) boType = KV2BOType(copy.GetType());
    out = sql_text(copy, option, boType);
  } catch (KErr* e) {
    delete e;
    out = "";
  } catch (...) {
    out = "";
  }
  return out;
}

} // namespace KCLASSIC
