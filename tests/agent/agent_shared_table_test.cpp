// Four agents following one event table on the demo database while a writer
// keeps adding events as the CRM writes them: every event is delivered
// exactly once while no agent starts; one agent killed in the middle of a
// delivery and started again puts back what was in progress (its login),
// and only those events may come twice. The event table ends empty and
// every archive row reads "Success".
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "agent_demo.h"

using agent_test::DemoDatabase;
using nlohmann::json;

namespace {

constexpr int kAgents = 4;
constexpr int kVictim = 2;              // the agent killed and started again
constexpr const char* kPollMs = "100";  // every agent's PollFrequency
constexpr int kPipeBytes = 4096;        // the victim's output pipe: a few lines fill it
constexpr long kFirstEvents = 150;      // written while all four follow
constexpr long kChunk = 40;             // written until the victim is stuck
constexpr int kMaxChunks = 12;
constexpr long kLastEvents = 60;  // written after the victim is back
constexpr auto kWait = std::chrono::seconds(120);
constexpr auto kSettle = std::chrono::seconds(2);  // longer than any delivery under load

// One orbisan-agent process following the table; its standard output is
// read by a thread of the test, which can stop reading (the agent then
// blocks inside a delivery once the pipe is full).
class FollowingAgent {
 public:
  FollowingAgent(const DemoDatabase& db, const std::string& err_file) { start(db, err_file); }
  ~FollowingAgent() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    stop_reading_ = false;
    if (reader_.joinable()) reader_.join();
  }
  FollowingAgent(const FollowingAgent&) = delete;
  FollowingAgent& operator=(const FollowingAgent&) = delete;

  void pause_reading() { stop_reading_ = true; }
  // Sends the signal and waits for the process and the rest of its output;
  // the exit status, or 128 + the signal that ended it.
  int end(int signal) {
    kill(pid_, signal);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = 0;
    stop_reading_ = false;
    reader_.join();
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  }
  std::string output() {
    std::lock_guard<std::mutex> lock(mutex_);
    return out_;
  }

 private:
  void start(const DemoDatabase& db, const std::string& err_file) {
    int fds[2];
    // Close-on-exec: only this agent gets the write end (as its output).
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    fcntl(fds[0], F_SETPIPE_SZ, kPipeBytes);
    const std::string build = agent_test::build_dir();
    const std::string program = build + "/orbisan-agent";
    const std::string properties = db.properties(), objects = db.definitions();
    const std::string libs = "LD_LIBRARY_PATH=" + build + "/dataservice";
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
      int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (err < 0 || chdir(db.folder().c_str()) != 0) _exit(127);
      dup2(fds[1], STDOUT_FILENO);
      dup2(err, STDERR_FILENO);
      close(fds[0]);
      close(fds[1]);
      putenv(const_cast<char*>(libs.c_str()));
      execl(program.c_str(), program.c_str(), "--properties", properties.c_str(), "--objects", objects.c_str(),
            "poll", "--follow", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    reader_ = std::thread([this, fd = fds[0]] { read_all(fd); });
  }

  void read_all(int fd) {
    char buf[1024];
    for (;;) {
      if (stop_reading_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      ssize_t n = read(fd, buf, sizeof buf);
      if (n <= 0) break;
      std::lock_guard<std::mutex> lock(mutex_);
      out_.append(buf, static_cast<size_t>(n));
    }
    close(fd);
  }

  pid_t pid_ = 0;
  std::atomic<bool> stop_reading_{false};
  std::mutex mutex_;
  std::string out_;
  std::thread reader_;
};

// The CRM's side: one client session adding events (the event row and its
// archive row "Pending", committed together) as fast as it is told to.
class EventWriter {
 public:
  explicit EventWriter(const DemoDatabase& db) {
    std::string cmd = "mariadb --no-defaults --socket='" + db.folder() +
                      "/db/mysqld.sock' -uroot --batch --skip-column-names sa >/dev/null";
    // Close-on-exec: an agent started later must not hold the client's input
    // open, or the client never sees its end.
    client_ = popen(cmd.c_str(), "we");
    if (client_ == nullptr) throw std::runtime_error("cannot start the mariadb client");
  }
  ~EventWriter() { close(); }
  EventWriter(const EventWriter&) = delete;
  EventWriter& operator=(const EventWriter&) = delete;

  // Events next+1 .. next+count, a short pause after each one.
  void write(long count) {
    for (long i = 0; i < count; ++i) {
      long id = ++last_;
      long contact = id % 2 + 1;
      std::fprintf(client_,
                   "start transaction;\n"
                   "insert into table_orbisan_events values(%ld, 'Contact:ObjId=%ld', 'Update', '%ld', sysdate, "
                   "'0', 1);\n"
                   "insert into table_orbisan_archive values(%ld, %ld, 'Contact:ObjId=%ld', 'Update', '%ld', "
                   "'Pending');\ncommit;\n",
                   id, contact, contact, id, id, contact, contact);
      std::fflush(client_);
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  }
  long last() const { return last_; }
  // The client's exit status once every statement has run.
  int close() {
    if (client_ == nullptr) return 0;
    int raw = pclose(client_);
    client_ = nullptr;
    return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

 private:
  FILE* client_ = nullptr;
  long last_ = 0;
};

// The event numbers ("Orbisan_<n>") of the delivered objects.
std::vector<long> delivered(const std::string& out) {
  std::vector<long> ids;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    json o = json::parse(line);
    ids.push_back(std::stol(o["values"]["ObjectEventId"].get<std::string>().substr(8)));
  }
  return ids;
}

class AgentSharedTable : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(db_.start(&why)) << why;
    db_.set_property("PollFrequency", kPollMs);
  }

  long count(const std::string& where) {
    std::string n = db_.sql("select count(*) from table_orbisan_events" + where + ";");
    return n.empty() ? -1 : std::stol(n);
  }
  long archived() { return std::stol(db_.sql("select count(*) from table_orbisan_archive;")); }

  // Waits until every written event is in and none is ready; false on time-out.
  bool drained(long written) {
    auto until = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < until) {
      if (archived() == written && count(" where event_status = '0'") == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // Waits until the table is empty; false on time-out.
  bool emptied() {
    auto until = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < until) {
      if (count("") == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // Waits until the agent logging to that file has logged in; false on time-out.
  bool started(const std::string& name) {
    auto until = std::chrono::steady_clock::now() + kWait;
    while (std::chrono::steady_clock::now() < until) {
      if (db_.read(name).find("init returned 0") != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // The taken rows, read twice half a second apart: only those in both.
  std::set<long> taken() {
    std::set<long> both, once = taken_now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (long id : taken_now())
      if (once.count(id)) both.insert(id);
    return both;
  }
  // The taken rows once they stay the same for kSettle.
  std::set<long> settled_taken() {
    auto until = std::chrono::steady_clock::now() + kWait;
    std::set<long> before = taken_now();
    while (std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(kSettle);
      std::set<long> now = taken_now();
      if (now == before) break;
      before = now;
    }
    return before;
  }
  std::set<long> taken_now() {
    std::set<long> ids;
    std::istringstream rows(db_.sql("select objid from table_orbisan_events where event_status = '1';"));
    for (long id; rows >> id;) ids.insert(id);
    return ids;
  }
  static std::string log_name(int agent) { return "agent" + std::to_string(agent) + ".err"; }
  std::string log(int agent) const { return db_.read(log_name(agent)); }
  std::string path(const std::string& name) const { return db_.folder() + "/" + name; }

  DemoDatabase db_;
};

TEST_F(AgentSharedTable, FourAgentsDeliverEveryEventOnceAndARestartRepeatsOnlyWhatWasInProgress) {
  std::vector<std::unique_ptr<FollowingAgent>> agents;
  for (int a = 0; a < kAgents; ++a) agents.push_back(std::make_unique<FollowingAgent>(db_, path(log_name(a))));
  for (int a = 0; a < kAgents; ++a) ASSERT_TRUE(started(log_name(a))) << log(a);
  EventWriter writer(db_);

  // While no agent starts: each event exactly once.
  writer.write(kFirstEvents);
  ASSERT_TRUE(drained(writer.last())) << "events left: " << count("") << "\n" << log(0);
  ASSERT_TRUE(emptied()) << db_.sql("select objid, event_status from table_orbisan_events;");
  std::map<long, int> first;
  std::map<long, std::string> by;  // which agents delivered each event
  for (int a = 0; a < kAgents; ++a)
    for (long id : delivered(agents[a]->output())) {
      ++first[id];
      by[id] += " " + std::to_string(a);
    }
  for (long id = 1; id <= kFirstEvents; ++id) EXPECT_EQ(first[id], 1) << "event " << id << " by agents" << by[id];
  EXPECT_EQ(static_cast<long>(first.size()), kFirstEvents);

  // The victim stops being read: it blocks inside a delivery, its event
  // taken, while the others drain what else is written.
  agents[kVictim]->pause_reading();
  std::set<long> in_progress;
  for (int chunk = 0; chunk < kMaxChunks && in_progress.empty(); ++chunk) {
    writer.write(kChunk);
    ASSERT_TRUE(drained(writer.last()));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    in_progress = taken();
  }
  ASSERT_FALSE(in_progress.empty()) << "the unread agent never blocked in a delivery";
  EXPECT_EQ(agents[kVictim]->end(SIGKILL), 128 + SIGKILL);
  const std::string victim_before = agents[kVictim]->output();
  // What stays taken once the others are done is the killed agent's: under
  // load another agent may have been slow over a delivery when the rows
  // were read above.
  in_progress = settled_taken();
  ASSERT_FALSE(in_progress.empty()) << "the killed agent left no event in progress";
  for (long id : in_progress) std::cout << "in progress when the agent was killed: event " << id << "\n";

  // Started again (nothing else in progress): its login puts those back.
  const std::string again = "agent" + std::to_string(kVictim) + "-again.err";
  agents[kVictim] = std::make_unique<FollowingAgent>(db_, path(again));
  ASSERT_TRUE(started(again)) << db_.read(again);
  ASSERT_TRUE(emptied()) << db_.sql("select objid, event_status from table_orbisan_events;") << db_.read(again);
  writer.write(kLastEvents);
  ASSERT_EQ(writer.close(), 0);
  ASSERT_TRUE(drained(writer.last()));
  ASSERT_TRUE(emptied());

  std::map<long, int> all;
  for (long id : delivered(victim_before)) ++all[id];
  for (int a = 0; a < kAgents; ++a) {
    EXPECT_EQ(agents[a]->end(SIGTERM), 0) << "agent " << a << "\n" << (a == kVictim ? db_.read(again) : log(a));
    for (long id : delivered(agents[a]->output())) ++all[id];
  }
  for (long id = 1; id <= writer.last(); ++id) {
    EXPECT_GE(all[id], 1) << "event " << id << " lost";
    if (all[id] > 1) {
      std::cout << "delivered " << all[id] << " times: event " << id << "\n";
      EXPECT_TRUE(in_progress.count(id)) << "event " << id << " repeated but not in progress at the restart";
      EXPECT_EQ(all[id], 2) << "event " << id;
    }
  }
  EXPECT_EQ(static_cast<long>(all.size()), writer.last()) << "an event delivered that was never written";
  EXPECT_EQ(count(""), 0);
  EXPECT_EQ(db_.sql("select event_status, count(*) from table_orbisan_archive group by event_status;"),
            "Success\t" + std::to_string(writer.last()) + "\n");
}

}  // namespace
