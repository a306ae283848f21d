// KCompleteErr's record image: one row per error of the chain.
#include <memory>

#include "bo/bo_err.h"
#include "kclassic/kc_rec.h"

namespace KCLASSIC {

namespace {

enum ImageColumn : long {
  kColErrorNum = 0,
  kColUseHresult = 1,
  kColHResult = 2,
  kColParamCount = 3,
  kColMethodName = 4,
  kColMfcError = 5,
  kColFirstParam = 6,
  kColumnCount = kColFirstParam + BO_ERR_MAX_PARAMS,
};

void define_columns(KUtlRecord& rec) {
  rec.SetRecordName(BO_ERR_IMAGE_NAME);
  rec.SetColType(kColErrorNum, UTL_CELL_LONG, "ErrorNum", UTL_DB_LONG);
  rec.SetColType(kColUseHresult, UTL_CELL_LONG, "UseHresult", UTL_DB_LONG);
  rec.SetColType(kColHResult, UTL_CELL_LONG, "HResult", UTL_DB_LONG);
  rec.SetColType(kColParamCount, UTL_CELL_LONG, "ParamCount", UTL_DB_LONG);
  rec.SetColType(kColMethodName, UTL_CELL_STRING, "MethodName", UTL_DB_VARSTR);
  rec.SetColType(kColMfcError, UTL_CELL_STRING, "MFCError", UTL_DB_VARSTR);
  for (long c = kColFirstParam; c < kColumnCount; ++c) rec.SetColType(c, UTL_CELL_STRING, "Param", UTL_DB_VARSTR);
}

const char* text_or_empty(const char* s) { return s ? s : ""; }

} // namespace

char* KCompleteErr::Serialize() {
  KUtlRecord rec;
  define_columns(rec);
  long row = 0;
  for (KCompleteErr* e = this; e; e = e->m_pChained, ++row) {
    int count = e->m_params.GetSize();
    if (count > BO_ERR_MAX_PARAMS) count = BO_ERR_MAX_PARAMS;
    rec.SetLongVal(row, kColErrorNum, e->ErrorNum);
    rec.SetLongVal(row, kColUseHresult, e->UseHresult);
    rec.SetLongVal(row, kColHResult, e->HResult);
    rec.SetLongVal(row, kColParamCount, count);
    rec.SetString(row, kColMethodName, e->MethodName);
    rec.SetString(row, kColMfcError, "");
    for (int i = 0; i < count; ++i) rec.SetString(row, kColFirstParam + i, e->m_params[i]);
  }
  return rec.Serialize();
}

void KCompleteErr::FillFromRow(KUtlRecord& rec, long row) {
  if (rec.GetColumns() < kColumnCount) throw new KErr(KERR_INTERNAL, "KCompleteErr::DeserializeImp");
  ErrorNum = rec.GetLongVal(row, kColErrorNum);
  UseHresult = int(rec.GetLongVal(row, kColUseHresult));
  HResult = rec.GetLongVal(row, kColHResult);
  long count = rec.GetLongVal(row, kColParamCount);
  MethodName = text_or_empty(rec.GetString(row, kColMethodName));
  (void)rec.GetString(row, kColMfcError);
  if (count > BO_ERR_MAX_PARAMS) count = BO_ERR_MAX_PARAMS;
  for (long i = 0; i < count; ++i) m_params.Add(text_or_empty(rec.GetString(row, kColFirstParam + i)));
}

void KCompleteErr::DeserializeImp(char* image) {
  Clear();
  KUtlRecord rec;
  rec.Deserialize(image);
  if (rec.GetRows() < 1) throw new KErr(KERR_INTERNAL, "KCompleteErr::DeserializeImp");
  // Built from the last row up, each error owning the next.
  std::unique_ptr<KCompleteErr> next;
  for (long row = rec.GetRows() - 1; row >= 1; --row) {
    auto e = std::make_unique<KCompleteErr>();
    e->FillFromRow(rec, row);
    e->m_pChained = next.release();
    next = std::move(e);
  }
  FillFromRow(rec, 0);
  m_pChained = next.release();
}

void KCompleteErr::Deserialize(char* image) {
  try {
    DeserializeImp(image);
    return;
  } catch (KErr* e) {
    delete e;
  } catch (...) {
  }
  Initialize(KERR_INTERNAL, "KCompleteErr::Deserialize");
}

KCompleteErr* KCompleteErr::FromImage(char* image) {
  auto* e = new KCompleteErr();
  e->Deserialize(image);
  return e;
}

} // namespace KCLASSIC
