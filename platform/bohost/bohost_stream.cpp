#include "bohost_stream.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace KCLASSIC {

namespace {

constexpr int BOHOST_LISTEN_BACKLOG = 16;

[[noreturn]] void stream_fail(const char* method, const char* why) {
  throw new KErr(BOHOST_ERR_MESSAGE, method, why);
}

// Writes every byte; a socket peer that went away fails here rather than
// raising SIGPIPE.
void write_all(int fd, const uint8_t* bytes, size_t n) {
  while (n > 0) {
    ssize_t done = ::send(fd, bytes, n, MSG_NOSIGNAL);
    if (done < 0 && errno == ENOTSOCK) done = ::write(fd, bytes, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) stream_fail("bohost_stream_send", std::strerror(errno));
    bytes += done;
    n -= size_t(done);
  }
}

// Reads exactly n bytes; the end of the stream before them is a closed
// peer (nothing read) or a short read (some read).
void read_all(int fd, uint8_t* bytes, size_t n, bool frameStarted) {
  size_t got = 0;
  while (got < n) {
    ssize_t done = ::read(fd, bytes + got, n - got);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) stream_fail("bohost_stream_receive", std::strerror(errno));
    if (done == 0) stream_fail("bohost_stream_receive", got == 0 && !frameStarted ? "closed peer" : "short read");
    got += size_t(done);
  }
}

sockaddr_un socket_address(const std::string& path, const char* method) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) stream_fail(method, "socket path too long");
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

} // namespace

void bohost_stream_send(int fd, const KHostMsg& msg) {
  const std::vector<uint8_t>& bytes = msg.Bytes();
  if (bytes.size() > BOHOST_FRAME_MAX) stream_fail("bohost_stream_send", "message too long");
  const auto n = uint32_t(bytes.size());
  const uint8_t length[4] = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
  write_all(fd, length, sizeof length);
  write_all(fd, bytes.data(), bytes.size());
}

KHostMsg bohost_stream_receive(int fd) {
  uint8_t length[4];
  read_all(fd, length, sizeof length, false);
  const uint32_t n = uint32_t(length[0]) << 24 | uint32_t(length[1]) << 16 | uint32_t(length[2]) << 8 | length[3];
  if (n > BOHOST_FRAME_MAX) stream_fail("bohost_stream_receive", "frame too long");
  std::vector<uint8_t> bytes(n);
  if (n > 0) read_all(fd, bytes.data(), n, true);
  return KHostMsg(std::move(bytes));
}

int bohost_stream_connect(const std::string& path) {
  sockaddr_un address = socket_address(path, "bohost_stream_connect");
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) stream_fail("bohost_stream_connect", std::strerror(errno));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    int error = errno;
    ::close(fd);
    stream_fail("bohost_stream_connect", std::strerror(error));
  }
  return fd;
}

int bohost_stream_listen(const std::string& path) {
  sockaddr_un address = socket_address(path, "bohost_stream_listen");
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) stream_fail("bohost_stream_listen", std::strerror(errno));
  ::unlink(path.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, BOHOST_LISTEN_BACKLOG) != 0) {
    int error = errno;
    ::close(fd);
    stream_fail("bohost_stream_listen", std::strerror(error));
  }
  return fd;
}

} // namespace KCLASSIC
