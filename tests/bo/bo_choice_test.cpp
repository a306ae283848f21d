// Choices and choice lists: both constructors, indexed access, rank
// look-up, Release by show id and holder, the message and archive forms
// with nested lists, and archive objects.
#include "bo_choice_fixture.h"
#include "bo_compnt_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

TEST(Choice, TableAndListConstructorsFillTheirFields) {
  KZString title("Open"), description("an open case"), state("new");
  KDdChoice table(4, 100, title, 7, 3, description, 1);
  EXPECT_EQ(table.GetChoiceListIndex(), 4);
  EXPECT_EQ(table.GetId(), 100);
  EXPECT_STREQ(table.GetTitle(), "Open");
  EXPECT_EQ(table.GetRank(), 7);
  EXPECT_EQ(table.GetState(), 3);
  KZString text("x");
  table.GetState(text);
  EXPECT_STREQ(text, "");
  EXPECT_STREQ(table.GetDescription(), "an open case");
  EXPECT_EQ(table.IsInactive(), 1);
  EXPECT_EQ(table.GetChoiceList(), nullptr);
  EXPECT_EQ(table.GetChildChoiceList(), nullptr);

  KDdChoiceList owner(1, "Owner", 3);
  KDdChoice listed(&owner, 200, title, -2, state, description, 0);
  EXPECT_EQ(listed.GetChoiceListIndex(), 0);
  EXPECT_EQ(listed.GetState(), 0);
  listed.GetState(text);
  EXPECT_STREQ(text, "new");
  EXPECT_EQ(listed.GetRank(), -2);
  EXPECT_EQ(listed.IsInactive(), 0);
  EXPECT_EQ(listed.GetChoiceList(), static_cast<IDdChoiceList*>(&owner));
}

TEST(ChoiceList, IndexedAccessAndDefaultAreNullOutsideTheList) {
  KDdChoiceList empty(1, "Empty", 7);
  EXPECT_EQ(empty.GetCount(), 0);
  EXPECT_EQ(empty.GetDefault(), nullptr);
  EXPECT_EQ(empty.GetChoice(0), nullptr);

  KDdChoiceList* list = SampleList();
  const struct {
    long index;
    const char* title;
  } cases[] = {{0, "High"}, {1, "Medium"}, {2, "Low"}, {3, "<null>"}, {-1, "<null>"}, {-2147483647L, "<null>"}};
  for (const auto& c : cases) EXPECT_EQ(TitleOf(list->GetChoice(c.index)), c.title) << c.index;
  EXPECT_EQ(TitleOf(list->GetDefault()), "Medium");
  for (long index : {3L, -1L, 100L}) {
    list->SetDefaultIndex(index);
    EXPECT_EQ(list->GetDefault(), nullptr) << index;
  }
  EXPECT_EQ(list->AddChoice(ListChoice(6, "Extra", 0)), 3);
  list->SetDefaultIndex(3);
  EXPECT_EQ(TitleOf(list->GetDefault()), "Extra");
  delete list;
}

TEST(ChoiceList, ChoiceByRankTakesTheFirstInListOrder) {
  KDdChoiceList empty(1, "Empty", 7);
  EXPECT_EQ(empty.GetChoiceByRank(0), nullptr);
  KDdChoiceList* list = SampleList(); // ranks 5, 3, 3
  EXPECT_EQ(TitleOf(list->GetChoiceByRank(3)), "Medium");
  EXPECT_EQ(TitleOf(list->GetChoiceByRank(5)), "High");
  EXPECT_EQ(list->GetChoiceByRank(4), nullptr);
  delete list;
}

// A show-id-0 list that nobody holds is deleted by Release; a list with a
// show id, a list a component or a choice holds, is not.
TEST(ChoiceList, ReleaseByShowIdAndHolder) {
  CountedList::destroyed = 0;
  (new CountedList(1, "View", 0))->Release();
  EXPECT_EQ(CountedList::destroyed, 1);

  auto* shown = new CountedList(2, "Shown", 7);
  shown->Release();
  EXPECT_EQ(CountedList::destroyed, 1);
  delete shown;
  EXPECT_EQ(CountedList::destroyed, 2);

  auto* held = new CountedList(3, "Held", 0);
  held->MarkHeld();
  held->Release();
  EXPECT_EQ(CountedList::destroyed, 2);
  delete held;

  KZString t("c"), d("");
  KDdChoice choice(0, 1, t, 0, 0, d, 0);
  auto* child = new CountedList(4, "Child", 0);
  choice.SetChildChoiceList(child);
  choice.GetChildChoiceList()->Release();
  EXPECT_EQ(CountedList::destroyed, 3); // only the one held above
}

// A list with show id 0 deletes no choice it was given; one that read its
// choices in deletes them (the sanitizers see a leak or a double free).
TEST(ChoiceList, ViewListsDeleteNoChoice) {
  KDdChoice* a = ListChoice(1, "A", 0);
  {
    KDdChoiceList view(0, "", 0);
    view.AddChoice(a);
  }
  EXPECT_STREQ(a->GetTitle(), "A");
  delete a;

  KDdChoiceList* source = SampleList("Source", 0);
  KHostMsg msg;
  source->Write(msg);
  KHostMsg in = Reread(msg);
  KDdChoiceList read(in);
  EXPECT_EQ(read.GetShowId(), 0);
  EXPECT_EQ(read.OwnsChoices(), 1);
  delete source;
}

void ExpectOwnersAreTheirLists(KDdChoiceList& list) {
  for (long i = 0; i < list.GetCount(); ++i) {
    IDdChoice* c = list.GetChoice(i);
    EXPECT_EQ(c->GetChoiceList(), static_cast<IDdChoiceList*>(&list)) << TitleOf(c);
    if (c->GetChildChoiceList()) ExpectOwnersAreTheirLists(*static_cast<KDdChoiceList*>(c->GetChildChoiceList()));
  }
}

TEST(ChoiceList, RoundTripsThroughMessageAndArchiveWithNestedLists) {
  KDdChoiceList* sent = SampleList();
  KHostMsg msg;
  sent->Write(msg);
  KHostMsg in = Reread(msg);
  KDdChoiceList viaMsg(in);
  EXPECT_EQ(in.ReadPosition(), in.Bytes().size());
  EXPECT_EQ(viaMsg == *sent, 1);
  ExpectOwnersAreTheirLists(viaMsg);
  IDdChoiceList* child = viaMsg.GetChoice(1)->GetChildChoiceList();
  ASSERT_NE(child, nullptr);
  ASSERT_NE(child->GetChoice(0)->GetChildChoiceList(), nullptr);
  EXPECT_EQ(TitleOf(child->GetChoice(0)->GetChildChoiceList()->GetChoice(0)), "Leaf");

  std::string bytes = StoreArchive([&](KArchive& ar) { sent->Serialize(ar); });
  KDdChoiceList viaArchive;
  LoadArchive(bytes, [&](KArchive& ar) { viaArchive.Serialize(ar); });
  EXPECT_EQ(viaArchive == *sent, 1);
  ExpectOwnersAreTheirLists(viaArchive);

  // Equality looks at every level.
  KZString t("Leaf2"), s("leaf"), d("Leaf choice");
  auto* other = static_cast<KDdChoiceList*>(viaArchive.GetChoice(1)->GetChildChoiceList()->GetChoice(0)->GetChildChoiceList());
  other->AddChoice(new KDdChoice(other, 9, t, 0, s, d, 0));
  EXPECT_EQ(viaArchive == *sent, 0);
  delete sent;
}

// The choice's fields by hand, its marker, then a list record of one
// choice and a word that follows the choice.
void WriteChoiceByHand(KMsg& msg, long marker) {
  msg.WriteLong(0);
  msg.WriteLong(42);
  msg.WriteString("Title");
  msg.WriteLong(1);
  msg.WriteLong(2);
  msg.WriteString("st");
  msg.WriteString("desc");
  msg.WriteLong(0);
  msg.WriteLong(marker);
  if (marker == 0) return;
  msg.WriteString("Child");
  msg.WriteLong(8);
  msg.WriteLong(0);
  msg.WriteLong(0);
  msg.WriteLong(1);
  msg.WriteLong(0);
  msg.WriteLong(43);
  msg.WriteString("Inner");
  msg.WriteLong(0);
  msg.WriteLong(0);
  msg.WriteString("");
  msg.WriteString("");
  msg.WriteLong(1);
  msg.WriteLong(0);
}

std::string ChoiceBytesByHand(uint32_t marker) {
  std::string s = Word(0) + Word(42) + ArString("Title") + Word(1) + Word(2) + ArString("st") + ArString("desc") +
                  Word(0) + Word(marker);
  if (marker == 0) return s;
  return s + ArString("Child") + Word(8) + Word(0) + Word(0) + Word(1) + Word(0) + Word(43) + ArString("Inner") +
         Word(0) + Word(0) + ArString("") + ArString("") + Word(1) + Word(0);
}

TEST(Choice, AnyNonZeroChildMarkerReadsAListFromAMessageAndAnArchive) {
  constexpr long kAfter = 777;
  for (long marker : {0L, 1L, 2L, -1L}) {
    SCOPED_TRACE(marker);
    KHostMsg msg;
    WriteChoiceByHand(msg, marker);
    msg.WriteLong(kAfter);
    KHostMsg in = Reread(msg);
    KDdChoice viaMsg(in);
    long after = 0;
    in.ReadLong(after);
    EXPECT_EQ(after, kAfter);

    KDdChoice viaArchive;
    long afterArchive = 0;
    LoadArchive(ChoiceBytesByHand(uint32_t(marker)) + Word(kAfter), [&](KArchive& ar) {
      viaArchive.Serialize(ar);
      afterArchive = int32_t(ar.Get32());
    });
    EXPECT_EQ(afterArchive, kAfter);

    for (KDdChoice* c : {&viaMsg, &viaArchive}) {
      EXPECT_EQ(c->GetId(), 42);
      EXPECT_EQ(c->GetChoiceList(), nullptr);
      IDdChoiceList* child = c->GetChildChoiceList();
      ASSERT_EQ(child != nullptr, marker != 0);
      if (!child) continue;
      EXPECT_STREQ(child->GetName(), "Child");
      EXPECT_EQ(child->GetId(), 8);
      EXPECT_EQ(child->GetShowId(), 0);
      ASSERT_EQ(child->GetCount(), 1);
      EXPECT_EQ(child->GetChoice(0)->GetId(), 43);
      EXPECT_EQ(child->GetChoice(0)->IsInactive(), 1);
      EXPECT_EQ(child->GetChoice(0)->GetChoiceList(), child);
    }
    // Written again, the marker is 1 or 0.
    KHostMsg again;
    viaMsg.Write(again);
    KHostMsg expected;
    WriteChoiceByHand(expected, marker == 0 ? 0 : 1);
    EXPECT_EQ(again.Bytes(), expected.Bytes());
    EXPECT_EQ(StoreArchive([&](KArchive& ar) { viaArchive.Serialize(ar); }),
              ChoiceBytesByHand(marker == 0 ? 0 : 1));
  }
}

TEST(Choice, ReadingAgainReplacesTheChildAndForgetsTheOwner) {
  KDdChoiceList owner(1, "Owner", 3);
  KZString t("t"), s(""), d("");
  KDdChoice choice(&owner, 1, t, 0, s, d, 0);
  choice.SetChildChoiceList(SampleList("Old child", 0));
  KHostMsg msg;
  WriteChoiceByHand(msg, 0);
  KHostMsg in = Reread(msg);
  choice.Read(in);
  EXPECT_EQ(choice.GetChildChoiceList(), nullptr);
  EXPECT_EQ(choice.GetChoiceList(), nullptr);
}

TEST(ChoiceList, CountsOfZeroOrLessReadNoChoice) {
  for (long count : {0L, -1L, -2147483647L - 1}) {
    KHostMsg msg;
    msg.WriteString("L");
    msg.WriteLong(1);
    msg.WriteLong(2);
    msg.WriteLong(0);
    msg.WriteLong(count);
    KHostMsg in = Reread(msg);
    KDdChoiceList list(in);
    EXPECT_EQ(list.GetCount(), 0) << count;
    KDdChoiceList loaded;
    LoadArchive(ArString("L") + Word(1) + Word(2) + Word(0) + Word(uint32_t(count)),
                [&](KArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetCount(), 0) << count;
  }
}

TEST(ChoiceList, AnEmptySlotIsRefusedOnWriting) {
  KDdChoiceList list(1, "Gappy", 0);
  list.AddChoice(nullptr);
  KHostMsg msg;
  kctest::Thrown t = kctest::catchKErr([&] { list.Write(msg); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KDdChoiceList::Write");
}

// The class records are checked with the other dictionary records.
TEST(ChoiceRecords, TravelAsArchiveObjects) {
  KDdChoiceList* list = SampleList();
  KDdChoice* first = static_cast<KDdChoice*>(list->GetChoice(1));
  std::string bytes = StoreArchive([&](KArchive& ar) { ar << first << list; });
  KDdChoice* choice = nullptr;
  KDdChoiceList* back = nullptr;
  LoadArchive(bytes, [&](KArchive& ar) { ar >> choice >> back; });
  ASSERT_TRUE(choice && back);
  EXPECT_EQ(*choice == *first, 1);
  EXPECT_EQ(*back == *list, 1);
  delete choice;
  delete back;
  delete list;
}

} // namespace
