// KObject, the root of the serialisable classes, and KRuntimeClass, the
// static record that describes each such class.
#pragma once

#include <cstdint>

#include "orb_api.h"

namespace KCLASSIC {

class KArchive;
class KObject;

// Schema number of a class that cannot be written through object tags.
inline constexpr unsigned KSCHEMA_NONE = 0xFFFF;

struct ORB_API KRuntimeClass {
  const char* m_lpszClassName;
  unsigned m_nObjectSize;
  unsigned m_wSchema;
  KObject* (*m_pfnCreateObject)();
  KRuntimeClass* m_pBaseClass;
  KRuntimeClass* m_pNextClass; // always null: classes are not listed

  // 1 when base is this record or one of its bases.
  int IsDerivedFrom(const KRuntimeClass* base) const;
  // A new instance from the factory; null (with a message on standard
  // output) without a factory or when the factory throws.
  KObject* CreateObject();

  // The record in an archive: schema and name length (16 bits each) and
  // the name's bytes.
  void Store(KArchive& ar) const;
  // Reads a stored record (its schema into *schema) and finds the class
  // registered under its name; null (with a warning on standard output)
  // for an unknown or malformed name.
  static KRuntimeClass* Load(KArchive& ar, unsigned* schema);
  // The class registered under name; null when none.
  static KRuntimeClass* FromName(const char* name);
};

// Class registration at load: its constructor hands the record to
// KAfxClassInit, which registers the class by name for archive loading.
ORB_API void KAfxClassInit(KRuntimeClass* cls);
struct ORB_API KAFX_CLASSINIT {
  explicit KAFX_CLASSINIT(KRuntimeClass* cls) { KAfxClassInit(cls); }
};

class ORB_API KObject {
 public:
  static KRuntimeClass* GetThisClass();

  virtual KRuntimeClass* GetRuntimeClass() const;
  virtual ~KObject() = default;
  virtual void Serialize(KArchive& ar);

  int IsKindOf(const KRuntimeClass* cls) const;
  int IsSerializable() const;

 protected:
  KObject() = default;
  KObject(const KObject&) = default;
  KObject& operator=(const KObject&) = default;
};

// The class record of a class. Records are reached through a function (not
// exported as data); each is made on first use, so it serves static
// initialisers too.
#define KRUNTIME_CLASS(cls) (cls::GetThisClass())

// In a class body: the class record and its GetRuntimeClass.
#define KDECLARE_DYNAMIC(cls)                        \
 public:                                             \
  static KCLASSIC::KRuntimeClass* GetThisClass();    \
  KCLASSIC::KRuntimeClass* GetRuntimeClass() const override;

// The same with a factory (a new default instance).
#define KDECLARE_DYNCREATE(cls) \
  KDECLARE_DYNAMIC(cls)         \
  static KCLASSIC::KObject* CreateObject();

// In one source file: the class record (schema, factory or nullptr) and its
// registration object.
#define KIMPLEMENT_RUNTIMECLASS(cls, base, schema, factory)                                        \
  KCLASSIC::KRuntimeClass* cls::GetThisClass() {                                                  \
    static KCLASSIC::KRuntimeClass record = {#cls, unsigned(sizeof(cls)), schema, factory,       \
                                             KRUNTIME_CLASS(base), nullptr};                      \
    return &record;                                                                               \
  }                                                                                               \
  KCLASSIC::KRuntimeClass* cls::GetRuntimeClass() const { return GetThisClass(); }               \
  static const KCLASSIC::KAFX_CLASSINIT kafx_init_##cls(KRUNTIME_CLASS(cls));

#define KIMPLEMENT_DYNAMIC(cls, base) KIMPLEMENT_RUNTIMECLASS(cls, base, KCLASSIC::KSCHEMA_NONE, nullptr)

} // namespace KCLASSIC
