// Choices of the CRM's pop-up lists: the record KDdChoice (an id, a title,
// a rank, a state, a description, an inactive flag and an optional nested
// list) and the list record KDdChoiceList (one named list of choices). Both
// travel over a KMsg and through an archive in one field order; a nested
// list follows its choice behind a presence marker, to any depth.
//
// Who deletes a list's choices: a list with a non-zero show id owns them;
// so does a list that read them in or that a component holds. A list that
// is a view over choices owned elsewhere (show id 0, built by a choice
// table) deletes none. Release deletes a show-id-0 list unless a component
// holds it.
#pragma once

#include <cstdint>

#include "bo/bo_msg.h"
#include "kclassic/kc_arch.h"
#include "kclassic/kc_array.h"
#include "kclassic/kc_obj.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class IDdChoiceList;
class KDdChoiceList;

class ORB_API IDdChoice {
 public:
  virtual long GetId() const = 0;
  virtual const KZString& GetTitle() const = 0;
  virtual long GetRank() const = 0;
  virtual long GetState() const = 0;
  virtual void GetState(KZString& stateText) const = 0;
  virtual const KZString& GetDescription() const = 0;
  virtual int IsInactive() const = 0;
  virtual long GetChoiceListIndex() const = 0;
  virtual IDdChoiceList* GetChoiceList() const = 0;
  virtual IDdChoiceList* GetChildChoiceList() const = 0;
  virtual ~IDdChoice() = default;
};

class ORB_API KDdChoice : public IDdChoice, public KObject {
  KDECLARE_DYNCREATE(KDdChoice)

 public:
  KDdChoice() = default;
  // A choice of a choice table; listIndex is its group's index.
  KDdChoice(long listIndex, long id, KZString& title, long rank, long state, KZString& description, int inactive);
  // A choice of a user list.
  KDdChoice(KDdChoiceList* owner, long id, KZString& title, long rank, KZString& stateText, KZString& description,
            int inactive);
  explicit KDdChoice(KMsg& msg);
  KDdChoice(const KDdChoice&) = delete;
  KDdChoice& operator=(const KDdChoice&) = delete;
  // Deletes the child list; the owning list is left alone.
  ~KDdChoice() override;

  // 1 when every field but the owning list is equal (texts
  // case-sensitive), child lists compared in depth.
  int operator==(const KDdChoice& other) const;

  long GetId() const override { return m_lId; }
  const KZString& GetTitle() const override { return m_strTitle; }
  long GetRank() const override { return m_lRank; }
  long GetState() const override { return m_lState; }
  void GetState(KZString& stateText) const override { stateText = m_strState; }
  const KZString& GetDescription() const override { return m_strDescription; }
  int IsInactive() const override { return m_bInactive; }
  long GetChoiceListIndex() const override { return m_lChoiceListIndex; }
  IDdChoiceList* GetChoiceList() const override;
  IDdChoiceList* GetChildChoiceList() const override;
  void SetChoiceList(KDdChoiceList* list) { m_pChoiceList = list; }
  // The child is then owned and held by the choice.
  void SetChildChoiceList(KDdChoiceList* list);

  void Write(KMsg& msg);
  // Both readers build a child list for any non-zero marker.
  void Read(KMsg& msg);
  void Serialize(KArchive& ar) override;

 private:
  void DropChild();

  int32_t m_lChoiceListIndex = 0;
  KDdChoiceList* m_pChoiceList = nullptr;
  KDdChoiceList* m_pChildList = nullptr;
  int32_t m_lId = 0;
  KZString m_strTitle;
  int32_t m_lRank = 0;
  int32_t m_lState = 0;
  KZString m_strState;
  KZString m_strDescription;
  int32_t m_bInactive = 0;
};

class ORB_API IDdChoiceList {
 public:
  virtual long GetCount() const = 0;
  // Null outside 0 .. count - 1.
  virtual IDdChoice* GetChoice(long index) const = 0;
  // The first choice in list order with that rank, or null.
  virtual IDdChoice* GetChoiceByRank(long rank) const = 0;
  // The choice at the default index, or null outside the list.
  virtual IDdChoice* GetDefault() const = 0;
  virtual void Release() = 0;
  virtual const KZString& GetName() const = 0;
  virtual long GetId() const = 0;
  virtual long GetShowId() const = 0;

 protected:
  ~IDdChoiceList() = default;
};

class ORB_API KDdChoiceList : public KObject, public IDdChoiceList {
  KDECLARE_DYNCREATE(KDdChoiceList)

 public:
  KDdChoiceList() = default;
  KDdChoiceList(long id, const KZString& name, long showId);
  explicit KDdChoiceList(KMsg& msg);
  KDdChoiceList(const KDdChoiceList&) = delete;
  KDdChoiceList& operator=(const KDdChoiceList&) = delete;
  // Deletes the choices it owns (see the file comment).
  ~KDdChoiceList() override;

  // 1 when name, numbers and choices are equal, choice by choice.
  int operator==(const KDdChoiceList& other) const;

  long GetCount() const override { return m_arrChoices.GetSize(); }
  IDdChoice* GetChoice(long index) const override;
  IDdChoice* GetChoiceByRank(long rank) const override;
  IDdChoice* GetDefault() const override { return GetChoice(m_lDefault); }
  // Deletes the list when its show id is 0 and no component holds it.
  void Release() override;
  const KZString& GetName() const override { return m_strName; }
  long GetId() const override { return m_lId; }
  long GetShowId() const override { return m_lShowId; }

  // Appends; the new index.
  long AddChoice(KDdChoice* choice);
  long GetDefaultIndex() const { return m_lDefault; }
  void SetDefaultIndex(long index) { m_lDefault = int32_t(index); }

  // Empties the list without deleting a choice.
  void DetachChoices() { m_arrChoices.RemoveAll(); }

  // Whoever keeps the list (a component, a choice's nested list, a
  // table's pool) marks it: Release then leaves it.
  void MarkHeld() { m_bHeld = 1; }
  int IsHeld() const { return m_bHeld; }
  // The list deletes its choices with it whatever its show id (a component
  // that takes a list over takes its choices too); not for a view.
  void TakeChoices();
  // The list is a view over choices owned elsewhere, whatever its show id
  // or how its choices came (a choice table's own pool); it is held.
  void MarkView();
  // 1 when the destructor deletes the choices.
  int OwnsChoices() const;

  void Write(KMsg& msg);
  void Read(KMsg& msg);
  void Serialize(KArchive& ar) override;

 private:
  enum Ownership : int32_t { eByShowId, eOwnsChoices, eViewOnly };

  // The choices as KDdChoice; throws 0x8B000C9 from method for an empty slot.
  KDdChoice& ChoiceToWrite(int index, const char* method) const;
  // Files a choice read in: owned by this list unless it is a view.
  void AdoptRead(KDdChoice* choice);
  void DeleteChoices();

  KArray<KDdChoice*, KDdChoice*> m_arrChoices;
  int32_t m_lDefault = 0;
  KZString m_strName;
  int32_t m_lId = 0;
  int32_t m_lShowId = 0;
  Ownership m_eOwnership = eByShowId;
  int32_t m_bHeld = 0;
};

ORB_API KArchive& operator>>(KArchive& ar, KDdChoice*& choice);
ORB_API KArchive& operator>>(KArchive& ar, KDdChoiceList*& list);

} // namespace KCLASSIC
