// KFile, the file class over standard I/O streams that the archive reads and
// writes through, and its status record.
#pragma once

#include <cstdio>

#include "kclassic/kc_err.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_time.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

// Open flags of KFile.
inline constexpr unsigned KFILE_WRITE = 0x0001; // read and append; created when missing
inline constexpr unsigned KFILE_READWRITE = 0x0002; // read and write an existing file
inline constexpr unsigned KFILE_CREATE = 0x1000; // with write or read-write: create or empty the file
inline constexpr unsigned KFILE_TEXT = 0x4000;
inline constexpr unsigned KFILE_BINARY = 0x8000;

// Seek origins.
inline constexpr unsigned KFILE_BEGIN = 0;
inline constexpr unsigned KFILE_CURRENT = 1;
inline constexpr unsigned KFILE_END = 2;

// Error ids of files and archives.
inline constexpr long KERR_BAD_INDEX = 0x9B00064;
inline constexpr long KERR_BAD_CLASS = 0x9B00065;
inline constexpr long KERR_BAD_SCHEMA = 0x9B00066;
inline constexpr long KERR_END_OF_FILE = 0x9B00068;
inline constexpr long KERR_FILE_OPEN = 0x9B00069;
inline constexpr long KERR_FILE_WRITE = 0x9B0006B;
inline constexpr long KERR_DISK_FULL = 0x9B0006C;
inline constexpr long KERR_FILE_SEEK = 0x9B0006D;
inline constexpr long KERR_FILE_POSITION = 0x9B0006E;
inline constexpr long KERR_FILE_CLOSE = 0x9B0006F;
inline constexpr long KERR_FILE_FLUSH = 0x9B00070;

struct ORB_API KFileStatus {
  KTime m_ctime; // status change
  KTime m_mtime; // modification
  KTime m_atime; // access
  int64_t m_size = 0;
};

class ORB_API KFile : public KObject {
  KDECLARE_DYNAMIC(KFile)
 public:
  KFile();
  explicit KFile(FILE* stream);
  // Opens path; throws 0x9B00069 when it cannot.
  KFile(const char* path, unsigned flags);
  KFile(const KFile&) = delete;
  KFile& operator=(const KFile&) = delete;
  ~KFile() override;

  virtual long GetPosition() const;
  // 1 when opened; 0 on failure (error, when given, is filled).
  virtual int Open(const char* path, unsigned flags, KErr* error = nullptr);
  virtual long Seek(long offset, unsigned from);
  virtual long GetLength() const;
  virtual unsigned Read(void* buffer, unsigned n);
  virtual void Write(const void* buffer, unsigned n);
  virtual void Abort();
  virtual void Flush();
  virtual void Close();
  virtual unsigned GetBufferPtr(unsigned command, unsigned count, void** start, void** end);

  long SeekToEnd() { return Seek(0, KFILE_END); }
  static KZString GetOpenMode(int flags);
  // The open file's times; 0 when no file is open.
  int GetStatus(KFileStatus& status) const;
  // The times of the file at path; 0 (status untouched) when it is missing.
  static int GetStatus(const char* path, KFileStatus& status);

  FILE* GetStream() const { return m_pStream; }
  const KZString& GetFileName() const { return m_strFileName; }

 protected:
  FILE* m_pStream = nullptr;
  int m_bCloseOnDelete = 0;
  KZString m_strFileName;
};

} // namespace KCLASSIC
