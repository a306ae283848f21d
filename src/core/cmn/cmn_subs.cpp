// The subsystem table and its look-ups.
#include "core/cmn/cmn_subs.h"

#include "core/cmn/cmn_list.h"

#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_str.h"

namespace {

// Row, name, number, first message id, size of the id range. The number
// equals the row except for the rows 111, 112 and 151 to 155.
const cmn_ty_subs_entry osl_subs_table[CMN_SUBS_NUM_ROWS] = {
    {"NULL SUBSYSTEM", 0, -1, -1},  // 0
    {"cmn", 1, 1000, 300},  // 1
    {"osl", 2, 1300, 100},  // 2
    {"dbg", 3, 1400, 200},  // 3
    {"utl", 4, 1600, 200},  // 4
    {"typ", 5, 1800, 200},  // 5
    {"adp", 6, 2000, 200},  // 6
    {"dbs", 7, 2200, 200},  // 7
    {"rem", 8, 2400, 200},  // 8
    {"drt", 9, 2600, 200},  // 9
    {"cvt", 10, 2800, 200},  // 10
    {"loc", 11, 3000, 200},  // 11
    {"mad", 12, 3200, 200},  // 12
    {"hlp", 13, 3400, 200},  // 13
    {"oab", 14, 3600, 400},  // 14
    {"oau", 15, 20000, 200},  // 15
    {"sfs", 16, 4000, 200},  // 16
    {"otg", 17, 4200, 200},  // 17
    {"sln", 18, 4400, 200},  // 18
    {"prb", 19, 4600, 200},  // 19
    {"cam", 20, 4800, 200},  // 20
    {"cas", 21, 5000, 200},  // 21
    {"fnl", 22, 5200, 200},  // 22
    {"que", 23, 5400, 200},  // 23
    {"scn", 24, 5600, 200},  // 24
    {"dav", 25, 5800, 200},  // 25
    {"wip", 26, 6000, 200},  // 26
    {"wsf", 27, 6200, 200},  // 27
    {"dkt", 28, 6400, 200},  // 28
    {"gen", 29, 6600, 400},  // 29
    {"cln", 30, 19000, 200},  // 30
    {"act", 31, 7000, 200},  // 31
    {"ost", 32, 7200, 200},  // 32
    {"sce", 33, 7400, 200},  // 33
    {"clk", 34, 7600, 200},  // 34
    {"pdt", 35, 7800, 200},  // 35
    {"wgb", 36, 8000, 200},  // 36
    {"dcu", 37, 8200, 200},  // 37
    {"dbm", 38, 8400, 200},  // 38
    {"psf", 39, 8600, 200},  // 39
    {"pml", 40, 8800, 200},  // 40
    {"usf", 41, 10000, 200},  // 41
    {"adm", 42, 10200, 200},  // 42
    {"log", 43, 10400, 200},  // 43
    {"cpi", 44, 10600, 200},  // 44
    {"bch", 45, 10800, 200},  // 45
    {"emc", 46, 11000, 200},  // 46
    {"cal", 47, 11200, 200},  // 47
    {"gta", 48, 11400, 200},  // 48
    {"dag", 49, 11600, 200},  // 49
    {"mon", 50, 11800, 200},  // 50
    {"com", 51, 12000, 200},  // 51
    {"ccr", 52, 12200, 200},  // 52
    {"bug", 53, 12400, 200},  // 53
    {"qry", 54, 12600, 200},  // 54
    {"tnd", 55, 12800, 200},  // 55
    {"snd", 56, 13000, 200},  // 56
    {"lpt", 57, 13200, 200},  // 57
    {"lcu", 58, 13400, 200},  // 58
    {"lob", 59, 13600, 200},  // 59
    {"mns", 60, 13800, 200},  // 60
    {"lrq", 61, 14000, 200},  // 61
    {"lpm", 62, 14200, 200},  // 62
    {"lpi", 63, 14400, 200},  // 63
    {"ibu", 64, 14600, 200},  // 64
    {"svr", 65, 14800, 200},  // 65
    {"csr", 66, 15000, 200},  // 66
    {"cmr", 67, 15200, 200},  // 67
    {"brs", 68, 15400, 200},  // 68
    {"pge", 69, 15600, 200},  // 69
    {"lut", 70, 15800, 200},  // 70
    {"sde", 71, 16000, 200},  // 71
    {"obr", 72, 16200, 200},  // 72
    {"ccm", 73, 16400, 200},  // 73
    {"fts", 74, 16600, 200},  // 74
    {"lad", 75, 16800, 200},  // 75
    {"vba", 76, 17000, 300},  // 76
    {"fti", 77, 18000, 200},  // 77
    {"net", 78, 18200, 200},  // 78
    {"tsi", 79, 18400, 200},  // 79
    {"dcv", 80, 18600, 200},  // 80
    {"cup", 81, 18800, 200},  // 81
    {"zez", 82, 19200, 200},  // 82
    {"dgn", 83, 19400, 400},  // 83
    {"nfy", 84, 19800, 200},  // 84
    {"nad", 85, 20200, 200},  // 85
    {"dao", 86, 20400, 200},  // 86
    {"zca", 87, 20600, 200},  // 87
    {"uis", 88, 20800, 200},  // 88
    {"api", 89, 21000, 200},  // 89
    {"zqu", 90, 21200, 200},  // 90
    {"zac", 91, 21400, 200},  // 91
    {"zcr", 92, 21600, 200},  // 92
    {"zcm", 93, 21800, 200},  // 93
    {"www", 94, 22000, 200},  // 94
    {"zut", 95, 22200, 200},  // 95
    {"zpi", 96, 22400, 200},  // 96
    {"sup", 97, 22600, 200},  // 97
    {"zbc", 98, 22800, 200},  // 98
    {"cre", 99, 23000, 200},  // 99
    {"zrq", 100, 23200, 200},  // 100
    {"xxx", 101, 23400, 200},  // 101
    {"htm", 102, 23600, 200},  // 102
    {"ebc", 103, 23800, 800},  // 103
    {"cbx", 104, 24600, 400},  // 104
    {"zsb", 105, 25000, 200},  // 105
    {"fty", 106, 25200, 200},  // 106
    {"sel", 107, 25400, 200},  // 107
    {"usr", 108, 25600, 500},  // 108
    {"fpa", 109, 26100, 200},  // 109
    {"pgc", 110, 26300, 200},  // 110
    {"ztm", 110, 26500, 200},  // 111
    {"job", 110, 26700, 200},  // 112
    {"sms", 113, 26900, 400},  // 113
    {"ccn", 114, 27500, 600},  // 114
    {"zst", 115, 28100, 200},  // 115
    {"opp", 116, 28300, 200},  // 116
    {"tsk", 117, 28500, 200},  // 117
    {"wzi", 118, 28700, 200},  // 118
    {"tdp", 119, 28900, 200},  // 119
    {"sfa", 120, 29100, 200},  // 120
    {"zct", 121, 29300, 300},  // 121
    {"cct", 122, 29600, 200},  // 122
    {"elk", 123, 29800, 200},  // 123
    {"lcb", 124, 30000, 200},  // 124
    {"tsh", 125, 30200, 400},  // 125
    {"mfc", 126, 30600, 200},  // 126
    {"cus", 127, 31000, 9000},  // 127
    {"cma", 128, 40000, 200},  // 128
    {"web", 129, 40200, 600},  // 129
    {"rwp", 130, 40800, 600},  // 130
    {"wrp", 131, 41400, 200},  // 131
    {"cur", 132, 41600, 200},  // 132
    {"map", 133, 41800, 200},  // 133
    {"ex790", 134, 42000, 200},  // 134
    {"ret", 135, 42200, 200},  // 135
    {"zai", 136, 42400, 200},  // 136
    {"zcn", 137, 42600, 200},  // 137
    {"pim", 138, 42800, 200},  // 138
    {"QBO", 139, 43000, 600},  // 139
    {"BOS", 140, 43600, 200},  // 140
    {"BBO", 141, 43800, 200},  // 141
    {"WFL", 142, 44000, 200},  // 142
    {"ruz", 143, 44200, 200},  // 143
    {"mxm", 144, 44400, 200},  // 144
    {"WSP", 145, 44600, 600},  // 145
    {"EDR", 146, 45200, 600},  // 146
    {"ESA", 147, 45800, 800},  // 147
    {"ECQ", 148, 46600, 800},  // 148
    {"WFL2", 149, 47400, 400},  // 149
    {"vert", 150, 47800, 4000},  // 150
    {"bil", 155, 51800, 1000},  // 151
    {"ESA2", 151, 52800, 2000},  // 152
    {"SUP2", 152, 54800, 1000},  // 153
    {"ADM2", 153, 55800, 600},  // 154
    {"XML", 154, 56400, 200},  // 155
    {"FLEX", 156, 56600, 500},  // 156
    {"MACD", 157, 57100, 500},  // 157
    {"PM", 158, 57600, 500},  // 158
    {"MORD", 159, 58100, 1000},  // 159
    {"BLI", 160, 59100, 1000},  // 160
    {"DTP", 161, 60100, 200},  // 161
    {"DCE", 162, 60300, 200},  // 162
    {"SAM", 163, 60500, 200},  // 163
};

char cmn_subs_unknown_buf[64];

}  // namespace

const cmn_ty_subs_entry* cmn_subs_table() { return osl_subs_table; }

long cmn_subs_get(const char* name, long* number, long* first_id, long* range) {
  if (name != nullptr) {
    for (const cmn_ty_subs_entry& row : osl_subs_table) {
      if (std::strcmp(row.name, name) == 0) {
        if (number != nullptr) *number = row.number;
        if (first_id != nullptr) *first_id = row.first_id;
        if (range != nullptr) *range = row.range;
        return 0;
      }
    }
  }
  cmn_alrt_push(nullptr, "cmn_subs_get", CMN_SUBS_UNKNOWN, 1, name != nullptr ? name : "");
  return CMN_SUBS_UNKNOWN;
}

// Subsystem numbers and rows differ for a few rows (111/112 carry 110, rows
// 151..155 carry 155, 151..154), so the name of a number is that of the first
// row carrying the number; message lists are registered by number, and this
// keeps e.g. the bil list (number 155) named "bil" in alert texts.
const char* cmn_subs_name(long number) {
  for (const cmn_ty_subs_entry& row : osl_subs_table) {
    if (row.number == number && number >= 0) return row.name;
  }
  std::snprintf(cmn_subs_unknown_buf, sizeof cmn_subs_unknown_buf, "UNKNOWN SUBSYSTEM %ld", number);
  return cmn_subs_unknown_buf;
}

const char* cmn_subs_name_by_id(long message_id) {
  for (const cmn_ty_subs_entry& row : osl_subs_table) {
    if (row.first_id <= message_id && message_id < row.first_id + row.range) return row.name;
  }
  return "unknown";
}

long cmn_subs_init() {
  if (loc_str_install_subs(CMN_SUBS_NUM_ROWS, cmn_subs_get) != 0) return -1;
  return loc_str_install_res_proc(cmn_list_res_str);
}

long cmn_subs_term() { return 0; }
