// Makes a locale the calling thread's locale for the life of the object and
// restores the previous one (by its CRT locale name) when it ends, also
// when an error leaves the scope. Module internal.
#pragma once

#include "kclassic/kc_loc.h"

namespace KCLASSIC {

class KThreadLocaleSwitch {
 public:
  explicit KThreadLocaleSwitch(const KUtlLocale& to) {
    UtlGetThreadLocale().GetCrtLocaleName(m_old);
    KZString name;
    to.GetCrtLocaleName(name);
    if (name != m_old) {
      UtlSetThreadLocale(name);
      m_switched = true;
    }
  }
  ~KThreadLocaleSwitch() {
    if (m_switched) UtlSetThreadLocale(m_old);
  }
  KThreadLocaleSwitch(const KThreadLocaleSwitch&) = delete;
  KThreadLocaleSwitch& operator=(const KThreadLocaleSwitch&) = delete;

 private:
  KZString m_old;
  bool m_switched = false;
};

} // namespace KCLASSIC
