// The host's stream transport: each message's bytes (KHostMsg) framed over
// a file descriptor, a 32-bit big-endian length before them. A short read,
// a closed peer, a failed write or a frame longer than BOHOST_FRAME_MAX
// throws a KErr (BOHOST_ERR_MESSAGE); a message is handed on only whole.
#pragma once

#include <cstdint>
#include <string>

#include "bohost_msg.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

// The longest frame a peer may send (bytes after the length).
inline constexpr uint32_t BOHOST_FRAME_MAX = 64u * 1024u * 1024u;

// Writes msg's bytes as one frame.
void bohost_stream_send(int fd, const KHostMsg& msg);
// Reads one whole frame into a message read from its start.
KHostMsg bohost_stream_receive(int fd);

// A connected Unix stream socket to path; throws a KErr when it cannot.
int bohost_stream_connect(const std::string& path);
// A listening Unix stream socket at path (a file there is replaced).
int bohost_stream_listen(const std::string& path);

} // namespace KCLASSIC
