// Handles: library names, loading a shared library and resolving a symbol,
// child processes through Wait, exit codes and termination, KCloseHandle.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_fcall.h"
#include "kclassic/kc_handle.h"

using namespace KCLASSIC;
using kctest::catchKErr;

namespace {

class Handles : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

// Starts /bin/sh -c script as a child; its process id. A child that is to
// be killed runs `exec sleep`: killing a shell that forked its sleep would
// leave the sleep running, holding the test's output open until it ends.
long spawnShell(const char* script) {
  pid_t pid = 0;
  const char* argv[] = {"/bin/sh", "-c", script, nullptr};
  int r = ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ);
  EXPECT_EQ(r, 0);
  return long(pid);
}

bool alive(long pid) { return ::kill(pid_t(pid), 0) == 0; }

} // namespace

TEST_F(Handles, ConvertToLibraryTable) {
  struct Case {
    const char* name;
    const char* expected;
  } cases[] = {
      {"OraDataSvc.DLL", "libOraDataSvc.so"},
      {"Data.dll", "libData.so"},
      {"drivers\\X.dll", "drivers/libX.so"},
      {"./X.beta.dll", "libX.so"},
      {"/opt/lib/Svc.dll", "/opt/lib/libSvc.so"},
      {"a/b\\..Dots.dll", "a/b/libDots.so"},
  };
  for (const auto& c : cases) {
    char out[KLIB_PATH_SIZE] = "";
    EXPECT_STREQ(ConvertToLibrary(c.name, out), c.expected) << c.name;
  }
  char keep[KLIB_PATH_SIZE] = "pre/";
  EXPECT_STREQ(ConvertToLibrary("Y.dll", keep), "pre/libY.so"); // no directory: the caller's text stays

  for (const char* bad : {"x.so", "X.Dll", "plain"}) {
    char out[KLIB_PATH_SIZE] = "";
    auto e = catchKErr([&] { ConvertToLibrary(bad, out); });
    EXPECT_EQ(e.id, 0x8B000C9) << bad;
    EXPECT_EQ(e.method, "ConvertToLibrary");
    EXPECT_EQ(e.params, std::vector<std::string>{"DllName"});
  }
  // A result beyond the buffer is refused, not written past it.
  std::string dir(1015, 'd');
  std::string name = dir + "/Long.dll";
  char out[KLIB_PATH_SIZE] = "";
  EXPECT_EQ(catchKErr([&] { ConvertToLibrary(name.c_str(), out); }).id, 0x8B000C9);
}

TEST_F(Handles, LoadLibraryResolvesASymbol) {
  std::string name = std::string(KC_TESTLIB_DIR) + "/KcTestLib.dll";
  void* lib = KLoadLibrary(name.c_str());
  ASSERT_NE(lib, nullptr) << name;
  auto fn = reinterpret_cast<int (*)()>(KGetProcAddress(lib, "kc_testlib_answer"));
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn(), 42);
  EXPECT_EQ(KGetProcAddress(lib, "no_such_symbol"), nullptr);
  EXPECT_EQ(KFreeLibrary(lib), 0);

  std::string backslashed = std::string(KC_TESTLIB_DIR) + "\\KcTestLib.DLL";
  lib = KLoadLibrary(backslashed.c_str());
  EXPECT_NE(lib, nullptr);
  if (lib) KFreeLibrary(lib);

  EXPECT_EQ(KLoadLibrary("NoSuchLibrary.dll"), nullptr); // no error thrown
  std::string tooLong(2000, 'x');
  EXPECT_EQ(KLoadLibrary((tooLong + ".dll").c_str()), nullptr);
  auto e = catchKErr([] { KLoadLibrary(nullptr); });
  EXPECT_EQ(e.id, 0x8B000C9);
  EXPECT_EQ(e.params, std::vector<std::string>{"DLLToLoad"});
}

TEST_F(Handles, LibraryHandleFields) {
  EXPECT_EQ(catchKErr([] { KLibHandle h(nullptr); }).params, std::vector<std::string>{"library name"});
  std::string tooLong(KLIB_PATH_SIZE, 'n');
  EXPECT_EQ(catchKErr([&] { KLibHandle h(tooLong.c_str()); }).id, 0x8B000C9);
  KLibHandle h("libA.so");
  EXPECT_EQ(h.GetId(), KRES_LIBRARY);
  EXPECT_STREQ(h.GetPath(), "");
  h.SetPath("/x/libA.so");
  EXPECT_STREQ(h.GetPath(), "/x/libA.so");
  auto e = catchKErr([&] { h.SetPath(nullptr); });
  EXPECT_EQ(e.method, "KLibHandle::SetPath");
  EXPECT_EQ(e.params, std::vector<std::string>{"path "});
  EXPECT_EQ(catchKErr([&] { h.SetPath(tooLong.c_str()); }).id, 0x8B000C9);
  EXPECT_STREQ(h.GetPath(), "/x/libA.so");
  EXPECT_EQ(KCloseHandle(&h), 0); // library handles are not released here
}

TEST_F(Handles, ChildExitCodeThroughWait) {
  long pid = spawnShell("exec sleep 30");
  auto* p = new KProcessHandle(pid);
  EXPECT_EQ(p->GetId(), KRES_PROCESS);
  EXPECT_EQ(p->Wait(0), KWAIT_TIMEOUT);
  unsigned long code = 1234;
  EXPECT_EQ(p->GetExitCodeProcess(&code), 1);
  EXPECT_EQ(code, KSTILL_ACTIVE);
  EXPECT_EQ(p->GetExitCodeProcess(nullptr), 0);
  EXPECT_EQ(catchKErr([&] { p->Wait(1000); }).id, 0x9B00067);
  EXPECT_EQ(KCloseHandle(p), 1); // closing a running child's handle ends it
  EXPECT_FALSE(alive(pid));

  p = new KProcessHandle(spawnShell("exit 7"));
  EXPECT_EQ(p->Wait(KINFINITE), 0u);
  EXPECT_EQ(p->Wait(0), 0u); // ended: 0, the code comes from GetExitCodeProcess
  EXPECT_EQ(p->GetExitCodeProcess(&code), 1);
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(p->TerminateProcess(9), 0); // already ended
  EXPECT_EQ(KCloseHandle(p), 1);

  // An infinite wait sleeps until a slower child ends.
  p = new KProcessHandle(spawnShell("sleep 0.3; exit 3"));
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(p->Wait(KINFINITE), 0u);
  auto waited = std::chrono::steady_clock::now() - t0;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::seconds(5));
  EXPECT_EQ(p->GetExitCodeProcess(&code), 1);
  EXPECT_EQ(code, 3u);
  EXPECT_EQ(KCloseHandle(p), 1);
}

TEST_F(Handles, TerminationEndsAChildAndStopsAnInfiniteWait) {
  long pid = spawnShell("exec sleep 30");
  auto* p = new KProcessHandle(pid);
  unsigned long waitResult = 0;
  std::thread waiter([&] { waitResult = p->Wait(KINFINITE); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(p->TerminateProcess(5), 1);
  waiter.join();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  EXPECT_EQ(waitResult, KWAIT_FAILED);
  EXPECT_FALSE(alive(pid)); // killed and reaped
  unsigned long code = 0;
  EXPECT_EQ(p->GetExitCodeProcess(&code), 1);
  EXPECT_EQ(code, 5u);
  EXPECT_EQ(p->Wait(KINFINITE), 0u);
  EXPECT_EQ(KCloseHandle(p), 1);

  // A process that is gone (reaped elsewhere) cannot be waited for.
  long gone = spawnShell("exit 0");
  int status;
  ASSERT_EQ(::waitpid(pid_t(gone), &status, 0), pid_t(gone));
  KProcessHandle stranger(gone);
  EXPECT_EQ(stranger.Wait(0), KWAIT_FAILED);
  EXPECT_EQ(stranger.GetExitCodeProcess(&code), 0);
  EXPECT_EQ(KProcessHandle::GetReturnCode(-7, 0), KWAIT_FAILED);
}

TEST_F(Handles, ClosingDirectoryAndFileHandles) {
  kctest::TempDir dir;
  DIR* stream = ::opendir(dir.path().c_str());
  ASSERT_NE(stream, nullptr);
  int fd = ::dirfd(stream);
  auto* d = new KDirHandle(dir.path().c_str(), "*", stream);
  EXPECT_EQ(KCloseHandle(d), 1);
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1); // the directory stream was closed

  int fileFd = ::open(dir.file("f").c_str(), O_CREAT | O_RDWR, 0600);
  auto* f = new KFileHandle(fileFd, O_RDWR, dir.file("f").c_str());
  EXPECT_EQ(KFlushFileBuffers(f), 0);
  EXPECT_EQ(f->fflush(), 0);
  EXPECT_EQ(::fcntl(fileFd, F_GETFD), 0); // flushing keeps the descriptor
  EXPECT_EQ(KCloseHandle(f), 1);
  EXPECT_EQ(::fcntl(fileFd, F_GETFD), -1);

  KBaseHandle none;
  EXPECT_EQ(KCloseHandle(&none), 0);
  EXPECT_EQ(KCloseHandle(nullptr), 0);
  KFileHandle empty;
  EXPECT_EQ(empty.GetFd(), -9999);
  EXPECT_EQ(empty.fflush(), -1);
}
