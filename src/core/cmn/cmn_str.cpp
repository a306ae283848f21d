// The cmn message list (subsystem 1, message ids 1000 to 1217): its compiled-in
// texts and argument descriptors, and its registration.
#include "core/cmn/cmn_str.h"

#include <cstdio>

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

constexpr long kFirst = 1000;
constexpr long kLast = 1217;
constexpr long kCount = kLast - kFirst + 1;

// Index i is message 1000 + i and alert code 0x100000 + i. A null entry is a
// message whose text this library does not carry; it reads as a text naming
// the message (filled in at registration).
const char* cmn_str_texts[kCount] = {
    "Invalid data type %ld.",  // 0
    "Bad callback number %ld for data type %ld.",  // 1
    nullptr,  // 2
    "Not enough memory to allocate %ld bytes (in '%s').",  // 3
    "Invalid subsystem/application ID code %ld.",  // 4
    nullptr,  // 5
    "Unknown subsystem/application '%s' (add to CMNSUBS table).",  // 6
    "Bad alert code: invalid subsystem code %ld in alert code 0x%x.",  // 7
    "Cannot format alert message with code 0x%x.",  // 8
    "Bad alert stack %ld.",  // 9
    nullptr,  // 10
    "No conversion proc for '%s' (from '%s' to '%s').",  // 11
    "Can't convert from source type %ld to destination type %ld.",  // 12
    "Data type %ld unexpected.",  // 13
    "Cannot allocate %ld bytes of memory.",  // 14
    "Invalid runtime data type #%ld.",  // 15
    "Invalid field #%ld of runtime data type '%s'.",  // 16
    "Value '%s' must be a numeric value.",  // 17
    nullptr,  // 18
    "The collection '%s' passed in is not empty.",  // 19
    "The operator value '%ld' passed in is not valid.",  // 20
    nullptr,  // 21
    nullptr,  // 22
    nullptr,  // 23
    "An unexpected problem occurred.  Please report circumstances to OrbisanCRM Customer Support.",  // 24
    "Invalid class %ld.",  // 25
    "Invalid message ID %ld.",  // 26
    "Invalid trait class %ld.",  // 27
    "Invalid composite class %ld.",  // 28
    "There can only be one method for message %ld installed for class %s.",  // 29
    "There is no method installed for message %ld in class %s.",  // 30
    "The value you entered is too large. The maximum allowed value is 9999999.",  // 31
    "The value you entered is too small. The minimum allowed value is -9999999.",  // 32
    "The value you entered (%s) has more than one decimal point.",  // 33
    "The field '%s' does not exist for runtime data type '%s'.",  // 34
    "The field '%s' of runtime type '%s' is of an unsupported data type '%s'.",  // 35
    nullptr,  // 36
    "Case",  // 37
    "Solution",  // 38
    "WorkAround",  // 39
    "Shipment Summary",  // 40
    "Queue",  // 41
    "WIPbin",  // 42
    "Categories",  // 43
    "Category",  // 44
    "KeyPhrases",  // 45
    "Product Categories",  // 46
    "Product KeyPhrases",  // 47
    "Diagnostic Hint",  // 48
    "Product Instance",  // 49
    "Product Configuration",  // 50
    "Program Logic",  // 51
    "Transaction Summary",  // 52
    "User",  // 53
    "Activity",  // 54
    "Return Message",  // 55
    "Receiving Summary",  // 56
    "Subcase",  // 57
    "Shipping Request",  // 58
    "Dispatch FE",  // 59
    "Notes",  // 60
    "Conversation Log",  // 61
    "Research Time",  // 62
    "Commitment",  // 63
    "Fulfillment",  // 64
    "Onsite Log",  // 65
    "Privilege Class",  // 66
    "State",  // 67
    "Receive Parts",  // 68
    "Employee",  // 69
    "Contact",  // 70
    "Group",  // 71
    "Address",  // 72
    "Part Request Detail",  // 73
    "Monitor",  // 74
    "Site",  // 75
    "RQST",  // 76
    "Quote/Contract/Order",  // 77
    " Product Bin",  // 78
    " Catalog",  // 79
    "Close Case",  // 80
    "Number Scheme",  // 81
    "Time Zone",  // 82
    "Service Interrupt Log",  // 83
    "SOLN",  // 84
    "Change Request",  // 85
    "Module for Bug",  // 86
    "Close Bug",  // 87
    "Query",  // 88
    "Query Group",  // 89
    "Calendar",  // 90
    "Business Calendar",  // 91
    "Part No",  // 92
    "Revision",  // 93
    "Part Class",  // 94
    "Domain",  // 95
    "WIPbin List",  // 96
    "Part Request",  // 97
    "Time Bomb",  // 98
    "Dfe",  // 99
    "The value '%s' is not a valid decimal number.",  // 100
    "The decimal string '%s' is too long.",  // 101
    "CR",  // 102
    "REPORT",  // 103
    "REPORT PARAM",  // 104
    "REPORT OUTPUT",  // 105
    "RULE",  // 106
    "Return Info",  // 107
    "Repair Summary",  // 108
    "Logistics Part",  // 109
    "Parts at Logistics locations",  // 110
    "Inventory Bin",  // 111
    "Part Transaction Record",  // 112
    "Receiving Problem",  // 113
    "Queue CC",  // 114
    "FICS Header",  // 115
    "FICS Detail",  // 116
    "FCS Used",  // 117
    "Work Hour",  // 118
    "Schedule",  // 119
    "Appointment",  // 120
    "Variable Value",  // 121
    "Contact Role",  // 122
    "ASAF Result",  // 123
    "rpn",  // 124
    "Inventory Part Search",  // 125
    "List DFE of subcase",  // 126
    "Modem",  // 127
    "Holiday",  // 128
    "Business Rule Condition",  // 129
    "Part Quantity",  // 130
    "Property Name",  // 131
    "ASAF REPORT",  // 132
    "State Transition",  // 133
    "Case Security",  // 134
    "License Count",  // 135
    "Part Used",  // 136
    "Field",  // 137
    "Menu Bar",  // 138
    "Menu Item",  // 139
    "Readonly",  // 140
    "Schema Revision",  // 141
    "License Tracking",  // 142
    "Mod Level",  // 143
    "Part",  // 144
    "geometric data",  // 145
    "User case load",  // 146
    "Find child site",  // 147
    "FTS Result",  // 148
    "Time Log",  // 149
    "Keyword Text",  // 150
    "Commit-Case",  // 151
    "Commit-Subc",  // 152
    "Activity rule name",  // 153
    "Queued case DFE",  // 154
    "Queued subcase DFE",  // 155
    "Case DFE",  // 156
    "Subcase DFE",  // 157
    "WebSupport User",  // 158
    "WebSupport Log",  // 159
    "Account or Location",  // 160
    "Opportunity",  // 161
    "Action Item",  // 162
    "Count Setup",  // 163
    "Dialogue",  // 164
    "Medium",  // 165
    "Operation on decimal data is overflow.",  // 166
    "Decimal data is divided by 0.",  // 167
    "Channel",  // 168
    "Communication",  // 169
    "Bus_org",  // 170
    "greater than",  // 171
    "greater than or equal to",  // 172
    "less than",  // 173
    "less than or equal to",  // 174
    "is equal to",  // 175
    "is not equal to",  // 176
    "starts with",  // 177
    "ends with",  // 178
    "contains",  // 179
    "is in",  // 180
    "between",  // 181
    "does not start with",  // 182
    "does not end with",  // 183
    "does not contain",  // 184
    "not between",  // 185
    "is not in",  // 186
    "sounds like",  // 187
    "exists",  // 188
    "does not exist",  // 189
    "today",  // 190
    "yesterday",  // 191
    "within last (days)",  // 192
    "within last (hours)",  // 193
    "Exchange",  // 194
    "Lead",  // 195
    "is not null",  // 196
    "is null",  // 197
    nullptr,  // 198
    nullptr,  // 199
    nullptr,  // 200
    nullptr,  // 201
    nullptr,  // 202
    nullptr,  // 203
    nullptr,  // 204
    nullptr,  // 205
    nullptr,  // 206
    nullptr,  // 207
    nullptr,  // 208
    nullptr,  // 209
    nullptr,  // 210
    nullptr,  // 211
    nullptr,  // 212
    nullptr,  // 213
    nullptr,  // 214
    nullptr,  // 215
    nullptr,  // 216
    nullptr,  // 217
};

// Per message: number of arguments its text formats, class (1: a value
// message shown to the user).
const signed char cmn_str_args[2 * kCount] = {
    1, 0, 2, 0, 0, 0, 2, 0, 1, 0, 0, 0, 1, 0, 2, 0,
    1, 0, 1, 0, 0, 0, 3, 0, 2, 0, 1, 0, 1, 0, 1, 0,
    2, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 2, 0, 2, 0, 0, 1,
    0, 1, 1, 1, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0,
};

char cmn_str_missing[kCount][48];

}  // namespace

long cmn_str_init() {
  for (long i = 0; i < kCount; ++i) {
    if (cmn_str_texts[i] != nullptr && cmn_str_texts[i] != cmn_str_missing[i]) continue;
    std::snprintf(cmn_str_missing[i], sizeof cmn_str_missing[i], "cmn message %ld (no text available)",
                  kFirst + i);
    cmn_str_texts[i] = cmn_str_missing[i];
  }
  if (cmn_list_install_res_table(kFirst, kCount, cmn_str_texts) != 0) return -1;
  return loc_str_init_list("cmn", 1, kFirst, kLast, kCount, cmn_str_args);
}
