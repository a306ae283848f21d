// Locales of the CRM server: the record KDdLocale and the component
// KDdLocaleCompnt (kind eDicLocale), keyed by ISO language followed by ISO
// country in any letter case. Locales come as one set: a miss asks the
// metadata server only while the component holds none.
#pragma once

#include <cstdint>

#include "bo/bo_compnt.h"
#include "bo/bo_msg.h"

namespace KCLASSIC {

class ORB_API IDdLocale {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetIsoLang() const = 0;
  virtual const KZString& GetIsoCntry() const = 0;
  virtual long GetWin32Lcid() const = 0;
  virtual long GetOrbnLang() const = 0;
  virtual const KZString& GetCrtLocale() const = 0;

 protected:
  ~IDdLocale() = default;
};

class ORB_API KDdLocale : public KObject, public IDdLocale {
  KDECLARE_DYNCREATE(KDdLocale)

 public:
  // Numbers 0, texts empty.
  KDdLocale() = default;
  KDdLocale(long id, const KZString& isoLang, const KZString& isoCntry, long win32Lcid, long orbnLang,
            const KZString& crtLocale);
  explicit KDdLocale(KMsg& msg);
  KDdLocale(const KDdLocale& other) : KObject() { *this = other; }
  KDdLocale& operator=(const KDdLocale& other);
  // 1 when all six fields are equal (texts case-sensitive).
  int operator==(const KDdLocale& other) const;

  // ISO language followed by ISO country; stored in out.
  KZString& GetKey(KZString& out) const;
  void Serialize(KArchive& ar) override;
  void Write(KMsg& msg);
  void Read(KMsg& msg);

  long GetId() const override { return m_lId; }
  const KZString& GetIsoLang() const override { return m_strIsoLang; }
  const KZString& GetIsoCntry() const override { return m_strIsoCntry; }
  long GetWin32Lcid() const override { return m_lWin32Lcid; }
  long GetOrbnLang() const override { return m_lOrbnLang; }
  const KZString& GetCrtLocale() const override { return m_strCrtLocale; }

 private:
  int32_t m_lId = 0;
  KZString m_strIsoLang;
  KZString m_strIsoCntry;
  int32_t m_lWin32Lcid = 0;
  int32_t m_lOrbnLang = 0;
  KZString m_strCrtLocale;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdLocale*& locale);

// Locale id that stands for the default language.
inline constexpr uint32_t BO_LCID_DEFAULT = 0xFFFFFFFFu;
// Locale id that stands for the process's current locale.
inline constexpr long BO_LCID_CURRENT = 0;

class ORB_API KDdLocaleCompnt : public KDdComponent {
 public:
  KDdLocaleCompnt(long language, KSessionMgr* mgr);
  ~KDdLocaleCompnt() override;

  int GetLocaleCount();
  // Local only: flags must hold BO_DD_LOCAL_ONLY; null outside the array.
  IDdLocale* GetLocale(int index, int flags);
  IDdLocale* FindLocale(KDdDict* dict, const KZString& key, int flags);
  // Takes the record over; one whose key is held already is deleted.
  void AddLocale(KDdLocale* locale);
  // The CRM language of the first locale with that Win32 locale id;
  // BO_LCID_DEFAULT (or -1), no locales or no match give the default
  // language; BO_LCID_CURRENT uses the current locale's id.
  long Locale2OrbnLang(long win32Lcid);
  void DeleteContents() override;
  void Serialize(KArchive& ar) override;

 private:
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, KDdLocale*> m_mapByKey{10};
  KArray<KDdLocale*, KDdLocale*> m_arrLocales;
};

} // namespace KCLASSIC
