// Handle objects that the emulated Windows calls hand out instead of
// operating-system handles (files, processes, libraries, directory
// searches), KCloseHandle, and the loading of shared libraries under
// Windows-style names.
#pragma once

#include <dirent.h>

#include <atomic>

#include "kclassic/kc_sect.h"
#include "orb_api.h"

namespace KCLASSIC {

enum RESOURCE_TYPE_ID { KRES_NONE = 0, KRES_FILE = 2, KRES_PROCESS = 3, KRES_LIBRARY = 4, KRES_DIRECTORY = 5 };

// Sizes of the text fields, NUL included; longer texts are refused.
inline constexpr unsigned KFILE_PATH_SIZE = 256;
inline constexpr unsigned KLIB_PATH_SIZE = 1024;
inline constexpr unsigned KDIR_PATH_SIZE = 1024;

// Results of KProcessHandle::Wait.
inline constexpr unsigned long KWAIT_TIMEOUT = 258;
inline constexpr unsigned long KWAIT_FAILED = 0xFFFFFFFF;
inline constexpr unsigned long KINFINITE = 0xFFFFFFFF;
inline constexpr unsigned long KSTILL_ACTIVE = 259;

class ORB_API KBaseHandle {
 public:
  explicit KBaseHandle(int kind = KRES_NONE) : m_kind(kind) {}
  KBaseHandle(const KBaseHandle&) = delete;
  KBaseHandle& operator=(const KBaseHandle&) = delete;
  virtual ~KBaseHandle() = default;
  virtual int GetId() const { return m_kind; }

 protected:
  int m_kind;
};

class ORB_API KFileHandle : public KBaseHandle {
 public:
  KFileHandle();
  // path must fit KFILE_PATH_SIZE (KCreateFile checks); a longer one is
  // kept empty.
  KFileHandle(int fd, int openFlags, const char* path);
  ~KFileHandle() override;
  int GetFd() const { return m_fd; }
  int GetOpenFlags() const { return m_openFlags; }
  const char* GetPath() const { return m_path; }
  // Flushes a standard I/O stream over the descriptor; -1 when none can be
  // opened.
  int fflush();

 private:
  int m_fd;
  char m_path[KFILE_PATH_SIZE];
  int m_openFlags;
};

class ORB_API KLibHandle : public KBaseHandle {
 public:
  // A null name or one too long for the field throws 0x8B000C9.
  explicit KLibHandle(const char* name);
  const char* GetName() const { return m_name; }
  const char* GetPath() const { return m_path; }
  // A null path or one too long for the field throws 0x8B000C9.
  void SetPath(const char* path);

 private:
  char m_name[KLIB_PATH_SIZE];
  char m_path[KLIB_PATH_SIZE];
};

class ORB_API KDirHandle : public KBaseHandle {
 public:
  // Texts too long for the fields are kept empty (KFindFirstFile checks).
  KDirHandle(const char* directory, const char* pattern, DIR* stream);
  ~KDirHandle() override;
  const char* GetDirectory() const { return m_dir; }
  const char* GetPattern() const { return m_pattern; }
  DIR* GetStream() const { return m_stream; }

 private:
  char m_dir[KDIR_PATH_SIZE];
  char m_pattern[KDIR_PATH_SIZE];
  DIR* m_stream;
};

// A child process. Every operation but the termination request runs under
// the handle's own section. Destroying the handle of a running process
// ends it.
class ORB_API KProcessHandle : public KBaseHandle {
 public:
  explicit KProcessHandle(long pid);
  ~KProcessHandle() override;
  long GetProcessId() const { return m_pid; }

  // Kills the process (SIGKILL) and records code as its exit code; 1 when
  // it was killed, 0 when it had ended or could not be killed.
  int TerminateProcess(unsigned long code);
  // 259 while running, else the exit code; 0 when it cannot be told.
  int GetExitCodeProcess(unsigned long* code);
  // 0 (timeout 0 or infinite): 0 once the process has ended, 258 while it
  // runs (timeout 0), 0xFFFFFFFF on failure or when termination was asked
  // for during an infinite wait. Other timeouts throw 0x9B00067.
  unsigned long Wait(unsigned long ms);
  static unsigned long GetReturnCode(long waitResult, int status);

 private:
  KUtlCrSect m_lock;
  long m_pid;
  std::atomic<int> m_terminate{0};
  int m_ended = 0;
  unsigned long m_exitCode = 0;

  // One non-blocking waitpid, recorded; returns its GetReturnCode.
  unsigned long Poll();
};

// Releases a file, process or directory handle (deleting it); 1 when it was
// released, else 0.
ORB_API int KCloseHandle(KBaseHandle* handle);

// The shared-object path for a Windows-style library name into result
// (KLIB_PATH_SIZE bytes): "dir\X.dll" gives "dir/libX.so". Throws 0x8B000C9
// for a name without ".dll"/".DLL" or a result that does not fit.
ORB_API char* ConvertToLibrary(const char* name, char* result);
// dlopen (lazy) of the converted name; null when it cannot be loaded.
ORB_API void* KLoadLibrary(const char* name);
ORB_API void* KGetProcAddress(void* library, const char* symbol);
ORB_API int KFreeLibrary(void* library);

} // namespace KCLASSIC
