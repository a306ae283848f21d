// Business objects, their types and containers.
#include "kl_bo.h"

#include <cstring>

#include "kl_globals.h"
#include "kl_veneer.h"

const int BOAttrType::OBJECT = 0;
const int BOAttrType::BOOLEAN = 1;
const int BOAttrType::INTEGER = 2;
const int BOAttrType::FLOAT = 3;
const int BOAttrType::DOUBLE = 4;
const int BOAttrType::STRING = 5;
const int BOAttrType::DATE = 6;
const int BOAttrType::LONGTEXT = 7;

namespace {

const char kl_ignore_value[] = "KlIgnore";
const char kl_blank_value[] = "";

std::map<std::string, std::unique_ptr<BusObjSpec>>& kl_specs() {
  static std::map<std::string, std::unique_ptr<BusObjSpec>> specs;
  return specs;
}

}  // namespace

const char* const BusinessObject::IGNORE_TEXT = kl_ignore_value;
const char* const BusinessObject::BLANK_TEXT = kl_blank_value;
const char* const BusinessObject::IGNORE_MARK = "KlIgnore";
const char* const BusinessObject::BLANK_MARK = "KlBlank";

BOAttrType::BOAttrType(const char* name, int type, const char* app_text, unsigned flags,
                       const char* type_name)
    : name_(name ? name : ""),
      type_(type),
      app_text_(app_text ? app_text : ""),
      flags_(flags),
      type_name_(type_name ? type_name : "") {}

BusObjSpec* BusObjSpec::define(const char* name, const char* app_text) {
  std::string key = name ? name : "";
  auto& slot = kl_specs()[key];
  if (!slot) slot.reset(new BusObjSpec(key.c_str()));
  slot->app_text_ = app_text ? app_text : "";
  slot->verb_texts_.clear();
  slot->attrs_.clear();
  return slot.get();
}

BusObjSpec* BusObjSpec::find(const char* name) {
  if (!name) return nullptr;
  auto it = kl_specs().find(name);
  return it == kl_specs().end() ? nullptr : it->second.get();
}

void BusObjSpec::setVerbAppText(const char* verb, const char* text) {
  if (verb) verb_texts_[verb] = text ? text : "";
}

int BusObjSpec::addAttribute(const BOAttrType& attr) {
  attrs_.push_back(attr);
  return static_cast<int>(attrs_.size()) - 1;
}

const char* BusObjSpec::getVerbAppText(const char* verb) const {
  if (!verb) return nullptr;
  auto it = verb_texts_.find(verb);
  return it == verb_texts_.end() ? nullptr : it->second.c_str();
}

BOAttrType* BusObjSpec::getAttribute(int index) {
  if (index < 0 || index >= getAttributeCount()) return nullptr;
  return &attrs_[static_cast<size_t>(index)];
}

BOAttrType* BusObjSpec::getAttribute(const char* name) {
  return getAttribute(getAttributeIndex(name));
}

int BusObjSpec::getAttributeIndex(const char* name) const {
  if (!name) return -1;
  for (size_t i = 0; i < attrs_.size(); ++i)
    if (strcmp(attrs_[i].getName(), name) == 0) return static_cast<int>(i);
  return -1;
}

BusObjContainer::~BusObjContainer() {
  for (BusinessObject* bo : objects_) delete bo;
}

BusinessObject* BusObjContainer::getObject(int index) {
  if (index < 0 || index >= getObjectCount()) return nullptr;
  return objects_[static_cast<size_t>(index)];
}

void BusObjContainer::insertObject(BusinessObject* bo) {
  if (bo) objects_.push_back(bo);
}

BusinessObject::BusinessObject(const char* type_name)
    : spec_(BusObjSpec::find(type_name)), name_(type_name ? type_name : "") {
  if (spec_) slots_.resize(static_cast<size_t>(spec_->getAttributeCount()));
}

BusinessObject::~BusinessObject() {
  for (Slot& s : slots_) clearSlot(s);
}

void BusinessObject::clearSlot(Slot& s) {
  delete s.child;
  delete s.container;
  s = Slot{};
}

void BusinessObject::setAppVerb(const char* verb) {
  has_app_verb_ = verb != nullptr;
  app_verb_ = verb ? verb : "";
}

int BusinessObject::getAttrCount() const { return static_cast<int>(slots_.size()); }

const char* BusinessObject::getAttrName(int index) {
  BOAttrType* a = getAttrDesc(index);
  return a ? a->getName() : nullptr;
}

int BusinessObject::getAttrType(int index) {
  BOAttrType* a = getAttrDesc(index);
  return a ? a->getType() : -1;
}

int BusinessObject::getAttrType(const char* name) {
  BOAttrType* a = getAttrDesc(name);
  return a ? a->getType() : -1;
}

BOAttrType* BusinessObject::getAttrDesc(int index) {
  if (!spec_ || index < 0 || index >= getAttrCount()) return nullptr;
  return spec_->getAttribute(index);
}

BOAttrType* BusinessObject::getAttrDesc(const char* name) {
  return spec_ ? getAttrDesc(spec_->getAttributeIndex(name)) : nullptr;
}

void* BusinessObject::getAttrValue(int index) {
  if (index < 0 || index >= getAttrCount()) return nullptr;
  Slot& s = slots_[static_cast<size_t>(index)];
  switch (s.kind) {
    case Slot::IGNORE: return const_cast<char*>(IGNORE_TEXT);
    case Slot::BLANK: return const_cast<char*>(BLANK_TEXT);
    case Slot::TEXT: return s.text.data();
    case Slot::CHILD: return s.child;
    case Slot::CONTAINER: return s.container;
  }
  return nullptr;
}

void* BusinessObject::getAttrValue(const char* name) {
  return spec_ ? getAttrValue(spec_->getAttributeIndex(name)) : nullptr;
}

bool BusinessObject::setAttrValue(int index, void* value, int type) {
  BOAttrType* a = getAttrDesc(index);
  if (!a) return false;
  Slot& s = slots_[static_cast<size_t>(index)];
  if (!value || isIgnoreValue(value)) {
    clearSlot(s);
    return true;
  }
  if (a->isObjectType() != (type == BOAttrType::OBJECT)) return false;
  if (a->isObjectType()) {
    auto* child = static_cast<BusinessObject*>(value);
    if (child == this) return false;
    child->parent_ = this;
    if (a->isMultipleCard()) {
      if (s.kind != Slot::CONTAINER) {
        clearSlot(s);
        s.kind = Slot::CONTAINER;
        s.container = new BusObjContainer(child->spec_);
      }
      s.container->insertObject(child);
    } else {
      if (s.child != child) clearSlot(s);
      s.kind = Slot::CHILD;
      s.child = child;
    }
    return true;
  }
  const char* text = static_cast<const char*>(value);
  if (isBlankValue(value) || strcmp(text, BLANK_MARK) == 0) {
    clearSlot(s);
    s.kind = Slot::BLANK;
  } else if (strcmp(text, IGNORE_MARK) == 0) {
    clearSlot(s);
  } else {
    std::string copy = text;  // the value may be this slot's own text
    clearSlot(s);
    s.kind = Slot::TEXT;
    s.text = std::move(copy);
  }
  return true;
}

bool BusinessObject::setAttrValue(const char* name, void* value, int type) {
  return spec_ ? setAttrValue(spec_->getAttributeIndex(name), value, type) : false;
}

BusinessObject* BusinessObject::makeNewAttrObject(int index) {
  BOAttrType* a = getAttrDesc(index);
  if (!a || !a->isObjectType()) return nullptr;
  return new BusinessObject(a->getTypeName());
}

BusinessObject* BusinessObject::makeNewAttrObject(const char* name) {
  return spec_ ? makeNewAttrObject(spec_->getAttributeIndex(name)) : nullptr;
}

BusinessObject* BusinessObject::getValues() {
  auto* copy = new BusinessObject(name_.c_str());
  copy->setValues(*this);
  return copy;
}

bool BusinessObject::setValues(BusinessObject& from) {
  if (from.spec_ != spec_ || &from == this) return false;
  verb_ = from.verb_;
  app_verb_ = from.app_verb_;
  has_app_verb_ = from.has_app_verb_;
  for (int i = 0; i < getAttrCount(); ++i) {
    Slot& src = from.slots_[static_cast<size_t>(i)];
    Slot& dst = slots_[static_cast<size_t>(i)];
    clearSlot(dst);
    dst.kind = src.kind;
    dst.text = src.text;
    if (src.child) {
      dst.child = src.child->getValues();
      dst.child->parent_ = this;
    }
    if (src.container) {
      dst.container = new BusObjContainer(src.container->getTheSpec());
      for (int k = 0; k < src.container->getObjectCount(); ++k) {
        BusinessObject* c = src.container->getObject(k)->getValues();
        c->parent_ = this;
        dst.container->insertObject(c);
      }
    }
  }
  return true;
}

bool BusinessObject::isIgnoreValue(const void* value) { return value == IGNORE_TEXT; }

bool BusinessObject::isBlankValue(const void* value) { return value == BLANK_TEXT; }

bool BusinessObject::initAndValidateAttributes() {
  for (int i = 0; i < getAttrCount(); ++i) {
    BOAttrType* a = getAttrDesc(i);
    const Slot& s = slots_[static_cast<size_t>(i)];
    if (a && a->isRequired() && s.kind == Slot::IGNORE) return false;
  }
  return true;
}

int BusinessObject::doVerbFor() {
  GenGlobals* globals = JToCPPVeneer::theAppGlobPtr;
  if (!globals) return -1;
  BOHandlerCPP* handler = globals->getBOHandlerforBO(name_.data());
  if (!handler) return -1;
  ReturnStatusDescriptor status;
  return handler->doVerbFor(*this, &status);
}

void BusinessObject::dumpInto(std::string& out, int depth) {
  std::string pad(static_cast<size_t>(depth) * 2, ' ');
  out += pad + name_ + " (verb " + verb_ + ")\n";
  for (int i = 0; i < getAttrCount(); ++i) {
    Slot& s = slots_[static_cast<size_t>(i)];
    const char* name = getAttrName(i);
    out += pad + "  " + (name ? name : "?") + " = ";
    switch (s.kind) {
      case Slot::IGNORE: out += "KlIgnore\n"; break;
      case Slot::BLANK: out += "KlBlank\n"; break;
      case Slot::TEXT: out += s.text + "\n"; break;
      case Slot::CHILD:
        out += "\n";
        s.child->dumpInto(out, depth + 2);
        break;
      case Slot::CONTAINER:
        out += "[" + std::to_string(s.container->getObjectCount()) + "]\n";
        for (int k = 0; k < s.container->getObjectCount(); ++k)
          s.container->getObject(k)->dumpInto(out, depth + 2);
        break;
    }
  }
}

int BusinessObject::dump(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  std::string out;
  dumpInto(out, 0);
  size_t n = out.size() < static_cast<size_t>(size) - 1 ? out.size() : static_cast<size_t>(size) - 1;
  memcpy(buffer, out.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}
