// The host's configuration file: name=value lines. Blank lines and lines
// starting with '#' are skipped; blanks around names and values are
// dropped. Names:
//   default_lang      default language number of the sessions
//   dict_flag         the dictionary flag value (10 marks every dictionary)
//   mode              1 for product mode
//   time_all_sessions 1 to time sessions without a time-out too
//   ident_num1..3     identity numbers of the dictionary's database
//                     (ident_num2 is the schema version)
//   ident_text1..4    identity texts, at most 33 bytes (ident_text1 the
//                     customer database version, ident_text2 the manager
//                     name that names the cache files)
// An unknown name, a line without '=', a number that is not one or a text
// too long throws a KErr naming the line.
#pragma once

#include <string>

#include "bo/bo_sesmgr.h"
#include "bohost_msg.h"

namespace KCLASSIC {

struct KHostConfig {
  KUtlQboConfig qbo;
  long mode = 0;
  long timeAllSessions = 0;
  long identNum[3] = {};
  std::string identText[4];
};

// Reads the file at path into config (names not in the file keep their
// values).
void bohost_config_read(const std::string& path, KHostConfig& config);
// Parses the text of a configuration file.
void bohost_config_parse(const std::string& text, KHostConfig& config);
// Gives mgr the identity block, mode and timing of config.
void bohost_config_apply(const KHostConfig& config, KSessionMgr& mgr);

} // namespace KCLASSIC
