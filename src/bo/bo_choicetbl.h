// Choice tables: several named groups over one ordered pool of choices.
// Each group is a contiguous slice of the pool with its own default; a
// caller asks for a group's list and gets a fresh KDdChoiceList (show id 0,
// released with Release) holding the group's active choices and, when the
// caller names it, the one inactive choice currently in use. The table owns
// its choices. A table read from a message or an archive is checked
// against its pool before it is used.
#pragma once

#include <cstdint>

#include "bo/bo_choice.h"
#include "kclassic/kc_map.h"

namespace KCLASSIC {

// Choice id missing from a table.
inline constexpr long KERR_DD_CHOICE_NOT_FOUND = 0x8B0019E;
// Group missing from a table.
inline constexpr long KERR_DD_CHOICE_GROUP_NOT_FOUND = 0x8B001A0;
// The current id that names no inactive choice.
inline constexpr long BO_NO_CURRENT_CHOICE = -1;

class ORB_API IDdChoiceTable {
 public:
  // Throws KERR_DD_CHOICE_NOT_FOUND for an id the table lacks.
  virtual IDdChoice* FindChoice(long id) = 0;
  // A new list of the group (the empty name for a table without groups).
  virtual IDdChoiceList* GetChoiceList(KZString& group, long currentId) = 0;
  // The name of the choice's group; 0x8B000C9 when the choice's group
  // index is not one of the table's.
  virtual KZString& GetChoiceListName(IDdChoice* choice) = 0;
  virtual IDdChoice* GetDefaultChoice(KZString& group) = 0;
  virtual KZString& GetName() = 0;

 protected:
  ~IDdChoiceTable() = default;
};

class ORB_API KDdChoiceTable : public KObject, public IDdChoiceTable {
  KDECLARE_DYNCREATE(KDdChoiceTable)

 public:
  struct KGroupInfo {
    KZString m_strName;
    int32_t m_lFirst = 0;
    int32_t m_lCount = 0;
    // Absolute index in the pool.
    int32_t m_lDefault = 0;
  };

  KDdChoiceTable();
  KDdChoiceTable(const KZString& name, const KZString& detailName);
  explicit KDdChoiceTable(KMsg& msg);
  KDdChoiceTable(const KDdChoiceTable&) = delete;
  KDdChoiceTable& operator=(const KDdChoiceTable&) = delete;
  // Deletes the choices, the last first.
  ~KDdChoiceTable() override;

  // 1 when names, groups, choices, default and choice index are equal.
  int operator==(const KDdChoiceTable& other) const;

  // Building. The table takes the choice over; a later choice with the
  // same id takes the id over. The new index.
  long AddChoice(KDdChoice* choice);
  void SetDefaultIndex(long index);
  // A later group of the same name takes the name over.
  void AddGroup(KZString& name, long first, long count, long defaultIndex);
  // Null outside the pool.
  KDdChoice* GetChoice(long index) const;

  IDdChoice* FindChoice(long id) override;
  IDdChoiceList* GetChoiceList(KZString& group, long currentId) override;
  KZString& GetChoiceListName(IDdChoice* choice) override;
  IDdChoice* GetDefaultChoice(KZString& group) override;
  KZString& GetName() override { return m_strName; }
  const KZString& GetDetailName() const { return m_strDetailName; }
  long GetChoiceCount() const { return m_listChoices.GetCount(); }
  long GetDefaultIndex() const { return m_listChoices.GetDefaultIndex(); }
  int GetGroupCount() const { return m_arrGroups.GetSize(); }

  void Write(KMsg& msg);
  // Throws 0x8B000C9 for a group or a default that does not fit the pool.
  void Read(KMsg& msg);
  // Loading throws 0x8B000C9 also for a choice-index entry outside the pool.
  void Serialize(KArchive& ar) override;

 private:
  // The group of that name (case-sensitive), after the argument check of
  // method; throws as GetChoiceList and GetDefaultChoice do.
  const KGroupInfo* SelectGroup(const KZString& group, const char* method) const;
  void AppendGroup(const KGroupInfo& group);
  void StoreGroups(KArchive& ar) const;
  void LoadGroups(KArchive& ar);
  void StoreChoiceIndex(KArchive& ar) const;
  void LoadChoiceIndex(KArchive& ar);
  // Throws 0x8B000C9 from method unless every group, the defaults and the
  // choice index fit the pool.
  void CheckAgainstPool(const char* method) const;
  void DeleteChoices();

  KZString m_strName;
  KZString m_strDetailName;
  KArray<KGroupInfo, KGroupInfo&> m_arrGroups;
  KMap<KZString, const char*, long, long> m_mapGroupIndex{10};
  KDdChoiceList m_listChoices{0, KZString(), 0};
  KMap<long, long, long, long> m_mapChoiceIndex{10};
};

ORB_API KArchive& operator>>(KArchive& ar, KDdChoiceTable*& table);

} // namespace KCLASSIC
