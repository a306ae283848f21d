// Coded fields as words: the activity-code, condition-code and location-type
// tables and their conversions both ways.
#include <cstring>
#include <string>

#include "client/oab/oab_fld.h"
#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"

namespace {

// Names of the "gen" list (subsystem 29) used here.
constexpr long GEN_BASE = 0x1D00000;
constexpr long GEN_UPGRADE = GEN_BASE + 247;
constexpr long GEN_COND_FIRST = GEN_BASE + 163;
constexpr long kStatusActive = 0xE0014B;
constexpr long kStatusInactive = 0xE0014C;

struct code_row {
  long code;
  long msg;
  const char* fallback;  // the name while its list is not registered
  const char* cached = nullptr;
};

// clang-format off
code_row g_actcodes[] = {
    {100, oab_code(32), "Accept"},
    {200, oab_code(33), "Case Close"},
    {300, oab_code(34), "Chg Status"},
    {400, oab_code(35), "Commit"},
    {500, oab_code(36), "Phone Log"},
    {600, oab_code(37), "Create"},
    {700, oab_code(38), "Engineer Dispatch"},
    {800, oab_code(39), "Dispatch FE Close"},
    {900, oab_code(40), "Dispatch"},
    {1000, oab_code(41), "Escalate"},
    {1100, oab_code(42), "Forward"},
    {1200, oab_code(43), "Fulfill"},
    {1300, oab_code(44), "Import"},
    {1400, oab_code(45), "Link"},
    {1500, oab_code(46), "Modify"},
    {1600, oab_code(47), "Modify Commitment"},
    {1700, oab_code(48), "Notes"},
    {0, oab_code(31), "Null"},
    {1800, oab_code(49), "T and E log"},
    {1900, oab_code(50), "Parts Request Create"},
    {2000, oab_code(51), "Parts Request Close"},
    {2100, oab_code(52), "PMH Create"},
    {2200, oab_code(53), "PML Create"},
    {2300, oab_code(54), "Quick Close"},
    {2400, oab_code(55), "Reopen"},
    {2500, oab_code(56), "Research Log"},
    {2600, oab_code(57), "Return"},
    {2700, oab_code(58), "Scrub"},
    {2800, oab_code(59), "Shipping Request"},
    {2900, oab_code(60), "Shipping Request Close"},
    {3000, oab_code(61), "Subcase Create"},
    {3100, oab_code(62), "Subcase Close"},
    {3200, oab_code(63), "Service Interruption"},
    {3300, oab_code(64), "Dialed to remote site"},
    {3400, oab_code(69), "Email Out"},
    {3500, oab_code(70), "Email In"},
    {3600, oab_code(78), "Install"},
    {3700, oab_code(79), "Moved"},
    {3800, oab_code(80), "De-Installed"},
    {3900, oab_code(81), "Changed Details"},
    {4000, oab_code(82), "Un-Link"},
    {4100, oab_code(83), "Yank"},
    {4200, oab_code(84), "Subcase Reopen"},
    {4300, oab_code(85), "Shipping Request Reopen"},
    {4400, oab_code(86), "Dispatch FE Reopen"},
    {4500, oab_code(87), "Created"},
    {4600, oab_code(88), "Deleted"},
    {5800, oab_code(89), "Renamed"},
    {5900, oab_code(90), "Re-Installed"},
    {6000, oab_code(93), "Expired"},
    {6100, oab_code(94), "Delete"},
    {6200, oab_code(97), "Add Appt"},
    {6300, oab_code(98), "Replace Appt"},
    {6400, oab_code(99), "Delete Appt"},
    {7200, oab_code(104), "Admin Subcase Create"},
    {7700, oab_code(108), "Parts Request"},
    {7800, oab_code(109), "Parts Used"},
    {7900, oab_code(111), "Changed Site"},
    {8000, oab_code(112), "Changed Work Group"},
    {8100, oab_code(113), "Changed Primary"},
    {8200, oab_code(114), "Changed Bill To"},
    {8300, oab_code(115), "Changed Ship To"},
    {8600, oab_code(116), "From Call Server"},
    {8700, oab_code(117), "T and E log edit"},
    {10600, oab_code(181), "T and E log delete"},
    {210, oab_code(294), "Job Close"},
    {205, oab_code(295), "Job Create"},
    {4700, oab_code(129), "Create CR"},
    {4900, oab_code(130), "Chg Sts"},
    {5100, oab_code(132), "Chg Sts:Fixed"},
    {4800, oab_code(133), "Chg Sts:Closed"},
    {7300, oab_code(134), "Chg Sts:Dupl"},
    {5700, oab_code(131), "Chg Sts:Failed"},
    {8800, oab_code(135), "Chg Sts:Reopen"},
    {7400, oab_code(136), "Mark Master"},
    {7500, oab_code(137), "Inherit Duplicate"},
    {7600, oab_code(138), "Inherit Master"},
    {8400, oab_code(139), "Replicate CR"},
    {11800, oab_code(140), "Replicate To"},
    {6500, oab_code(141), "Link CR"},
    {6600, oab_code(142), "Unlink CR"},
    {6700, oab_code(143), "Link Solution"},
    {6800, oab_code(144), "Unlink Solution"},
    {8500, oab_code(145), "Rule Action"},
    {5400, oab_code(163), "Being Fixed"},
    {5000, oab_code(164), "Update Bug"},
    {5200, oab_code(165), "Close Not Fix"},
    {5300, oab_code(166), "Deferred"},
    {5500, oab_code(167), "Confirmed"},
    {5600, oab_code(168), "Test Passed"},
    {8900, oab_code(146), "Add Attachment"},
    {9000, oab_code(147), "Replace Attachment"},
    {9100, oab_code(148), "Delete Attachment"},
    {9200, oab_code(151), "Initial Response"},
    {9300, oab_code(158), "Exchange"},
    {9400, oab_code(159), "Consume"},
    {9500, GEN_UPGRADE, "Upgrade"},
    {9600, oab_code(161), "Remove"},
    {11100, oab_code(188), "Install"},
    {9700, oab_code(162), "Correct"},
    {10700, oab_code(189), "Undo Exchange"},
    {11000, oab_code(192), "Undo Upgrade"},
    {10900, oab_code(191), "Undo Remove"},
    {10800, oab_code(190), "Undo Install"},
    {11200, oab_code(193), "Undo Consume"},
    {11300, oab_code(194), "Add Part Used"},
    {11400, oab_code(195), "Replace Part Used"},
    {11700, oab_code(231), "Delete Part Used"},
    {11900, oab_code(232), "Install (Move)"},
    {12000, oab_code(233), "Exchange (Move)"},
    {12100, oab_code(234), "Part Used (Move)"},
    {9800, oab_code(173), "Chng Contact"},
    {9900, oab_code(174), "Create RMA Request"},
    {10000, oab_code(175), "Modify RMA Request"},
    {10100, oab_code(176), "Delete RMA Request"},
    {11500, oab_code(196), "Close RMA Request"},
    {459752540, oab_code(316), "Reopen RMA Request"},
    {10200, oab_code(177), "Create Path"},
    {10300, oab_code(178), "Delete Path"},
    {10400, oab_code(179), "Modify Path"},
    {10500, oab_code(180), "Assign"},
    {12200, oab_code(240), "Receive"},
    {12300, oab_code(241), "Transfer"},
    {12400, oab_code(242), "Update Inventory"},
    {12500, oab_code(243), "Ship"},
    {465854488, oab_code(352), "Batch Fulfill Request"},
    {465920124, oab_code(353), "Batch Receive"},
    {465326000, oab_code(336), "Count Created"},
    {465391636, oab_code(337), "Count Initialized"},
    {465457272, oab_code(338), "Tags or Sheets Created"},
    {465522908, oab_code(339), "Count Locations Reinitialized"},
    {465588544, oab_code(340), "Counting Started"},
    {465654180, oab_code(341), "Trial Reconciliation"},
    {465719816, oab_code(342), "Recounting"},
    {465785452, oab_code(343), "Accept Variances Complete"},
    {12600, oab_code(259), "Fulfill Request"},
    {12700, oab_code(260), "Pick"},
    {12800, oab_code(261), "Unpick"},
    {12900, oab_code(262), "Backorder"},
    {13400, oab_code(272), "Create Quote"},
    {13600, oab_code(274), "Chg Sts:Converted"},
    {13700, oab_code(275), "Chg Sts:Renew"},
    {13900, oab_code(273), "Chg Sts"},
    {13800, oab_code(313), "Contract Closed"},
    {13500, oab_code(313), "Contract Closed"},
    {327693100, oab_code(277), "Create Opp"},
    {328020980, oab_code(276), "Change Status"},
    {327759936, oab_code(284), "Win Deal"},
    {327825572, oab_code(285), "Lose Deal"},
    {327891208, oab_code(286), "Modify Opp"},
    {327955344, oab_code(282), "Close Opp"},
    {14100, oab_code(278), "File Check Out"},
    {14200, oab_code(279), "File Check In"},
    {14300, oab_code(280), "File Uncheck Out"},
    {332937580, oab_code(288), "Create Task"},
    {333003216, oab_code(289), "Complete Task"},
    {333068852, oab_code(290), "Close Task"},
    {333134488, oab_code(291), "Create Quote"},
    {333200124, oab_code(292), "Issue Quote"},
    {333265760, oab_code(293), "Copy Quote"},
    {524707216, oab_code(283), "Create Contact"},
    {458768000, oab_code(298), "Exchange"},
    {458833636, oab_code(299), "Zarvo SEND"},
    {458899272, oab_code(300), "Zarvo REJECT"},
    {458964908, oab_code(301), "Zarvo NEW1"},
    {459030544, oab_code(302), "Zarvo NEW2"},
    {459096180, oab_code(303), "Zarvo NEW3"},
    {459161816, oab_code(304), "Zarvo NEW4"},
    {459227452, oab_code(305), "Zarvo NEW5"},
    {459293088, oab_code(306), "Zarvo NEW6"},
    {459358724, oab_code(307), "Zarvo NEW7"},
    {459424360, oab_code(308), "Zarvo NEW8"},
    {459489996, oab_code(309), "Zarvo NEW9"},
    {459555632, oab_code(310), "Zarvo NEW10"},
    {459621268, oab_code(311), "Zarvo NEW11"},
    {459686904, oab_code(312), "Zarvo NEW12"},
    {20300, oab_code(335), "Roamer Conflict"},
};
// clang-format on

code_row g_condcodes[] = {
    {1, GEN_COND_FIRST + 0, "New"},        {2, GEN_COND_FIRST + 1, "Open"},
    {4, GEN_COND_FIRST + 2, "Closed"},     {8, GEN_COND_FIRST + 3, "Dispatched"},
    {16, GEN_COND_FIRST + 4, "Rejected"},  {32, GEN_COND_FIRST + 5, "Forwarded"},
    {128, GEN_COND_FIRST + 6, "No Link"},  {256, GEN_COND_FIRST + 7, "Temporarily Opened"},
    {512, GEN_COND_FIRST + 8, "Returned"},
};

const char* const kLocTypes[] = {"UNKN", "CUST", "INTR", "RSEL", "INDV"};
constexpr long kNumLocTypes = sizeof kLocTypes / sizeof kLocTypes[0];

// The row's name: its message text, read once; the compiled name when the
// message's list is not registered.
const char* name_of(code_row& r) {
  if (r.cached != nullptr) return r.cached;
  const char* text = nullptr;
  long before = 0;
  cmn_alrt_num(nullptr, &before);
  if (cmn_alrt_get_msg(r.msg, &text) != 0 || text == nullptr) {
    long now = 0;
    for (cmn_alrt_num(nullptr, &now); now > before; --now) cmn_alrt_pop(nullptr, nullptr, nullptr);
    text = r.fallback;
  }
  r.cached = text;
  return text;
}

long all_cond_bits() {
  long bits = 0;
  for (const code_row& r : g_condcodes) bits |= r.code;
  return bits;
}

}  // namespace

long oab_fld_actcode_to_str(long code, const char** text) {
  for (code_row& r : g_actcodes) {
    if (r.code != code) continue;
    *text = name_of(r);
    return 0;
  }
  *text = "";
  return oab_alrt("oab_fld_actcode_to_str", OAB_ACT_UNKNOWN, code);
}

long oab_fld_str_to_actcode(const char* text, long* code) {
  for (code_row& r : g_actcodes) {
    if (std::strcmp(name_of(r), text) != 0) continue;
    *code = r.code;
    return 0;
  }
  return oab_alrt("oab_fld_str_to_actcode", OAB_ACT_NAME, text);
}

long oab_fld_condcode_to_str(long code, std::string* text) {
  text->clear();
  if ((code & ~all_cond_bits()) != 0) return oab_alrt("oab_fld_condcode_to_str", OAB_COND_NUM, code);
  for (code_row& r : g_condcodes)
    if (code & r.code) *text += name_of(r);
  return 0;
}

long oab_fld_str_to_condcode(const char* text, long* code) {
  for (code_row& r : g_condcodes) {
    if (std::strcmp(name_of(r), text) != 0) continue;
    *code = r.code;
    return 0;
  }
  return oab_alrt("oab_fld_str_to_condcode", OAB_COND_NAME, text);
}

const char* oab_fld_loc_type_name(long value) {
  return value >= 0 && value < kNumLocTypes ? kLocTypes[value] : kLocTypes[0];
}

long oab_fld_loc_type_value(const char* text) {
  for (long i = 0; i < kNumLocTypes; ++i)
    if (text != nullptr && std::strcmp(kLocTypes[i], text) == 0) return i;
  return 0;
}

const char* oab_fld_status_word(long value) {
  return oab_msg_text(value == 0 ? kStatusActive : kStatusInactive);
}

void oab_fld_forget_names() {
  for (code_row& r : g_actcodes) r.cached = nullptr;
  for (code_row& r : g_condcodes) r.cached = nullptr;
}
