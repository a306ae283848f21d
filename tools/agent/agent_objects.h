// Business objects as JSON:
//
//   {"name": "Orbisan_Contact", "verb": "Create", "appVerb": null,
//    "values": {"ObjId": "12", "LastName": "Ames", "Phone": null,
//               "Role": {...child...}, "Addresses": [{...}, {...}]}}
//
// A value is a text (a number or true/false is taken as its text), null
// (the blank value), a child object or an array of children. An attribute
// left out holds the ignore value. A child has the same form; its "name",
// when given, must be the attribute's child type.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

class BusinessObject;

class AgentObjects {
 public:
  using json = nlohmann::ordered_json;

  // An object of a registered type; refused (AgentError BAD_INPUT) with the
  // place and the path inside the JSON when malformed or naming an unknown
  // type or attribute.
  static std::unique_ptr<BusinessObject> read(const json& j, const std::string& place);
  static std::unique_ptr<BusinessObject> readText(const std::string& text, const std::string& place);
  static std::unique_ptr<BusinessObject> readFile(const std::string& path);

  // The JSON form; attributes in their definition's order, those holding
  // the ignore value left out.
  static json write(BusinessObject& bo);
};
