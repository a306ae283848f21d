// The server loop: one connection at a time, each answered frame by frame
// until its peer closes it.
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include "bohost_mgr.h"
#include "bohost_stream.h"

namespace KCLASSIC {

namespace {

// How often the loop looks at the stop flag while idle (milliseconds).
constexpr int BOHOST_POLL_MS = 100;
// A peer that sends nothing for this long loses its connection (seconds).
constexpr int BOHOST_PEER_TIMEOUT_S = 10;

void serve_connection(KSessionMgr& mgr, int fd, const volatile std::sig_atomic_t& stop) {
  timeval timeout{BOHOST_PEER_TIMEOUT_S, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  while (!stop) {
    try {
      KHostMsg request = bohost_stream_receive(fd);
      KHostMsg answer = bohost_answer(mgr, request);
      bohost_stream_send(fd, answer);
    } catch (KErr* e) {
      // The peer closed, cut a frame short or went silent: its connection ends.
      delete e;
      return;
    }
  }
}

} // namespace

void bohost_serve(KSessionMgr& mgr, int listenFd, const volatile std::sig_atomic_t& stop) {
  while (!stop) {
    pollfd waiting{listenFd, POLLIN, 0};
    int ready = ::poll(&waiting, 1, BOHOST_POLL_MS);
    if (ready <= 0) continue;
    int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    serve_connection(mgr, fd, stop);
    ::close(fd);
  }
}

} // namespace KCLASSIC
