// The private MariaDB server of a test program (tools/mariadb/orb_mariadb.sh):
// started on first use in a temporary folder, reachable only by its Unix
// socket, shut down when the program ends.
#pragma once

#include <string>

namespace ds_ora {

// The socket of the running server; starts it when needed. Empty when the
// server cannot start (the caller fails its test).
std::string server_socket();
// Kills the server at once (a crash as the clients see it).
void server_kill();
// Starts a new server (a fresh folder) after server_kill; its socket.
std::string server_restart();

}  // namespace ds_ora
