// The cache file of a dictionary component. A write goes to a temporary
// file beside the cache file, renamed over it once complete, so a failed
// write or a second writer never leaves a partial file.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "bo/bo_compnt.h"
#include "bo/bo_sesmgr.h"
#include "kclassic/kc_fcall.h"
#include "kclassic/kc_file.h"

namespace KCLASSIC {

namespace {

constexpr const char* kWritten = " Written successfully to file %s. \r\n";
constexpr const char* kWriteFailed = "Exception occurred while writing %s. \r\n";
constexpr const char* kRead = " Read successfully from file %s. \r\n";
constexpr const char* kReadFailed = "Exception occurred while reading %s. \r\n";
constexpr const char* kMismatch = "Version mismatch while reading %s. \r\n";
constexpr const char* kHeaderMethod = "KDdDataDictCompnt::Serialize";
constexpr int kArchiveBuffer = 4096;

std::atomic<unsigned> g_tempSerial{0};

void log_line(KZString& log, const char* format, const KZString& name) {
  KZString line;
  line.Format(format, static_cast<const char*>(name));
  log += line;
}

// The text of an identity field, at most its size less the NUL.
KZString ident_text(const char* field) { return KZString(field, int(strnlen(field, BO_IDENT_TEXT_SIZE - 1))); }

[[noreturn]] void throw_mismatch() { throw new KErr(KERR_DD_VERSION_MISMATCH, kHeaderMethod); }

// A unique name beside name for the file being written.
KZString temp_name(const KZString& name) {
  KZString temp;
  temp.Format("%s.%ld.%u.tmp", static_cast<const char*>(name), long(getpid()), g_tempSerial.fetch_add(1));
  return temp;
}

// Writes the archive through to the file and closes both; 0 when an
// exception stopped it (the archive is dropped).
template <class BODY>
int archive_run(KFile& file, unsigned mode, BODY body) {
  KArchive ar(&file, mode | KArchive::bNoFlushOnDelete, kArchiveBuffer);
  try {
    body(ar);
    ar.Close();
    file.Close();
    return 1;
  } catch (KErr* e) {
    delete e;
  } catch (...) {
  }
  ar.Abort();
  file.Abort();
  return 0;
}

} // namespace

int KDdComponent::CacheNameUsable() const {
  KZString part = ident_text(m_pSessionMgr->m_szIdentText2);
  return part.Find('/') < 0 && part != "." && part != "..";
}

void KDdComponent::GetCacheFileName(KZString& name) {
  KUtlQboConfig* config = m_pSessionMgr->GetConfig();
  KZString dir = config ? config->m_strCacheDir : KZString();
  KZString ident = ident_text(m_pSessionMgr->m_szIdentText2);
  name.Format("%s/%s_%s.Cache", static_cast<const char*>(dir), static_cast<const char*>(ident),
              g_DicCompntNames[m_eKind] + 1);
}

void KDdComponent::SerializeVersion(KArchive& ar) {
  KSessionMgr& mgr = *m_pSessionMgr;
  if (ar.IsStoring()) {
    ar.Put32(BO_CACHE_MARKER);
    ar.Put32(uint32_t(mgr.m_lIdentNum1)).Put32(uint32_t(mgr.m_lIdentNum2)).Put32(uint32_t(mgr.m_lIdentNum3));
    ar << ident_text(mgr.m_szIdentText1) << ident_text(mgr.m_szIdentText2);
    ar << ident_text(mgr.m_szIdentText3) << ident_text(mgr.m_szIdentText4);
    return;
  }
  if (ar.Get32() != BO_CACHE_MARKER) throw_mismatch();
  CheckHeaderNumbers(ar);
  CheckHeaderTexts(ar);
}

// Numbers 1 to 3 and text 1, all read before any is compared.
void KDdComponent::CheckHeaderNumbers(KArchive& ar) {
  KSessionMgr& mgr = *m_pSessionMgr;
  int32_t n1 = int32_t(ar.Get32());
  int32_t n2 = int32_t(ar.Get32());
  int32_t n3 = int32_t(ar.Get32());
  KZString text1;
  ar >> text1;
  if (n1 != mgr.m_lIdentNum1 || n2 != mgr.m_lIdentNum2 || n3 != mgr.m_lIdentNum3) throw_mismatch();
  if (text1.CompareNoCase(ident_text(mgr.m_szIdentText1)) != 0) throw_mismatch();
}

void KDdComponent::CheckHeaderTexts(KArchive& ar) {
  KSessionMgr& mgr = *m_pSessionMgr;
  KZString t2, t3, t4;
  ar >> t2 >> t3 >> t4;
  if (t2.CompareNoCase(ident_text(mgr.m_szIdentText2)) != 0 || t3.CompareNoCase(ident_text(mgr.m_szIdentText3)) != 0 ||
      t4.CompareNoCase(ident_text(mgr.m_szIdentText4)) != 0)
    throw_mismatch();
}

int KDdComponent::WriteCacheFile(KZString& log) {
  if (!HasCacheFile()) return 1;
  KZString name;
  GetCacheFileName(name);
  KZString temp = temp_name(name);
  KFile file;
  int done = CacheNameUsable() && file.Open(temp, KFILE_CREATE | KFILE_WRITE | KFILE_BINARY);
  if (done) {
    done = archive_run(file, KArchive::store, [this](KArchive& ar) {
      SerializeVersion(ar);
      Serialize(ar);
    });
    if (done) done = std::rename(temp, name) == 0;
    if (!done) KDeleteFile(temp);
  }
  log_line(log, done ? kWritten : kWriteFailed, name);
  return done;
}

int KDdComponent::ReadCacheFile(KZString& log) {
  if (!HasCacheFile()) return 1;
  KZString name;
  GetCacheFileName(name);
  KFileStatus status;
  KFile file;
  if (!CacheNameUsable() || !KFile::GetStatus(name, status) || !file.Open(name, KFILE_BINARY)) {
    m_bModified = 0;
    return 1;
  }
  long failure = 0;
  int done = archive_run(file, KArchive::load, [this, &failure](KArchive& ar) {
    try {
      SerializeVersion(ar);
      Serialize(ar);
    } catch (KErr* e) {
      failure = e->GetErrorNum();
      throw;
    }
  });
  m_bModified = 0;
  if (done) {
    log_line(log, kRead, name);
    return 1;
  }
  if (failure == KERR_DD_VERSION_MISMATCH) {
    log_line(log, kMismatch, name);
    KDeleteFile(name);
    return 1;
  }
  log_line(log, kReadFailed, name);
  DeleteContents();
  m_bModified = 0;
  return 0;
}

} // namespace KCLASSIC
