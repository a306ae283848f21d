// KUtlSessionContext: one client session of the host: its key, identity
// numbers and three free text fields, its times and time-out, its sequence
// numbers, the business objects it keeps between calls, and its own data
// dictionary (whose components the session manager shares).
//
// The session travels as a one-line text (Serialize / DeSerialize):
//   key:X:Y:Z:<sixteen numbers, "%8x" each, one blank apart> <checksum>
// The checksum (four decimal digits at least) is the byte sum of what
// precedes its blank, modulo 10000; it guards against damage, not forgery.
// Peers rely on this form, so it does not change. Neither the key nor the
// text fields may hold ':'.
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "kclassic/kc_list.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_quote.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KDdDict;
class KMsg;
class KSessionMgr;
class KUtlSessionContext;

// A business object a session keeps between calls (SaveBoContext). The
// session never deletes one: it hands each stored object back once, through
// Release, when it is destroyed.
class ORB_API IBoBaseBo {
 public:
  virtual const char* GetClassName() const = 0;
  virtual long GetObjectId() const = 0;
  virtual int IsModified() const = 0;
  virtual void Write(KMsg& msg) = 0;
  virtual void Read(KMsg& msg) = 0;
  virtual void SetSession(KUtlSessionContext* session) = 0;
  virtual long AddRef() = 0;
  virtual long Release() = 0;

 protected:
  ~IBoBaseBo() = default;
};

// A handle the host attaches to a session (a connection, a login); the
// session owns it and releases it when destroyed.
class ORB_API IUtlSessionHandle {
 public:
  virtual long GetKind() const = 0;
  virtual long AddRef() = 0;
  virtual long Release() = 0;

 protected:
  ~IUtlSessionHandle() = default;
};

// Numbers of the text form and the text of a refused one.
inline constexpr int BO_SESSION_TEXT_FIELDS = 4;
inline constexpr int BO_SESSION_NUMBERS = 16;
inline constexpr unsigned long BO_SESSION_CHECK_MODULUS = 10000;
inline constexpr char BO_SESSION_SEPARATOR = ':';
// Sequence number and context counter after Initialize.
inline constexpr unsigned long BO_SESSION_FIRST_SEQ = 1;
inline constexpr long BO_SESSION_FIRST_CONTEXT = 1000;

class ORB_API KUtlSessionContext : public KObject {
  KDECLARE_DYNAMIC(KUtlSessionContext)

 public:
  // A key holding ":" is refused (0x8B000C9).
  KUtlSessionContext(const char* key, long id1, long id2, long id3, const char* description);
  // A session from its text form; a bad text throws (0x8B000C9).
  explicit KUtlSessionContext(char* text);
  KUtlSessionContext(const KUtlSessionContext&) = delete;
  KUtlSessionContext& operator=(const KUtlSessionContext&) = delete;
  // Releases every stored business object once, then the handle, then
  // deletes the dictionary.
  ~KUtlSessionContext() override;

  // Sequence 1, context counter 1000, no queue position, no dictionary,
  // languages, reserved number and time-out 0.
  void Initialize();
  // Copies languages (8 values, one per component kind) when given, makes
  // the dictionary when there is none, and has it take the components of
  // the held languages from mgr; the dictionary is named after the key.
  void SetDictionaryInfo(KSessionMgr* mgr, unsigned long* languages);

  // The text form as a system byte string the caller frees.
  char* Serialize() const;
  // Fills the session from a text form. The checksum, the five fields and
  // the sixteen numbers are checked before anything changes; a bad text
  // throws 0x8B000C9 "KUtlSessionContext::Deserialize" / "Bad Serialized
  // String" and leaves the session as it was.
  void DeSerialize(const char* text);
  // The byte sum of text (bytes signed), modulo 10000.
  static unsigned long CalCheckSum(const char* text);

  // Next sequence number, never 0.
  unsigned long GetNextSeqNum();
  // Sets the sequence number; with onlyIfHigher only to a higher number.
  void SetSeqNum(unsigned long n, int onlyIfHigher);
  unsigned long GetSeqNum() const { return m_ulSeqNum; }

  // Keeps bo under a new id "<class>:<tick hex>:<counter hex>".
  KZString SaveBoContext(IBoBaseBo* bo, const char* className);
  // The object kept under contextId, taken out (once); the id must be of
  // className.
  IBoBaseBo* RetrieveBoContext(const char* contextId, const char* className);

  // Stamps the last access with now and queues the session at the tail.
  void AddToTimeQ(KList<KUtlSessionContext*, KUtlSessionContext*>& queue);
  void RemoveFromTimeQ(KList<KUtlSessionContext*, KUtlSessionContext*>& queue);
  int IsQueued() const { return m_posTimeQ != nullptr; }

  const KZString& GetSessionKey() const { return m_strSessionKey; }
  const KZString& GetDescription() const { return m_strDescription; }
  // The free text fields X, Y and Z; one holding ':' is refused.
  const KZString& GetTextX() const { return m_strTextX; }
  const KZString& GetTextY() const { return m_strTextY; }
  const KZString& GetTextZ() const { return m_strTextZ; }
  void SetTextX(const char* text);
  void SetTextY(const char* text);
  void SetTextZ(const char* text);
  long GetIdentNum1() const { return m_lIdentNum1; }
  long GetIdentNum2() const { return m_lIdentNum2; }
  long GetIdentNum3() const { return m_lIdentNum3; }
  long GetReservedNum() const { return m_lReservedNum; }
  void SetReservedNum(long n) { m_lReservedNum = int32_t(n); }
  uint32_t GetLastAccess() const { return m_tLastAccess; }
  void SetLastAccess(uint32_t t) { m_tLastAccess = t; }
  uint32_t GetCreationTime() const { return m_tCreation; }
  long GetTimeout() const { return m_lTimeout; }
  void SetTimeout(long seconds) { m_lTimeout = int32_t(seconds); }
  unsigned long GetLanguage(enumDicCmpnt kind) const { return m_ulLanguages[kind]; }
  KDdDict* GetDictionary() const { return m_pDict; }
  long GetContextCounter() const { return m_lContextCounter; }
  int GetStoredCount() const { return m_mapBoContexts.GetCount(); }
  // Takes the handle over, releasing one held before.
  void SetHandle(IUtlSessionHandle* handle);

 private:
  // The sixteen numbers of the text form, in their order.
  void NumbersTo(uint32_t (&numbers)[BO_SESSION_NUMBERS]) const;
  void NumbersFrom(const uint32_t (&numbers)[BO_SESSION_NUMBERS]);
  void ReleaseStored();

  KUtlCrSect m_csLock;
  KZString m_strTextZ;
  KZString m_strSessionKey;
  int32_t m_lIdentNum1 = 0;
  int32_t m_lIdentNum2 = 0;
  int32_t m_lIdentNum3 = 0;
  uint32_t m_tLastAccess = 0;
  int32_t m_lReservedFlag = 0;
  KZString m_strDescription;
  uint32_t m_tCreation = 0;
  uint32_t m_ulSeqNum = BO_SESSION_FIRST_SEQ;
  int32_t m_lContextCounter = BO_SESSION_FIRST_CONTEXT;
  int32_t m_lTimeout = 0;
  KMapStringToPtr m_mapBoContexts{10};
  KPOSITION m_posTimeQ = nullptr;
  KStopTimer m_stopwatch;
  KDdDict* m_pDict = nullptr;
  uint32_t m_ulLanguages[BO_DIC_COMPNT_COUNT] = {};
  int32_t m_lReservedNum = 0;
  KZString m_strTextX;
  KZString m_strTextY;
  IUtlSessionHandle* m_pHandle = nullptr;
};

} // namespace KCLASSIC
