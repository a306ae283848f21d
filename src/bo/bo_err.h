// KCompleteErr: the business-object layer's error, a KErr that owns a chain
// of further errors, renders itself as a message (texts from the compiled-in
// table or the data dictionary, %1..%5 inserts, system texts, an optional
// "complete" frame), crosses process boundaries as a record image
// ("KCompleteErr Exception"), and keeps the process-wide diagnostic
// counters. Thrown by pointer; deleting an error deletes its chain.
//
// Threads: an error is used by one thread at a time; the diagnostic
// counters are shared and change only atomically (KInterlockedIncrement /
// KInterlockedDecrement on GetDiagCounterPtr).
#pragma once

#include "kclassic/kc_err.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class IDdDataDict;
class KUtlRecord;

inline constexpr long BO_ERR_FRAME = 0x8B000D6;
inline constexpr long BO_ERR_RECORD_DAMAGED = KERR_INTERNAL;
// Error numbers whose message is their first insert alone.
inline constexpr long BO_ERR_PLAIN_FIRST = 6000;
inline constexpr long BO_ERR_PLAIN_LAST = 6999;
// Inserts longer than this are cut and marked.
inline constexpr int BO_ERR_MAX_INSERT = 2048;
inline constexpr int BO_ERR_MAX_PARAMS = 5;
inline constexpr long BO_DIAG_COUNTERS = 16;
inline constexpr long BO_DIAG_SESSION_CONTEXT = 6;
inline constexpr const char* BO_ERR_IMAGE_NAME = "KCompleteErr Exception";

class ORB_API KCompleteErr : public KErr {
 public:
  KCompleteErr();
  KCompleteErr(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
               const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  KCompleteErr(long code, const char* method, long hresult, const char* p1 = nullptr, const char* p2 = nullptr,
               const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr);
  // Takes ownership of chained.
  KCompleteErr(long code, const char* method, KCompleteErr* chained, const char* p1 = nullptr,
               const char* p2 = nullptr, const char* p3 = nullptr, const char* p4 = nullptr,
               const char* p5 = nullptr);
  // e with its inner errors as the chain; its HRESULT and flag kept.
  explicit KCompleteErr(KErr& e);
  // A deep copy of the whole chain, through the record image.
  KCompleteErr(KCompleteErr& other);
  KCompleteErr& operator=(const KCompleteErr&) = delete;
  ~KCompleteErr() override;

  void Clear();
  void Initialize(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
                  const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr) override;
  void InitParams(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
                  const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr) override;

  // This error's message (not the chain's) in buf, cut to bufLen - 2 bytes.
  const char* GetMessage(IDdDataDict* dict, long language, char* buf, long bufLen, int complete);
  void GetMessage(IDdDataDict* dict, long language, KZString& out, int complete);
  // The complete messages of the whole chain, separated by dashes.
  const char* GetCompleteInfo(IDdDataDict* dict, long language, char* buf, long bufLen);

  // Appends e (with its chain) at the end of this chain, unless it is
  // already in it or this error is in e's chain. Returns this error.
  KCompleteErr* ChainError(KCompleteErr* e);
  KCompleteErr* GetChained() const { return m_pChained; }
  int IsFatal() const { return m_bFatal; }
  void SetFatal(int fatal) { m_bFatal = fatal; }

  // The chain's record image (a system byte string the caller frees).
  char* Serialize();
  // Never throws: a damaged image leaves error 0x8B000CB.
  void Deserialize(char* image);
  void DeserializeImp(char* image);
  static KCompleteErr* FromImage(char* image);

  // The counter of index (0 for one outside 0..15) and its name.
  static long* GetDiagCounterPtr(long index, const char** name);

 private:
  // The message text of step 2 and the error number the frame shows.
  KZString MessageText(IDdDataDict* dict, long language, long bufLen, const char* const* inserts, long& shown);
  // Fills this error from one row of an image (its chain is not touched).
  void FillFromRow(KUtlRecord& rec, long row);

  KCompleteErr* m_pChained = nullptr;
  int m_bFatal = 0;
};

} // namespace KCLASSIC
