#include "bo_choice_fixture.h"

#include "kclassic/kc_file.h"
#include "kclassic/kc_testdir.h"

using namespace KCLASSIC;

namespace botest {

int CountedList::destroyed = 0;
int CountedTable::destroyed = 0;

std::string StoreArchive(const std::function<void(KArchive&)>& store) {
  kctest::TempDir dir;
  std::string path = dir.file("archive.bin");
  {
    KFile file(path.c_str(), KFILE_CREATE | KFILE_WRITE | KFILE_BINARY);
    KArchive ar(&file, KArchive::store);
    store(ar);
    ar.Close();
  }
  return dir.read("archive.bin");
}

void LoadArchive(const std::string& bytes, const std::function<void(KArchive&)>& load) {
  kctest::TempDir dir;
  dir.write("archive.bin", bytes);
  KFile file(dir.file("archive.bin").c_str(), KFILE_BINARY);
  KArchive ar(&file, KArchive::load);
  load(ar);
}

KHostMsg Reread(const KHostMsg& written) { return KHostMsg(written.Bytes()); }

KDdChoice* ListChoice(long id, const char* title, long rank, const char* state) {
  KZString t(title), s(state), d(std::string(title).append(" choice").c_str());
  return new KDdChoice(nullptr, id, t, rank, s, d, 0);
}

KDdChoice* TableChoice(long group, long id, const char* title, int inactive) {
  KZString t(title), d("");
  return new KDdChoice(group, id, t, id % 7, id % 3, d, inactive);
}

KDdChoiceList* SampleList(const char* name, long showId) {
  auto* list = new KDdChoiceList(11, name, showId);
  list->SetDefaultIndex(1);
  list->AddChoice(ListChoice(1, "High", 5));
  KDdChoice* middle = ListChoice(2, "Medium", 3, "");
  auto* child = new KDdChoiceList(21, "Medium detail", 0);
  KDdChoice* inner = ListChoice(3, "Medium-high", 1);
  auto* grandchild = new KDdChoiceList(31, "Deepest", 4);
  grandchild->AddChoice(ListChoice(4, "Leaf", 0, "leaf"));
  inner->SetChildChoiceList(grandchild);
  child->AddChoice(inner);
  child->TakeChoices();
  middle->SetChildChoiceList(child);
  list->AddChoice(middle);
  list->AddChoice(ListChoice(5, "Low", 3));
  list->TakeChoices(); // its own choices, whatever its show id
  return list;
}

void FillSampleTable(KDdChoiceTable& table) {
  const struct {
    long group, id;
    const char* title;
    int inactive;
  } pool[] = {{0, 100, "Open", 0}, {0, 101, "Pending", 1}, {0, 102, "Closed", 0},
              {1, 200, "Low", 0},  {1, 201, "High", 1},    {1, 202, "Mid", 0}};
  for (const auto& c : pool) table.AddChoice(TableChoice(c.group, c.id, c.title, c.inactive));
  KZString caseGroup("Case"), prioGroup("Prio"), emptyGroup("Empty");
  table.AddGroup(caseGroup, 0, 3, 1);
  table.AddGroup(prioGroup, 3, 3, 5);
  table.AddGroup(emptyGroup, 6, 0, 0);
  table.SetDefaultIndex(2);
}

KDdChoiceTable* SampleTable(const char* name, const char* detail) {
  auto* table = new KDdChoiceTable(name, detail);
  FillSampleTable(*table);
  return table;
}

std::string TitleOf(IDdChoice* choice) {
  return choice ? static_cast<const char*>(choice->GetTitle()) : "<null>";
}

std::vector<std::string> Titles(IDdChoiceList* list) {
  std::vector<std::string> titles;
  for (long i = 0; i < list->GetCount(); ++i) titles.push_back(TitleOf(list->GetChoice(i)));
  return titles;
}

} // namespace botest
