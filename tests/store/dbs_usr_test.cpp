// The password scrambler and the scrambling decision.
#include <string>

#include "store/dbs_db.h"
#include "store/dbs_msg.h"
#include "store/dbs_usr.h"
#include "store_fixture.h"

TEST(Scrambler, ShiftsLettersAndDigitsAndFillsTheRest) {
  struct row {
    std::string in;
    std::string out;
  } rows[] = {
      {"abc", "efg3456701"},
      {".,;:!", "3456701234"},
      {"0123456789", "3456789678"},
      {"ASTZ", "HZPV345670"},
      {"hz", "as34567012"},
      {"", "3456701234"},
  };
  for (const row& r : rows) {
    char out[31];
    char* end = Orbn_dbs_password_encrypt(r.in.c_str(), out);
    EXPECT_EQ(std::string(out), r.out) << r.in;
    EXPECT_EQ(end, out + std::string(out).size());
  }
  char out[31];
  Orbn_dbs_password_encrypt(std::string(40, 'a').c_str(), out);
  EXPECT_EQ(std::string(out), std::string(30, 'e'));
}

TEST_F(store_test, ScramblingFollowsTheSwitchesAndTheHeader) {
  const char* out = nullptr;
  char did = 9;
  // An empty password stays empty, also when scrambling is forced.
  ASSERT_EQ(dbs_usr_password_encrypt(nullptr, "bob", "", 1, &out, &did), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(did, 0);
  // The administrator's password is never scrambled.
  ASSERT_EQ(dbs_usr_password_encrypt(nullptr, "sa", "abc", 1, &out, &did), 0);
  EXPECT_STREQ(out, "abc");
  // Header not read: flag 2 is assumed.
  ASSERT_EQ(dbs_usr_password_encrypt(nullptr, "bob", "abc", 0, &out, &did), 0);
  EXPECT_STREQ(out, "efg3456701");
  EXPECT_EQ(did, 1);
  EXPECT_EQ(core_num_alerts(), 0);
  // Switched off: only the force byte scrambles.
  dbs_usr_set_encryption_flag(0);
  ASSERT_EQ(dbs_usr_password_encrypt(nullptr, "bob", "abc", 0, &out, &did), 0);
  EXPECT_STREQ(out, "abc");
  ASSERT_EQ(dbs_usr_password_encrypt(nullptr, "bob", "abc", 1, &out, &did), 0);
  EXPECT_STREQ(out, "efg3456701");
  dbs_usr_set_encryption_flag(1);
  // A password that fails the name check is refused.
  EXPECT_EQ(dbs_usr_password_encrypt(nullptr, "bob", "a b", 0, &out, &did), DBS_BAD_PASSWORD);
  EXPECT_EQ(core_top_alert_code(), DBS_BAD_PASSWORD);
}
