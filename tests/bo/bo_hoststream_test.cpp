// The host's stream transport over a socket pair (framing, short reads,
// closed peers, long frames), its configuration file, and the client's
// reading of answer frames (records, and a server's error thrown again).
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "bo/bo_bulkdata.h"
#include "bo/bo_currency.h"
#include "bo/bo_session.h"
#include "bo_mdserver_fixture.h"
#include "bohost_stream.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;

namespace {

class StreamTest : public botest::BoTest {
 protected:
  StreamTest() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
  ~StreamTest() override {
    if (fds[0] >= 0) close(fds[0]);
    if (fds[1] >= 0) close(fds[1]);
  }
  void CloseWriter() {
    close(fds[1]);
    fds[1] = -1;
  }
  void Raw(const std::string& bytes) { ASSERT_EQ(write(fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  kctest::Thrown Receive() {
    return kctest::catchKErr([&] { bohost_stream_receive(fds[0]); });
  }
  int fds[2] = {-1, -1};
};

void ExpectStreamError(const kctest::Thrown& t, const char* why) {
  ASSERT_TRUE(t.thrown);
  EXPECT_EQ(t.id, BOHOST_ERR_MESSAGE);
  EXPECT_EQ(t.method, "bohost_stream_receive");
  EXPECT_EQ(t.params, std::vector<std::string>{why});
}

} // namespace

TEST_F(StreamTest, FramesCarryMessagesWholeAndInOrder) {
  KHostMsg first, second, empty;
  first.WriteLong(-7);
  first.WriteString("hello");
  second.WriteString(std::string(100000, 'x').c_str());
  bohost_stream_send(fds[1], first);
  bohost_stream_send(fds[1], empty);
  std::thread writer([&] { bohost_stream_send(fds[1], second); });
  KHostMsg got = bohost_stream_receive(fds[0]);
  EXPECT_EQ(got.Bytes(), first.Bytes());
  long n = 0;
  KZString text;
  got.ReadLong(n);
  got.ReadString(text);
  EXPECT_EQ(n, -7);
  EXPECT_STREQ(text, "hello");
  EXPECT_TRUE(bohost_stream_receive(fds[0]).Bytes().empty());
  EXPECT_EQ(bohost_stream_receive(fds[0]).Bytes(), second.Bytes());
  writer.join();
}

TEST_F(StreamTest, ShortReadsClosedPeersAndLongFramesThrow) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* why;
  } cases[] = {
      {"nothing at all", "", "closed peer"},
      {"half a length", std::string("\0\0", 2), "short read"},
      {"a cut frame", std::string("\0\0\0\x09", 4) + "abcd", "short read"},
      {"a frame beyond the limit", "\x7f\xff\xff\xff", "frame too long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    ASSERT_EQ(write(pair[1], c.bytes.data(), c.bytes.size()), ssize_t(c.bytes.size()));
    close(pair[1]);
    ExpectStreamError(kctest::catchKErr([&] { bohost_stream_receive(pair[0]); }), c.why);
    close(pair[0]);
  }
}

TEST_F(StreamTest, SendingToAClosedPeerThrowsWithoutASignal) {
  close(fds[0]);
  fds[0] = -1;
  KHostMsg msg;
  msg.WriteString("lost");
  auto t = kctest::catchKErr([&] { bohost_stream_send(fds[1], msg); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.method, "bohost_stream_send");
}

TEST_F(StreamTest, AnErrorFrameIsThrownAgainWithItsNumberMethodAndInserts) {
  KHostMsg answer;
  answer.WriteLong(0x8B00193);
  answer.WriteString("KDdJoin::GetRel");
  answer.WriteLong(2);
  answer.WriteString("Business Object ID=5");
  answer.WriteString("second");
  answer.Rewind();
  auto t = kctest::catchKErr([&] { bohost_load_answer(answer, nullptr); });
  ASSERT_TRUE(t.thrown);
  EXPECT_EQ(t.id, 0x8B00193);
  EXPECT_EQ(t.method, "KDdJoin::GetRel");
  EXPECT_EQ(t.params, (std::vector<std::string>{"Business Object ID=5", "second"}));
}

TEST_F(StreamTest, ACutAnswerLoadsNothing) {
  botest::Client client("", "", "cut");
  KDdBulkRequestData data;
  data.Add(new KDdCurrency(1, "USD", "$", "Dollar", 1, 1.0f, "USD", 2, 0));
  data.Add(new KDdCurrency(2, "EUR", "E", "Euro", 0, 1.1f, "EUR", 2, 0));
  KHostMsg whole;
  whole.WriteLong(BOHOST_ANSWER_OK);
  data.Write(whole);
  std::vector<uint8_t> bytes = whole.Bytes();
  bytes.resize(bytes.size() - 3);
  KHostMsg cut(bytes);
  EXPECT_TRUE(kctest::catchKErr([&] { bohost_load_answer(cut, client.dict.get()); }).thrown);
  EXPECT_EQ(client.dict->GetCurrencyCount(), 0);
  KHostMsg again(whole.Bytes());
  bohost_load_answer(again, client.dict.get());
  EXPECT_EQ(client.dict->GetCurrencyCount(), 2);
}

TEST(HostConfig, NameValueLines) {
  KHostConfig config;
  bohost_config_parse("# comment\n\n  default_lang = 1031 \r\nmode=1\ndict_flag=10\ntime_all_sessions=1\n"
                      "ident_num2=-5\nident_text2=prod\nident_text1= spaced text \n",
                      config);
  EXPECT_EQ(config.qbo.m_lDefaultLang, 1031);
  EXPECT_EQ(config.qbo.m_lDictFlag, 10);
  EXPECT_EQ(config.mode, 1);
  EXPECT_EQ(config.timeAllSessions, 1);
  EXPECT_EQ(config.identNum[1], -5);
  EXPECT_EQ(config.identText[1], "prod");
  EXPECT_EQ(config.identText[0], "spaced text");
  struct Case {
    const char* text;
    const char* line;
    const char* why;
  } cases[] = {
      {"colour=blue\n", "1", "unknown name"},
      {"mode=1\nmode\n", "2", "no '='"},
      {"mode=one\n", "1", "not a number"},
      {"mode=\n", "1", "not a number"},
      {"mode=99999999999\n", "1", "not a number"},
      {"ident_text1=0123456789012345678901234567890123\n", "1", "text too long"},
  };
  for (const auto& c : cases) {
    KHostConfig bad;
    auto t = kctest::catchKErr([&] { bohost_config_parse(c.text, bad); });
    ASSERT_TRUE(t.thrown) << c.text;
    EXPECT_EQ(t.method, "bohost_config_parse");
    EXPECT_EQ(t.params, (std::vector<std::string>{c.line, c.why})) << c.text;
  }
  EXPECT_TRUE(kctest::catchKErr([] {
                KHostConfig none;
                bohost_config_read("/nonexistent/server.conf", none);
              }).thrown);
}

namespace {

// A server that takes each connection, reads the request and answers with
// the given bytes (or nothing) before closing.
class FakeServer {
 public:
  FakeServer(const std::string& socket, std::string reply) : m_fd(bohost_stream_listen(socket)) {
    m_thread = std::thread([this, reply] {
      int fd = accept(m_fd, nullptr, nullptr);
      if (fd < 0) return;
      try {
        bohost_stream_receive(fd);
      } catch (KErr* e) {
        delete e;
      }
      if (!reply.empty()) (void)!write(fd, reply.data(), reply.size());
      close(fd);
    });
  }
  ~FakeServer() {
    m_thread.join();
    close(m_fd);
  }

 private:
  int m_fd;
  std::thread m_thread;
};

} // namespace

TEST_F(StreamTest, APeerThatClosesOrCutsTheAnswerFailsTheFetchAndLoadsNothing) {
  kctest::TempDir dir;
  struct Case {
    const char* what;
    std::string reply;
    const char* why;
  } cases[] = {{"closed without an answer", "", "closed peer"},
               {"answer cut short", std::string("\0\0\0\x20", 4) + "L\0\0\0\0", "short read"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string socket = dir.file("fake.sock");
    FakeServer fake(socket, c.reply);
    botest::Client client(socket, dir.path(), "sess1");
    auto t = kctest::catchKErr([&] { client.dict->FindTable(2000, 0); });
    ASSERT_TRUE(t.thrown);
    EXPECT_EQ(t.params, std::vector<std::string>{c.why});
    EXPECT_EQ(client.dict->GetTableCount(), 0);
  }
}

TEST_F(StreamTest, TheServerSideGivesEveryKeyALiveSessionOnItsComponents) {
  botest::Client server("", "", "server");
  server.mgr->MakeComponents();
  KUtlSessionContext* first = server.mgr->GetSessionContext("peer1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(server.mgr->GetSessionContext("peer1"), first);
  ASSERT_NE(first->GetDictionary(), nullptr);
  EXPECT_EQ(std::string(first->GetDictionary()->GetName()), "peer1");
  EXPECT_EQ(first->GetDictionary()->GetCurrencyCompnt(), server.mgr->m_pDict->GetCurrencyCompnt());
  EXPECT_NE(server.mgr->GetSessionContext("peer2"), first);
  server.mgr->DeleteFromMap("peer2");
  auto log = server.mgr->LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), (std::pair<std::string, std::string>{"Session", "removed peer2"}));
  // A key the text form cannot hold is refused, not filed.
  EXPECT_TRUE(kctest::catchKErr([&] { server.mgr->GetSessionContext("a:b"); }).thrown);
}
