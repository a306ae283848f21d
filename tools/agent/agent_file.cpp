// Reading input files whole.
#include <fstream>
#include <sstream>

#include "agent_error.h"

std::string agent_read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw agent_bad_input(path, "cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw agent_bad_input(path, "cannot be read");
  return text.str();
}
