// Error numbers and texts of the Oracle-dialect service.
#include "platform/dataservice/ora/ora_err.h"

#include <cctype>

namespace ora_err {

long number(unsigned e) {
  switch (e) {
    case 1213: case 1205: return DEADLOCK;
    case 1062: case 1586: return NOT_UNIQUE;
    case 2006: case 2013: case 2055: return LOST;
    case 1045: return BAD_LOGIN;
    case 2002: case 2003: case 2005: case 1049: return NO_SERVER;
    default: return ORACLE;
  }
}

std::string text(unsigned e, const std::string& message, const std::string& owner) {
  if (e == 1329) return "ORA-01403: no data found";
  if (e != 1062 && e != 1586) return message;
  // The key's name is the last quoted name of the message; it may come
  // qualified by its table ("t.name").
  size_t end = message.rfind('\'');
  size_t begin = end == std::string::npos || end == 0 ? std::string::npos : message.rfind('\'', end - 1);
  std::string key = begin == std::string::npos ? "" : message.substr(begin + 1, end - begin - 1);
  size_t dot = key.rfind('.');
  if (dot != std::string::npos) key = key.substr(dot + 1);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return "ORA-00001: unique constraint (" + owner + "." + key + ") violated";
}

}  // namespace ora_err
