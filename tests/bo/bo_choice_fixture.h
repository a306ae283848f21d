// Helpers of the choice tests: archive bytes in memory (through a temporary
// file), sample choices, lists and tables, and lists and tables that count
// their destruction.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bo/bo_choice.h"
#include "bo/bo_choicetbl.h"
#include "bohost_msg.h"

namespace botest {

// The bytes of a storing archive after store ran on it.
std::string StoreArchive(const std::function<void(KCLASSIC::KArchive&)>& store);
// Runs load on a loading archive over bytes.
void LoadArchive(const std::string& bytes, const std::function<void(KCLASSIC::KArchive&)>& load);
// A message to read from, holding the bytes another message wrote.
KCLASSIC::KHostMsg Reread(const KCLASSIC::KHostMsg& written);

KCLASSIC::KDdChoice* ListChoice(long id, const char* title, long rank, const char* state = "open");
KCLASSIC::KDdChoice* TableChoice(long group, long id, const char* title, int inactive = 0);

// A user list (id 11) of three choices of ranks 5, 3, 3; the second holds a
// nested list (show id 0) whose only choice holds a third level. The list
// owns its choices whatever its show id.
KCLASSIC::KDdChoiceList* SampleList(const char* name = "Priority", long showId = 7);

// Table "Status" (detail name "StatusDetail" unless given), a pool of six
// choices, table default 2:
//   0 Open 100, 1 Pending 101 (inactive), 2 Closed 102      group "Case" 0..2, default 1
//   3 Low 200, 4 High 201 (inactive), 5 Mid 202             group "Prio" 3..5, default 5
//   group "Empty" first 6, count 0, default 0
void FillSampleTable(KCLASSIC::KDdChoiceTable& table);
KCLASSIC::KDdChoiceTable* SampleTable(const char* name = "Status", const char* detail = "StatusDetail");

// Titles of a list's choices in order ("<null>" for an empty slot).
std::vector<std::string> Titles(KCLASSIC::IDdChoiceList* list);
std::string TitleOf(KCLASSIC::IDdChoice* choice);

// A list and a table that count their destructions (reset by each test).
class CountedList : public KCLASSIC::KDdChoiceList {
 public:
  using KDdChoiceList::KDdChoiceList;
  ~CountedList() override { ++destroyed; }
  static int destroyed;
};

class CountedTable : public KCLASSIC::KDdChoiceTable {
 public:
  using KDdChoiceTable::KDdChoiceTable;
  ~CountedTable() override { ++destroyed; }
  static int destroyed;
};

} // namespace botest
