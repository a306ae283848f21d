#include "kclassic/kc_file.h"

#include <sys/stat.h>

#include "kclassic/kc_fcall.h"
#include "kclassic/kc_handle.h"

namespace KCLASSIC {

KIMPLEMENT_DYNAMIC(KFile, KObject)

KFile::KFile() = default;

KFile::KFile(FILE* stream) : m_pStream(stream) {}

KFile::KFile(const char* path, unsigned flags) {
  if (!Open(path, flags, nullptr)) throw new KErr(KERR_FILE_OPEN, "KFile::KFile", "Unable to open file", path);
}

KFile::~KFile() {
  if (m_pStream && m_bCloseOnDelete) std::fclose(m_pStream);
}

KZString KFile::GetOpenMode(int flags) {
  bool create = (flags & KFILE_CREATE) && (flags & (KFILE_WRITE | KFILE_READWRITE));
  KZString mode = create ? "w+" : (flags & KFILE_WRITE) ? "a+" : (flags & KFILE_READWRITE) ? "r+" : "r";
  if (flags & KFILE_BINARY) mode += "b";
  if (flags & KFILE_TEXT) mode += "t";
  return mode;
}

int KFile::Open(const char* path, unsigned flags, KErr* error) {
  FILE* f = path ? std::fopen(path, GetOpenMode(int(flags) & ~KFILE_TEXT)) : nullptr;
  if (!f) {
    if (error) error->Initialize(KERR_FILE_OPEN, "KFile::KFile", path ? path : "");
    return 0;
  }
  if (m_pStream && m_bCloseOnDelete) std::fclose(m_pStream); // a second Open replaces the first file
  m_pStream = f;
  m_bCloseOnDelete = 1;
  m_strFileName = path;
  return 1;
}

unsigned KFile::Read(void* buffer, unsigned n) {
  if (n == 0 || !m_pStream) return 0;
  return unsigned(std::fread(buffer, 1, n, m_pStream));
}

void KFile::Write(const void* buffer, unsigned n) {
  if (n == 0) return;
  size_t done = m_pStream ? std::fwrite(buffer, 1, n, m_pStream) : 0;
  if (done == 0) throw new KErr(KERR_FILE_WRITE, "KFile::Write", m_strFileName);
  if (done < n) throw new KErr(KERR_DISK_FULL, "KFile::Write");
}

long KFile::Seek(long offset, unsigned from) {
  int whence = from == KFILE_CURRENT ? SEEK_CUR : from == KFILE_END ? SEEK_END : SEEK_SET;
  if (!m_pStream || from > KFILE_END || std::fseek(m_pStream, offset, whence) != 0)
    throw new KErr(KERR_FILE_SEEK, "KFile::Seek", m_strFileName);
  return GetPosition();
}

long KFile::GetPosition() const {
  long pos = m_pStream ? std::ftell(m_pStream) : -1;
  if (pos < 0) throw new KErr(KERR_FILE_POSITION, "KFile::GetPosition", m_strFileName);
  return pos;
}

long KFile::GetLength() const {
  long here = GetPosition();
  auto* self = const_cast<KFile*>(this);
  long end = self->Seek(0, KFILE_END);
  self->Seek(here, KFILE_BEGIN);
  return end;
}

void KFile::Flush() {
  if (m_pStream && std::fflush(m_pStream) != 0) throw new KErr(KERR_FILE_FLUSH, "KFile::Flush", m_strFileName);
}

void KFile::Close() {
  if (!m_pStream) return;
  int r = std::fclose(m_pStream);
  m_pStream = nullptr;
  m_bCloseOnDelete = 0;
  KZString name = m_strFileName;
  m_strFileName.Empty();
  if (r != 0) throw new KErr(KERR_FILE_CLOSE, "KFile::Close", name);
}

void KFile::Abort() {
  if (m_pStream) std::fclose(m_pStream);
  m_pStream = nullptr;
  m_bCloseOnDelete = 0;
  m_strFileName.Empty();
}

unsigned KFile::GetBufferPtr(unsigned, unsigned, void**, void**) { return 0; }

namespace {
void FillTimes(const struct stat& st, KFileStatus& status) {
  status.m_ctime = KTime(int64_t(st.st_ctime));
  status.m_mtime = KTime(int64_t(st.st_mtime));
  status.m_atime = KTime(int64_t(st.st_atime));
  if (status.m_ctime.GetTime() == 0) status.m_ctime = status.m_mtime;
  if (status.m_atime.GetTime() == 0) status.m_atime = status.m_mtime;
}
} // namespace

int KFile::GetStatus(KFileStatus& status) const {
  struct stat st;
  if (!m_pStream || ::fstat(fileno(m_pStream), &st) != 0) return 0;
  FillTimes(st, status);
  status.m_size = st.st_size;
  return 1;
}

int KFile::GetStatus(const char* path, KFileStatus& status) {
  if (!path) return 0;
  _KWIN32_FIND_DATA data;
  KBaseHandle* h = KFindFirstFile(path, &data);
  if (!h) return 0;
  KFindClose(h);
  struct stat st;
  if (::stat(path, &st) != 0) return 0;
  FillTimes(st, status);
  return 1;
}

} // namespace KCLASSIC
