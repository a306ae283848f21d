// The session manager as the dictionary components see it, and the host's
// configuration it is built on. The manager is abstract: the host derives
// the concrete one and supplies the session look-up, the metadata fetch,
// the log and its fourth operation. The host fills the identity block of
// the dictionary's database; the library only reads it (the cache-file
// header checks all of it, and identity text 2 names the cache files).
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "kclassic/kc_list.h"
#include "kclassic/kc_map.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KDdDict;
class KDdBulkRequest;
class KUtlSessionContext;
class KUsrContext;

// Size of each identity text field, NUL included.
inline constexpr int BO_IDENT_TEXT_SIZE = 34;
// Two clean-up passes that are not forced lie at least this far apart; a
// forced pass with every session timed applies it as every time-out.
inline constexpr uint32_t BO_CLEANUP_INTERVAL = 300000;
// Mode word of a manager running the product's own dictionary.
inline constexpr long BO_MODE_PRODUCT = 1;
// The dictionary flag value of the configuration that marks every
// dictionary made for the manager.
inline constexpr long BO_CONFIG_DICT_FLAG = 10;

// The host's configuration, held by the manager and never freed by it.
class ORB_API KUtlQboConfig {
 public:
  // BO_CONFIG_DICT_FLAG sets a flag in every dictionary made for the
  // manager; any other value leaves it clear.
  long m_lDictFlag = 0;
  // The default language number of the sessions.
  long m_lDefaultLang = 0;
  // Directory of the dictionary components' cache files.
  KZString m_strCacheDir;
};

class ORB_API KSessionMgr : public KObject {
  KDECLARE_DYNAMIC(KSessionMgr)

 public:
  explicit KSessionMgr(KUtlQboConfig* config);
  KSessionMgr(const KSessionMgr&) = delete;
  KSessionMgr& operator=(const KSessionMgr&) = delete;
  // Frees what Terminate frees (contexts, dictionary), then the maps, the
  // list and the locks.
  ~KSessionMgr() override;

  // Makes the manager's own dictionary, the cache of components; 0.
  virtual long Initialize();
  // Empties the time list, deletes every session and user context and the
  // manager's dictionary (sessions' dictionaries keep the components they
  // hold); 0. The process-wide empty variant stays while a manager lives.
  virtual long Terminate();

  // The session context filed under key; a key a peer sends yields a live
  // context or throws.
  virtual KUtlSessionContext* GetSessionContext(const char* key) = 0;
  // Obtains what request asks for and loads it into the components of the
  // request's dictionary before returning.
  virtual void FetchMetaData(KDdBulkRequest* request) = 0;
  virtual void LogMessage(const char* category, const char* text) = 0;
  // Under the component lock: the manager's component of kind when it has
  // language, else a new one replacing it in the manager's dictionary;
  // returned with one reference added for the caller. Needs Initialize.
  virtual KDdComponent* GetDicCompnt(enumDicCmpnt kind, unsigned long language);
  // Told when a session leaves the manager, with the session's key.
  virtual void OnSessionRemoved(const char* key) = 0;

  // The configuration's default language.
  long GetDefaultLang() const;

  // Asks, in one request, for what a new dictionary lacks: table 0, the
  // locale "us-en", the currency "USD", the time zone and daylight "PST".
  void PrefetchMetadata(KDdDict* dict);
  // Files session (and user, which may be null) under the session's key,
  // taking both over. A key held by another session throws 0x8B000C9 and
  // changes nothing (the caller keeps both). The session held under the
  // key is queued again; a null user keeps the user context held.
  void AddToMap(KUtlSessionContext* session, KUsrContext* user);
  // Takes key out of both maps and the time list and deletes what it held.
  void DeleteFromMap(const char* key);
  // The live session of key, moved to the tail of the time list; null when
  // there is none or it has expired (it is then dropped).
  KUtlSessionContext* LookupSessionContext(const char* key);
  // Drops expired sessions from the head of the time list. Unforced passes
  // run at most once per BO_CLEANUP_INTERVAL.
  void CleanupSessionIdsOnTimeout(int force);
  // The session id of a session key (its text before the first ':'). A
  // known session is refreshed from the key unless it has expired by the
  // manager's own last access; an unknown one is built from the key and
  // filed with its dictionary unless the key shows it expired.
  KZString GetSessionIdFromSessionKey(const char* key);
  // 1 when session is timed (a time-out, or every session timed).
  int IsTimed(const KUtlSessionContext* session) const;
  KUtlQboConfig* GetConfig() const { return m_pConfig; }

  // Locks: the session lock guards the maps and the time list, the
  // component lock the manager's component cache.
  KUtlCrSect m_csSession;
  KUtlCrSect m_csReserved1;
  KUtlCrSect m_csComponent;
  KUtlCrSect m_csReserved2;
  // Session key to KUtlSessionContext*, and to KUsrContext*.
  KMapStringToPtr m_mapSessions;
  KMapStringToPtr m_mapUsers;
  // Timed sessions, least recently used first.
  KList<KUtlSessionContext*, KUtlSessionContext*> m_timeList;
  // Set: sessions without a time-out are timed too.
  int32_t m_bTimeAllSessions = 0;
  // Clock time (bo_clock_now) of the last clean-up pass.
  uint32_t m_tLastCleanup = 0;
  KUtlQboConfig* m_pConfig;
  KDdDict* m_pDict = nullptr;
  // Identity of the dictionary's database: number 2 is the schema
  // version, text 1 the customer database version, text 2 the manager
  // name that names the cache files.
  int32_t m_lIdentNum1 = 0;
  int32_t m_lIdentNum2 = 0;
  int32_t m_lIdentNum3 = 0;
  char m_szIdentText1[BO_IDENT_TEXT_SIZE] = {};
  char m_szIdentText2[BO_IDENT_TEXT_SIZE] = {};
  char m_szIdentText3[BO_IDENT_TEXT_SIZE] = {};
  char m_szIdentText4[BO_IDENT_TEXT_SIZE] = {};
  // BO_MODE_PRODUCT or 0.
  int32_t m_lModeType = 0;

 private:
  // Seconds after which session expires in a pass (forced or not); 0 when
  // it never does.
  uint32_t ExpiryLimit(const KUtlSessionContext* session, int force) const;
  // Terminate's work, for the destructor too.
  void FreeSessions();
};

} // namespace KCLASSIC
