#include "bohost_config.h"

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

namespace KCLASSIC {

namespace {

constexpr const char* BOHOST_CONFIG_METHOD = "bohost_config_parse";

std::string trimmed(const std::string& text) {
  const char* blanks = " \t\r";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

[[noreturn]] void bad_line(long line, const char* why) {
  throw new KErr(BOHOST_ERR_MESSAGE, BOHOST_CONFIG_METHOD, std::to_string(line).c_str(), why);
}

long number(const std::string& value, long line) {
  errno = 0;
  char* end = nullptr;
  long long n = std::strtoll(value.c_str(), &end, 10);
  if (value.empty() || *end || errno == ERANGE || n < INT32_MIN || n > UINT32_MAX) bad_line(line, "not a number");
  return long(int32_t(uint32_t(n)));
}

void set_value(KHostConfig& config, const std::string& name, const std::string& value, long line) {
  struct NumberKey {
    const char* name;
    long* target;
  } numbers[] = {{"default_lang", &config.qbo.m_lDefaultLang}, {"dict_flag", &config.qbo.m_lDictFlag},
                 {"mode", &config.mode},                       {"time_all_sessions", &config.timeAllSessions},
                 {"ident_num1", &config.identNum[0]},          {"ident_num2", &config.identNum[1]},
                 {"ident_num3", &config.identNum[2]}};
  for (const auto& key : numbers)
    if (name == key.name) {
      *key.target = number(value, line);
      return;
    }
  for (int i = 0; i < 4; ++i)
    if (name == "ident_text" + std::to_string(i + 1)) {
      if (value.size() >= size_t(BO_IDENT_TEXT_SIZE)) bad_line(line, "text too long");
      config.identText[i] = value;
      return;
    }
  bad_line(line, "unknown name");
}

void copy_text(char (&field)[BO_IDENT_TEXT_SIZE], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

} // namespace

void bohost_config_parse(const std::string& text, KHostConfig& config) {
  std::istringstream lines(text);
  std::string raw;
  for (long line = 1; std::getline(lines, raw); ++line) {
    std::string content = trimmed(raw);
    if (content.empty() || content[0] == '#') continue;
    size_t equals = content.find('=');
    if (equals == std::string::npos) bad_line(line, "no '='");
    set_value(config, trimmed(content.substr(0, equals)), trimmed(content.substr(equals + 1)), line);
  }
}

void bohost_config_read(const std::string& path, KHostConfig& config) {
  std::ifstream file(path);
  if (!file) throw new KErr(BOHOST_ERR_MESSAGE, "bohost_config_read", path.c_str(), "cannot be read");
  std::ostringstream text;
  text << file.rdbuf();
  bohost_config_parse(text.str(), config);
}

void bohost_config_apply(const KHostConfig& config, KSessionMgr& mgr) {
  mgr.m_lIdentNum1 = int32_t(config.identNum[0]);
  mgr.m_lIdentNum2 = int32_t(config.identNum[1]);
  mgr.m_lIdentNum3 = int32_t(config.identNum[2]);
  copy_text(mgr.m_szIdentText1, config.identText[0]);
  copy_text(mgr.m_szIdentText2, config.identText[1]);
  copy_text(mgr.m_szIdentText3, config.identText[2]);
  copy_text(mgr.m_szIdentText4, config.identText[3]);
  mgr.m_lModeType = int32_t(config.mode);
  mgr.m_bTimeAllSessions = config.timeAllSessions ? 1 : 0;
}

} // namespace KCLASSIC
