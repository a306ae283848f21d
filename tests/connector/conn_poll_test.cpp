// Event polling: batches in priority order, the filling rules, delivery,
// deletion and archive statuses, and the rows other connectors touch.
#include <algorithm>

#include "conn_poll_fixture.h"
#include "connector/conn_msg.h"
#include "connector/conn_util.h"

namespace {

bool has_line(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& l : lines)
    if (l.rfind(prefix, 0) == 0) return true;
  return false;
}

std::string eid(long number) { return "Orbisan_" + std::to_string(number); }

TEST_F(conn_poll_test, no_ready_rows_change_nothing) {
  long taken = event("Case:CaseId=C-1", "Update", 1, "1");
  EXPECT_EQ(poll(), 0);
  EXPECT_TRUE(log->delivered.empty());
  EXPECT_TRUE(cpi_double::exists(taken));
  EXPECT_EQ(cpi_double::commits(), 0);
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

TEST_F(conn_poll_test, an_empty_batch_that_cannot_be_let_go_answers_minus_one) {
  for (const char* function : {"cpi_qry_free_results", "cpi_state_rollback"}) {
    SCOPED_TRACE(function);
    cpi_double::fail(function, 0x2c00008);
    testing::internal::CaptureStderr();
    EXPECT_EQ(poll(), -1);
    testing::internal::GetCapturedStderr();
    EXPECT_NE(file_text(dir / "orbisan.err").find(std::string("Injected failure 0x2c00008 of ") + function),
              std::string::npos);
  }
}

TEST_F(conn_poll_test, a_batch_takes_the_first_rows_by_priority_then_objid) {
  struct batch_case {
    const char* poll_quantity;
    const char* max_events;
    size_t handled;
  };
  const batch_case cases[] = {{"5", "", 5}, {"", "3", 3}, {"-3", "10", 12}, {"", "", 12}};
  for (const batch_case& c : cases) {
    SCOPED_TRACE(std::string(c.poll_quantity) + "/" + c.max_events);
    ASSERT_EQ(fresh_world({{"PollQuantity", c.poll_quantity}, {"MaxEvents", c.max_events}}), 0);
    stored_case("C-1", "Leak");
    std::vector<long> events;
    const long priorities[12] = {3, 1, 2, 1, 3, 2, 1, 2, 3, 1, 2, 3};
    for (long p : priorities) events.push_back(event("Case:CaseId=C-1", "Update", p));
    std::vector<long> expected = events;
    std::stable_sort(expected.begin(), expected.end(), [&](long a, long b) {
      return cpi_double::field(a, "event_priority") < cpi_double::field(b, "event_priority");
    });
    expected.resize(c.handled);
    EXPECT_EQ(poll(), 0);
    std::vector<std::string> want;
    for (long e : expected) want.push_back(eid(e));
    EXPECT_EQ(delivered_ids(), want);
    for (long e : events) {
      bool handled = std::find(expected.begin(), expected.end(), e) != expected.end();
      EXPECT_EQ(cpi_double::exists(e), !handled);
      if (!handled) {
        EXPECT_EQ(cpi_double::field(e, "event_status"), "0");
      }
    }
    EXPECT_EQ(log->delivered[0].title, "Leak");
    EXPECT_EQ(log->delivered[0].verb, "Update");
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_poll_test, archive_statuses) {
  ASSERT_EQ(fresh_world({{"ArchiveTableName", "orbisan_archive"}}), 0);
  stored_case("C-1", "Leak");
  log->unsubscribed = {"Orbisan_Case/Create"};
  long ok = event("Case:CaseId=C-1", "Update", 1);
  long skipped = event("Case:CaseId=C-1", "Create", 2);
  long error = event("Case:CaseId=C-404", "Update", 3);  // nothing to retrieve
  long missing = event("Case:CaseId=C-1", "Update", 4);  // no archive row
  long a_ok = archive_row(ok), a_skipped = archive_row(skipped), a_error = archive_row(error);
  EXPECT_EQ(poll(), -1);  // the last event's archive row is missing
  EXPECT_EQ(cpi_double::field(a_ok, "event_status"), "Success");
  EXPECT_EQ(cpi_double::field(a_skipped, "event_status"), "Skipped");
  EXPECT_EQ(cpi_double::field(a_error, "event_status"), "Error");
  EXPECT_EQ(delivered_ids(), (std::vector<std::string>{eid(ok), eid(missing)}));
  for (long e : {ok, skipped, error, missing}) EXPECT_FALSE(cpi_double::exists(e));
  EXPECT_TRUE(has_line(logs(), "2 22003: orbisan_archive"));
  EXPECT_TRUE(has_line(logs(), "2 22115: Case:CaseId=C-404"));
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_poll_test, archive_failures_set_the_result_and_go_on) {
  struct archive_case {
    const char* function;
    int nth;  // of that function's calls within the poll
    const char* message;
  };
  // Per event the archive step is the only one that sets a field and
  // updates; commits: the deletion, then the archive.
  const archive_case cases[] = {{"cpi_obj_set_field", 1, "2 22004: orbisan_archive"},
                                {"cpi_obj_update", 1, "2 22005: orbisan_archive"},
                                {"cpi_state_commit", 2, "2 22006: orbisan_archive"}};
  for (const archive_case& c : cases) {
    SCOPED_TRACE(c.function);
    ASSERT_EQ(fresh_world({{"ArchiveTableName", "orbisan_archive"}}), 0);
    stored_case("C-1", "Leak");
    long first = event("Case:CaseId=C-1", "Update", 1);
    long second = event("Case:CaseId=C-1", "Update", 2);
    long a1 = archive_row(first);
    long a2 = archive_row(second);
    cpi_double::fail(c.function, 0x2c00018, c.nth);
    EXPECT_EQ(poll(), 0);  // the second event's success resets the result
    EXPECT_TRUE(has_line(logs(), c.message));
    EXPECT_EQ(cpi_double::field(a1, "event_status"), "");
    EXPECT_EQ(cpi_double::field(a2, "event_status"), "Success");
    EXPECT_EQ(log->delivered.size(), 2u);
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_poll_test, a_later_success_resets_the_result) {
  stored_case("C-1", "Leak");
  long bad = event("Case:CaseId=C-404", "Update", 1);
  long good = event("Case:CaseId=C-1", "Update", 2);
  EXPECT_EQ(poll(), 0);
  EXPECT_EQ(delivered_ids(), std::vector<std::string>{eid(good)});
  EXPECT_FALSE(cpi_double::exists(bad));
  // Alone, the failure is the poll's answer.
  event("Case:CaseId=C-405", "Update", 1);
  EXPECT_EQ(poll(), -1);
}

TEST_F(conn_poll_test, physical_delete_is_delivered_as_delete_without_retrieve) {
  long e = event("Case:CaseId=C-9:Title=gone", "Physical Delete", 1);
  EXPECT_EQ(poll(), 0);
  ASSERT_EQ(log->delivered.size(), 1u);
  EXPECT_EQ(log->delivered[0].verb, "Delete");
  EXPECT_EQ(log->delivered[0].case_id, "C-9");
  EXPECT_EQ(log->delivered[0].title, "gone");
  EXPECT_EQ(log->delivered[0].event_id, eid(e));
  EXPECT_EQ(log->asked, (std::vector<std::string>{"Orbisan_Case/Delete", "Orbisan_Case/Delete"}));
  for (const std::string& q : cpi_double::calls_of("cpi_qry_traverse_map"))
    EXPECT_EQ(q.find(";case "), std::string::npos) << q;
}

TEST_F(conn_poll_test, filling_rules) {
  conn_define("Orbisan_Address", "",
              {{"AddressRoleType", "address:role"}, {"Tail", "x"}});
  conn_define("Orbisan_Site", "",
              {{"SiteID", "site:site_id", BOAttrType::KEY},
               {"Orbisan_Address", "", BOAttrType::MULTIPLE, "Orbisan_Address"},
               {"ObjectEventId", ""}});
  conn_define("Orbisan_Contact_Role", "", {{"Role", "x"}, {"Tail", "x"}});
  conn_define("Orbisan_Contact", "",
              {{"First", "contact:first_name"},
               {"Orbisan_Contact_Role", "", 0, "Orbisan_Contact_Role"},
               {"ObjectEventId", ""}});
  {
    BusinessObject site("Orbisan_Site");
    EXPECT_EQ(globals->HandleObjectSpecific("Site:Billing:Shipping", "S-7:extra", &site, "Update"), 0);
    EXPECT_EQ(text(site, "SiteID"), "S-7");
    auto* addresses = static_cast<BusObjContainer*>(site.getAttrValue("Orbisan_Address"));
    ASSERT_EQ(addresses->getObjectCount(), 2);
    EXPECT_EQ(text(*addresses->getObject(0), "AddressRoleType"), "Billing");
    EXPECT_EQ(text(*addresses->getObject(1), "AddressRoleType"), "Shipping");
  }
  struct contact_case {
    const char* retrieve_text;
    const char* verb;
    bool role;
  };
  const contact_case contacts[] = {{nullptr, "Update", true},
                                   {"retrieveall=false", "Update", false},
                                   {"RetrieveAll=False", "Create", true}};
  for (const contact_case& c : contacts) {
    SCOPED_TRACE(c.verb);
    BusObjSpec::find("Orbisan_Contact")->setVerbAppText("Retrieve", c.retrieve_text ? c.retrieve_text : "");
    BusinessObject contact("Orbisan_Contact");
    EXPECT_EQ(globals->HandleObjectSpecific("Contact:First=Ann", "", &contact, c.verb), 0);
    EXPECT_EQ(text(contact, "First"), "Ann");
    EXPECT_NE(BusinessObject::isIgnoreValue(contact.getAttrValue("Orbisan_Contact_Role")), c.role);
  }
  struct generic_case {
    const char* delimiter;
    const char* name;
    const char* case_id;
    const char* title;
    int result;
  };
  const generic_case generic[] = {
      {"", "Case:CaseId=5:Title=", "5", "", 0},
      {"", "Case:=x:CaseId=6", "6", "<ignore>", 0},
      {"|", "Case|CaseId=7|Title=a:b", "7", "a:b", 0},
      {"", "Case:Nope=1", "<ignore>", "<ignore>", -1},
  };
  for (const generic_case& g : generic) {
    SCOPED_TRACE(g.name);
    KlProperties::set("PollAttributeDelimiter", g.delimiter);
    BusinessObject bo("Orbisan_Case");
    EXPECT_EQ(globals->HandleObjectSpecific(g.name, "", &bo, "Update"), g.result);
    EXPECT_EQ(text(bo, "CaseId"), g.case_id);
    EXPECT_EQ(text(bo, "Title"), g.title);
  }
}

TEST_F(conn_poll_test, a_refused_delivery_keeps_the_row_for_the_next_start) {
  stored_case("C-1", "Leak");
  long first = event("Case:CaseId=C-1", "Update", 1);
  long second = event("Case:CaseId=C-1", "Update", 2);
  log->refuse_at = 1;
  EXPECT_EQ(poll(), 7);
  EXPECT_TRUE(has_line(logs(), "2 22046: Case:CaseId=C-1; ; Update; " + std::to_string(first)));
  EXPECT_EQ(cpi_double::field(first, "event_status"), "1");
  EXPECT_EQ(cpi_double::field(second, "event_status"), "0");  // not touched
  // The next poll goes on with the ready row; the refused one waits for the
  // next start, whose login puts it back.
  EXPECT_EQ(poll(), 0);
  EXPECT_EQ(delivered_ids(), std::vector<std::string>{eid(second)});
  EXPECT_TRUE(cpi_double::exists(first));
  globals->terminate();
  ASSERT_EQ(globals->init(nullptr), 0);
  EXPECT_EQ(cpi_double::field(first, "event_status"), "0");
  EXPECT_EQ(poll(), 0);
  EXPECT_EQ(delivered_ids(), (std::vector<std::string>{eid(second), eid(first)}));
  EXPECT_TRUE(cpi_double::rows("orbisan_events").empty());
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_poll_test, rows_left_in_progress_come_back_at_start_in_priority_order) {
  stored_case("C-1", "Leak");
  long late = event("Case:CaseId=C-1", "Update", 5, "1");
  long early = event("Case:CaseId=C-1", "Update", 1, "1");
  long ready = event("Case:CaseId=C-1", "Update", 3);
  globals->terminate();
  ASSERT_EQ(globals->init(nullptr), 0);
  EXPECT_EQ(poll(), 0);
  EXPECT_EQ(delivered_ids(), (std::vector<std::string>{eid(early), eid(ready), eid(late)}));
}

TEST_F(conn_poll_test, the_restart_count_ends_polling_until_reload) {
  ASSERT_EQ(fresh_world({{"RestartCount", "2"}}), 0);
  stored_case("C-1", "Leak");
  for (int p = 1; p <= 3; ++p) event("Case:CaseId=C-1", "Update", p);
  EXPECT_EQ(poll(), 0);  // the flag is read before the batch: all three go
  EXPECT_EQ(log->delivered.size(), 3u);
  EXPECT_TRUE(globals->restartWanted);
  event("Case:CaseId=C-1", "Update", 4);
  int queries = cpi_double::count_of("cpi_qry_traverse_map");
  EXPECT_EQ(poll(), -2);
  EXPECT_EQ(poll(), -2);
  EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), queries);
  EXPECT_NE(globals->connectionId, 0);
}

TEST_F(conn_poll_test, rows_changed_under_the_poll_are_passed_over) {
  struct under_case {
    const char* what;
    const char* before;  // the call of the first event before which the row changes
    int nth;             // of that function's calls within the poll
  };
  // Deleted or taken by another connector between the batch and the take,
  // or deleted between the take and the read of the taken row (the batch's
  // query is the first traverse, the event's read the second).
  const under_case cases[] = {{"deleted", "cpi_obj_take_field", 1},
                              {"taken", "cpi_obj_take_field", 1},
                              {"deleted", "cpi_qry_traverse_map", 2}};
  for (const under_case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " before " + c.before);
    ASSERT_EQ(fresh_world(), 0);
    stored_case("C-1", "Leak");
    long first = event("Case:CaseId=C-1", "Update", 1);
    long second = event("Case:CaseId=C-1", "Update", 2);
    std::string what = c.what;
    cpi_double::before(c.before, c.nth, [&, what] {
      if (what == "deleted")
        cpi_double::store_remove(first);
      else
        cpi_double::store_set(first, "event_status", "1");
    });
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(delivered_ids(), std::vector<std::string>{eid(second)});
    EXPECT_EQ(cpi_double::exists(first), what == "taken");
    EXPECT_TRUE(logs().empty());
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_poll_test, a_failed_take_ends_that_event) {
  struct take_case {
    long code;
    int alone;  // the poll's answer when the event is the only one
  };
  // A refused write: logged, the result -1, the next event goes on. A lost
  // connection ends the poll at once.
  const take_case cases[] = {{0x2c00018, -1}, {CONN_ALRT_CONNECTION_LOST, -2}};
  for (const take_case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(fresh_world(), 0);
    stored_case("C-1", "Leak");
    long first = event("Case:CaseId=C-1", "Update", 1);
    long second = event("Case:CaseId=C-1", "Update", 2);
    cpi_double::fail("cpi_obj_take_field", c.code);
    testing::internal::CaptureStdout();
    const int answer = poll();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(has_line(logs(), "2 22122: orbisan_events"));
    EXPECT_EQ(cpi_double::field(first, "event_status"), "0");
    if (c.alone == -2) {
      EXPECT_EQ(answer, -2);
      EXPECT_TRUE(log->delivered.empty());
      EXPECT_EQ(cpi_double::field(second, "event_status"), "0");
    } else {
      EXPECT_EQ(answer, 0);  // the second event's success resets the result
      EXPECT_EQ(delivered_ids(), std::vector<std::string>{eid(second)});
    }
    EXPECT_EQ(cpi_double::open_states(), 0);
    // Alone it is the poll's answer.
    ASSERT_EQ(fresh_world(), 0);
    stored_case("C-1", "Leak");
    event("Case:CaseId=C-1", "Update", 1);
    cpi_double::fail("cpi_obj_take_field", c.code);
    testing::internal::CaptureStdout();
    EXPECT_EQ(poll(), c.alone);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(log->delivered.empty());
    EXPECT_EQ(cpi_double::open_states(), 0);
  }
}

TEST_F(conn_poll_test, two_connectors_sharing_the_table_deliver_each_event_once) {
  struct meeting {
    const char* function;
    int nth;
  };
  // The other connector runs a whole poll of its own just before these calls
  // of this one's poll: after the batch was read, after a take, between a
  // read and the deletion's commit, before the second event's take.
  const meeting cases[] = {{"cpi_obj_take_field", 1},   {"cpi_state_create", 2},
                           {"cpi_qry_traverse_map", 2}, {"cpi_obj_delete", 1},
                           {"cpi_state_commit", 1},     {"cpi_obj_take_field", 2}};
  for (const meeting& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.nth));
    ASSERT_EQ(fresh_world(), 0);
    stored_case("C-1", "Leak");
    std::vector<std::string> written;
    for (long p = 1; p <= 3; ++p) written.push_back(eid(event("Case:CaseId=C-1", "Update", p)));
    // A second connector on the same event table (and, in this double, the
    // same session).
    auto* other = new OrbisanGlobals();
    other->connectionId = globals->connectionId;
    other->eventTableName = globals->eventTableName;
    int other_answer = 1;
    cpi_double::before(c.function, c.nth, [&] { other_answer = other->pollForEvents(); });
    EXPECT_EQ(poll(), 0);
    EXPECT_EQ(other_answer, 0);
    std::vector<std::string> got = delivered_ids();
    std::sort(got.begin(), got.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(got, written) << "each event delivered exactly once";
    EXPECT_TRUE(cpi_double::rows("orbisan_events").empty());
    EXPECT_TRUE(logs().empty());
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
    // The globals object lets go of the shared subscription handler.
    delete other;
    install_subscriber();
  }
}

}  // namespace
