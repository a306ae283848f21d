// Business objects: their type definitions (object types and attribute types), the
// objects themselves and containers of child objects.
#pragma once

#include "kl_api.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class BusinessObject;
class BusObjContainer;
class ReturnStatusDescriptor;

// One attribute of a business-object type.
class KL_API BOAttrType {
 public:
  // Attribute type codes.
  static const int OBJECT;
  static const int BOOLEAN;
  static const int INTEGER;
  static const int FLOAT;
  static const int DOUBLE;
  static const int STRING;
  static const int DATE;
  static const int LONGTEXT;

  // Flags for the constructor.
  enum : unsigned { KEY = 1, FOREIGN_KEY = 2, REQUIRED = 4, MULTIPLE = 8 };

  // type_name: for object attributes the business-object type of the child.
  BOAttrType(const char* name, int type, const char* app_text, unsigned flags = 0,
             const char* type_name = nullptr);

  const char* getName() const { return name_.c_str(); }
  const char* getAppText() const { return app_text_.c_str(); }
  const char* getTypeName() const { return type_name_.c_str(); }
  int getType() const { return type_; }
  bool isObjectType() const { return type_ == OBJECT; }
  bool isMultipleCard() const { return (flags_ & MULTIPLE) != 0; }
  bool isKey() const { return (flags_ & KEY) != 0; }
  bool isForeignKey() const { return (flags_ & FOREIGN_KEY) != 0; }
  bool isRequired() const { return (flags_ & REQUIRED) != 0; }
  // True when the attribute names a business-object type.
  bool hasTypeName() const { return !type_name_.empty(); }

 private:
  std::string name_;
  int type_;
  std::string app_text_;
  unsigned flags_;
  std::string type_name_;
};

// A business-object type: name, application text, verb application texts
// and attributes. Types live in the framework's repository for the life of
// the process.
class KL_API BusObjSpec {
 public:
  // The type of that name, made when absent; defining it again empties it.
  static BusObjSpec* define(const char* name, const char* app_text = "");
  // The type of that name, or null.
  static BusObjSpec* find(const char* name);

  void setAppText(const char* text) { app_text_ = text ? text : ""; }
  void setVerbAppText(const char* verb, const char* text);
  // Appends an attribute; returns its index.
  int addAttribute(const BOAttrType& attr);

  const char* getName() const { return name_.c_str(); }
  const char* getAppText() const { return app_text_.c_str(); }
  // Null when the verb has no application text.
  const char* getVerbAppText(const char* verb) const;
  int getAttributeCount() const { return static_cast<int>(attrs_.size()); }
  BOAttrType* getAttribute(int index);
  BOAttrType* getAttribute(const char* name);
  // Negative when absent.
  int getAttributeIndex(const char* name) const;

 private:
  explicit BusObjSpec(const char* name) : name_(name) {}
  std::string name_;
  std::string app_text_;
  std::map<std::string, std::string> verb_texts_;
  std::vector<BOAttrType> attrs_;
};

// A list of child business objects of one type; owns them.
class KL_API BusObjContainer {
 public:
  explicit BusObjContainer(BusObjSpec* spec) : spec_(spec) {}
  BusObjContainer(const BusObjContainer&) = delete;
  BusObjContainer& operator=(const BusObjContainer&) = delete;
  ~BusObjContainer();

  BusinessObject* getObject(int index);
  int getObjectCount() const { return static_cast<int>(objects_.size()); }
  BusObjSpec* getTheSpec() { return spec_; }
  void setTheSpec(BusObjSpec* spec) { spec_ = spec; }
  // Takes the object over.
  void insertObject(BusinessObject* bo);

 private:
  BusObjSpec* spec_;
  std::vector<BusinessObject*> objects_;
};

class KL_API BusinessObject {
 public:
  // The value of an attribute that holds nothing: the broker sends it for
  // attributes it does not set. Its text is "KlIgnore".
  static const char* const IGNORE_TEXT;
  // An explicitly empty value. Its text is empty.
  static const char* const BLANK_TEXT;
  // Texts that setAttrValue turns into the ignore and blank values.
  static const char* const IGNORE_MARK;
  static const char* const BLANK_MARK;

  // A new object of that type; every attribute holds the ignore value. An
  // unknown type gives an object without attributes.
  explicit BusinessObject(const char* type_name);
  BusinessObject(const BusinessObject&) = delete;
  BusinessObject& operator=(const BusinessObject&) = delete;
  ~BusinessObject();

  const char* getName() const { return name_.c_str(); }
  void setName(const char* name) { name_ = name ? name : ""; }
  const char* getVerb() const { return verb_.c_str(); }
  void setVerb(const char* verb) { verb_ = verb ? verb : ""; }
  // Null when no app verb is set.
  const char* getAppVerb() const { return has_app_verb_ ? app_verb_.c_str() : nullptr; }
  void setAppVerb(const char* verb);

  BusObjSpec* getSpecFor() { return spec_; }
  BusObjSpec* getTheSpec() { return spec_; }
  BusinessObject* getParent() { return parent_; }
  void setParent(BusinessObject* parent) { parent_ = parent; }
  void* getContext() { return context_; }
  void setContext(void* context) { context_ = context; }

  int getAttrCount() const;
  const char* getAttrName(int index);
  int getAttrType(int index);
  int getAttrType(const char* name);
  BOAttrType* getAttrDesc(int index);
  BOAttrType* getAttrDesc(const char* name);
  // A simple attribute gives its text (or the ignore or blank value), an
  // object attribute its child (single) or its container (multiple), or the
  // ignore value when it holds none. Null when the attribute is absent.
  void* getAttrValue(int index);
  void* getAttrValue(const char* name);
  // Simple attributes take a text of a simple type; object attributes take a
  // child of type OBJECT, which they own from then on (a multiple attribute
  // adds it to its container). A null value sets the ignore value. False when
  // the attribute is absent or the value's kind does not fit.
  bool setAttrValue(int index, void* value, int type);
  bool setAttrValue(const char* name, void* value, int type);
  // A new, unattached child object of the attribute's type; null when the
  // attribute is absent or not an object attribute.
  BusinessObject* makeNewAttrObject(int index);
  BusinessObject* makeNewAttrObject(const char* name);

  // A copy of the object with all its values and children (the context and
  // the parent are not copied); setValues takes the values of another object
  // of the same type. False when the types differ.
  BusinessObject* getValues();
  bool setValues(BusinessObject& from);

  static bool isIgnoreValue(const void* value);
  static bool isBlankValue(const void* value);

  // Gives default values to nothing; false when a required attribute holds
  // the ignore value (an object one: no child).
  bool initAndValidateAttributes();
  // Hands the object to the connector's handler for its name; -1 without a
  // connector.
  int doVerbFor();
  // Writes a readable dump into buffer (at most size-1 characters, ended);
  // returns the characters written.
  int dump(char* buffer, int size);

 private:
  struct Slot {
    enum Kind { IGNORE, BLANK, TEXT, CHILD, CONTAINER } kind = IGNORE;
    std::string text;
    BusinessObject* child = nullptr;
    BusObjContainer* container = nullptr;
  };
  void clearSlot(Slot& s);
  void dumpInto(std::string& out, int depth);

  BusObjSpec* spec_ = nullptr;
  std::string name_;
  std::string verb_;
  std::string app_verb_;
  bool has_app_verb_ = false;
  BusinessObject* parent_ = nullptr;
  void* context_ = nullptr;
  std::vector<Slot> slots_;
};
