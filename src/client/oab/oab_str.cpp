// The "oab" message list: compiled-in texts with their argument counts and
// the registration. Rows 182-187, 251-253, 263, 267 and 347 carry neutral
// names of our own.
#include <cstdarg>

#include "client/oab/oab_msg.h"
#include "client/ost/ost_msgtab.h"
#include "core/cmn/cmn_alrt.h"

namespace {

using message = ost_ty_msg_row;

// clang-format off
constexpr message kMessages[OAB_NUM_MSGS] = {
    {0, "More than one relative was found on an object.\n"},  // 0
    {0, "More than one relative collection was found on an object.\n"},  // 1
    {0, "Object type is invalid."},  // 2
    {0, "The generic relation ID is invalid."},  // 3
    {2, "Cannot map specific relation (type %ld with relation %ld)."},  // 4
    {3, "Cannot map specific relation (type %ld to %ld with relation %ld)."},  // 5
    {0, "The specific ID index is invalid."},  // 6
    {0, "The objects are not permanent."},  // 7
    {0, "The field type is illegal."},  // 8
    {0, "The trait has not been installed."},  // 9
    {0, "The trait ID is invalid."},  // 10
    {0, "The subject object is not in state."},  // 11
    {0, "The object object are not in state."},  // 12
    {3, "Cannot convert from source type %ld to destination type %ld for conversion type %ld.\n"},  // 13
    {1, "Unknown activity code number %ld.\n"},  // 14
    {1, "Unknown activity code name %s.\n"},  // 15
    {1, "Cannot convert activity code to type %ld.\n"},  // 16
    {1, "Cannot convert activity code from type %ld.\n"},  // 17
    {1, "Unknown condition code number %ld.\n"},  // 18
    {1, "Unknown condition code name %s.\n"},  // 19
    {1, "Cannot convert condition code to type %ld.\n"},  // 20
    {1, "Cannot convert condition code from type %ld.\n"},  // 21
    {0, "Response Priority Code"},  // 22
    {0, "Case Status Code"},  // 23
    {0, "Problem Severity Level"},  // 24
    {0, "Case Type"},  // 25
    {0, "Resolution Code"},  // 26
    {0, "Product Family"},  // 27
    {0, "Product Line"},  // 28
    {0, "default"},  // 29
    {1, "Unrecognized activity code %ld.\n"},  // 30
    {0, "Null"},  // 31
    {0, "Accept"},  // 32
    {0, "Case Close"},  // 33
    {0, "Chg Status"},  // 34
    {0, "Commit"},  // 35
    {0, "Phone Log"},  // 36
    {0, "Create"},  // 37
    {0, "Engineer Dispatch"},  // 38
    {0, "Dispatch FE Close"},  // 39
    {0, "Dispatch"},  // 40
    {0, "Escalate"},  // 41
    {0, "Forward"},  // 42
    {0, "Fulfill"},  // 43
    {0, "Import"},  // 44
    {0, "Link"},  // 45
    {0, "Modify"},  // 46
    {0, "Modify Commitment"},  // 47
    {0, "Notes"},  // 48
    {0, "T and E log"},  // 49
    {0, "Parts Request Create"},  // 50
    {0, "Parts Request Close"},  // 51
    {0, "PMH Create"},  // 52
    {0, "PML Create"},  // 53
    {0, "Quick Close"},  // 54
    {0, "Reopen"},  // 55
    {0, "Research Log"},  // 56
    {0, "Return"},  // 57
    {0, "Scrub"},  // 58
    {0, "Shipping Request"},  // 59
    {0, "Shipping Request Close"},  // 60
    {0, "Subcase Create"},  // 61
    {0, "Subcase Close"},  // 62
    {0, "Service Interruption"},  // 63
    {0, "Dialed to remote site"},  // 64
    {0, "New"},  // 65
    {0, "Open"},  // 66
    {0, "Closed"},  // 67
    {0, "Initiator Type"},  // 68
    {0, "Email Out"},  // 69
    {0, "Email In"},  // 70
    {0, "default monitor"},  // 71
    {1, "%s"},  // 72
    {1, "%s"},  // 73
    {0, "sysadmin"},  // 74
    {0, "Initial Family"},  // 75
    {0, "Initial Line"},  // 76
    {0, "Failed to save changes due to database deadlock, please try it later."},  // 77
    {0, "Install"},  // 78
    {0, "Moved"},  // 79
    {0, "De-Installed"},  // 80
    {0, "Changed Details"},  // 81
    {0, "Un-Link"},  // 82
    {0, "Yank"},  // 83
    {0, "Subcase Reopen"},  // 84
    {0, "Shipping Request Reopen"},  // 85
    {0, "Dispatch FE Reopen"},  // 86
    {0, "Created"},  // 87
    {0, "Deleted"},  // 88
    {0, "Renamed"},  // 89
    {0, "Re-Installed"},  // 90
    {0, "Cannot relate database objects in memory.\n"},  // 91
    {0, "Activity Name"},  // 92
    {0, "Expired"},  // 93
    {0, "Delete"},  // 94
    {0, "Activity Name"},  // 95
    {2, "You cannot copy fields from one type (%s) to another (%s)."},  // 96
    {0, "Add Appt"},  // 97
    {0, "Replace Appt"},  // 98
    {0, "Delete Appt"},  // 99
    {0, "Employee Sched Class"},  // 100
    {0, "Employee Sched Type"},  // 101
    {0, "Installed Prod Sched Class"},  // 102
    {0, "Installed Prod Sched Type"},  // 103
    {0, "Admin Subcase Create"},  // 104
    {0, "Contact Role"},  // 105
    {0, "Unable to retrieve configuration manager modified list command."},  // 106
    {0, "Unable to retrieve configuration manager annotate command."},  // 107
    {0, "Parts Request"},  // 108
    {0, "Parts Used"},  // 109
    {0, "The elapsed time specified is invalid.  Unable to list files."},  // 110
    {0, "Changed Site"},  // 111
    {0, "Changed Work Group"},  // 112
    {0, "Changed Primary"},  // 113
    {0, "Changed Bill To"},  // 114
    {0, "Changed Ship To"},  // 115
    {0, "From Call Server"},  // 116
    {0, "T and E log edit"},  // 117
    {0, "CR Reproducible"},  // 118
    {0, "CR Type"},  // 119
    {0, "CR Priority"},  // 120
    {0, "CR Severity"},  // 121
    {0, "CR Domain"},  // 122
    {0, "CR Class"},  // 123
    {0, "CR Open"},  // 124
    {0, "CR Fixed"},  // 125
    {0, "CR Closed"},  // 126
    {0, "CR Duplicate/Closed"},  // 127
    {0, "CR Null"},  // 128
    {0, "Create CR"},  // 129
    {0, "Chg Sts"},  // 130
    {0, "Chg Sts:Failed"},  // 131
    {0, "Chg Sts:Fixed"},  // 132
    {0, "Chg Sts:Closed"},  // 133
    {0, "Chg Sts:Dupl"},  // 134
    {0, "Chg Sts:Reopen"},  // 135
    {0, "Mark Master"},  // 136
    {0, "Inherit Duplicate"},  // 137
    {0, "Inherit Master"},  // 138
    {0, "Replicate CR"},  // 139
    {0, "Replicate To"},  // 140
    {0, "Link CR"},  // 141
    {0, "Unlink CR"},  // 142
    {0, "Link Solution"},  // 143
    {0, "Unlink Solution"},  // 144
    {0, "Rule Action"},  // 145
    {0, "Add Attachment"},  // 146
    {0, "Replace Attachment"},  // 147
    {0, "Delete Attachment"},  // 148
    {1, "There is no default %s in the database."},  // 149
    {2, "There are %ld default %s in the database."},  // 150
    {0, "Initial Response"},  // 151
    {0, "Unexpected global variable data type requested.\n"},  // 152
    {0, "Global variable ID requested does not exist.\n"},  // 153
    {0, "Multiple users found with the same login name.\n"},  // 154
    {0, "Cannot find user with the given login name.\n"},  // 155
    {0, "%Active Contract%"},  // 156
    {0, "UNUSED"},  // 157
    {0, "Exchange"},  // 158
    {0, "Consume"},  // 159
    {0, "UNUSED"},  // 160
    {0, "Remove"},  // 161
    {0, "Correct"},  // 162
    {0, "Being Fixed"},  // 163
    {0, "Update Bug"},  // 164
    {0, "Close Not Fix"},  // 165
    {0, "Deferred"},  // 166
    {0, "Confirmed"},  // 167
    {0, "Test Passed"},  // 168
    {0, "Unable to retrieve user name. Unable to list files."},  // 169
    {0, "Information could not be flushed from the database cache.\n"},  // 170
    {0, "Employees"},  // 171
    {0, "Contacts"},  // 172
    {0, "Chng Contact"},  // 173
    {0, "Create RMA Request"},  // 174
    {0, "Modify RMA Request"},  // 175
    {0, "Delete RMA Request"},  // 176
    {0, "Create Path"},  // 177
    {0, "Delete Path"},  // 178
    {0, "Modify Path"},  // 179
    {0, "Assign"},  // 180
    {0, "T and E log delete"},  // 181
    {0, "Platform 1"},  // 182
    {0, "Platform 2"},  // 183
    {0, "Platform 3"},  // 184
    {0, "Platform 4"},  // 185
    {0, "Platform 5"},  // 186
    {0, "Platform 6"},  // 187
    {0, "Install"},  // 188
    {0, "Undo Exchange"},  // 189
    {0, "Undo Install"},  // 190
    {0, "Undo Remove"},  // 191
    {0, "Undo Upgrade"},  // 192
    {0, "Undo Consume"},  // 193
    {0, "Add Part Used"},  // 194
    {0, "Replace Part Used"},  // 195
    {0, "Close RMA Request"},  // 196
    {0, "Master Time Zone"},  // 197
    {0, "A master time zone must be setup. Please contact your system administrator."},  // 198
    {1, "Master time zone '%s' not defined. Please contact your system administrator."},  // 199
    {1, "Invalid restrictions (on '%s') set up for your privilege class. See your OrbisanCRM admin."},  // 200
    {0, "Contacts"},  // 201
    {0, "No"},  // 202
    {0, "Ok"},  // 203
    {0, "Continue"},  // 204
    {0, "Delete"},  // 205
    {0, "Country"},  // 206
    {0, "State/Prov"},  // 207
    {0, "Time Zone"},  // 208
    {0, "None"},  // 209
    {0, "Save"},  // 210
    {0, "Discard"},  // 211
    {0, "Cancel"},  // 212
    {0, "Unknown"},  // 213
    {0, "Unknown Type"},  // 214
    {0, "Descending"},  // 215
    {0, "Ascending"},  // 216
    {0, "Done"},  // 217
    {0, "Open"},  // 218
    {0, "Width"},  // 219
    {0, "Height"},  // 220
    {0, "Sort"},  // 221
    {0, "Sort By"},  // 222
    {0, "Obsolete"},  // 223
    {0, "Year"},  // 224
    {0, "Month"},  // 225
    {0, "Week"},  // 226
    {0, "Day"},  // 227
    {0, "Hour"},  // 228
    {0, "Minute"},  // 229
    {0, "Second"},  // 230
    {0, "Delete Part Used"},  // 231
    {0, "Install (Move)"},  // 232
    {0, "Exchange (Move)"},  // 233
    {0, "Part Used (Move)"},  // 234
    {0, "Server Time Zone"},  // 235
    {0, "A server time zone must be setup. Please contact your system administrator."},  // 236
    {1, "Server time zone '%s' not defined. Please contact your system administrator."},  // 237
    {0, "BRISK_PRINT"},  // 238
    {0, "Print command cannot find lpr/lp. Please set BRISK_PRINT environment variable to specify printer executable."},  // 239
    {0, "Receive"},  // 240
    {0, "Transfer"},  // 241
    {0, "Update Inventory"},  // 242
    {0, "Ship"},  // 243
    {0, "RQST Open"},  // 244
    {0, "Picked"},  // 245
    {0, "Fulfilled"},  // 246
    {0, "Shipped"},  // 247
    {0, "Received"},  // 248
    {0, "On Hold"},  // 249
    {0, "RQST Closed"},  // 250
    {0, "Module A"},  // 251
    {0, "Module B"},  // 252
    {0, "Module C"},  // 253
    {0, "time stamp of popup list"},  // 254
    {0, "Unpicked"},  // 255
    {0, "Part Used"},  // 256
    {0, "Update Inv"},  // 257
    {0, "Backordered"},  // 258
    {0, "Fulfill Request"},  // 259
    {0, "Pick"},  // 260
    {0, "Unpick"},  // 261
    {0, "Backorder"},  // 262
    {0, "Module D"},  // 263
    {0, "Quote"},  // 264
    {0, "Active Contract"},  // 265
    {0, "Closed Contract"},  // 266
    {0, "Module E"},  // 267
    {0, "Open Lead"},  // 268
    {0, "Open Opportunity"},  // 269
    {0, "Won"},  // 270
    {0, "Lost"},  // 271
    {0, "Create Quote"},  // 272
    {0, "Chg Sts"},  // 273
    {0, "Chg Sts:Converted"},  // 274
    {0, "Chg Sts:Renew"},  // 275
    {0, "Change Status"},  // 276
    {0, "Create Opp"},  // 277
    {0, "File Check Out"},  // 278
    {0, "File Check In"},  // 279
    {0, "File Uncheck Out"},  // 280
    {0, "RQST Closed"},  // 281
    {0, "Close Opp"},  // 282
    {0, "Create Contact"},  // 283
    {0, "Win Deal"},  // 284
    {0, "Lose Deal"},  // 285
    {0, "Modify Opp"},  // 286
    {0, "Change Status"},  // 287
    {0, "Create Task"},  // 288
    {0, "Complete Task"},  // 289
    {0, "Close Task"},  // 290
    {0, "Create Quote"},  // 291
    {0, "Issue Quote"},  // 292
    {0, "Copy Quote"},  // 293
    {0, "Job Close"},  // 294
    {0, "Job Create"},  // 295
    {0, "Case ID"},  // 296
    {0, "'BETWEEN' format is invalid. Correct format is: mm/dd/yy  mm/dd/yy"},  // 297
    {0, "Exchange"},  // 298
    {0, "Zarvo SEND"},  // 299
    {0, "Zarvo REJECT"},  // 300
    {0, "Zarvo NEW1"},  // 301
    {0, "Zarvo NEW2"},  // 302
    {0, "Zarvo NEW3"},  // 303
    {0, "Zarvo NEW4"},  // 304
    {0, "Zarvo NEW5"},  // 305
    {0, "Zarvo NEW6"},  // 306
    {0, "Zarvo NEW7"},  // 307
    {0, "Zarvo NEW8"},  // 308
    {0, "Zarvo NEW9"},  // 309
    {0, "Zarvo NEW10"},  // 310
    {0, "Zarvo NEW11"},  // 311
    {0, "Zarvo NEW12"},  // 312
    {0, "Contract Closed"},  // 313
    {0, "RQST Reopened"},  // 314
    {0, "RQST Reopened"},  // 315
    {0, "Reopen RMA Request"},  // 316
    {0, "In Repair"},  // 317
    {0, "Not Started"},  // 318
    {0, "Open Action Item"},  // 319
    {0, "Closed Action Item"},  // 320
    {0, "In Repair"},  // 321
    {0, "SFA Quote"},  // 322
    {0, "Issued"},  // 323
    {0, "Accepted"},  // 324
    {0, "Rejected"},  // 325
    {0, "UNKN"},  // 326
    {0, "CUST"},  // 327
    {0, "INTR"},  // 328
    {0, "RSEL"},  // 329
    {0, "INDV"},  // 330
    {0, "Active"},  // 331
    {0, "Inactive"},  // 332
    {0, "Closed Opportunity"},  // 333
    {0, "Closed SFA Quote"},  // 334
    {0, "Roamer Conflict"},  // 335
    {0, "Count Created"},  // 336
    {0, "Count Initialized"},  // 337
    {0, "Tags or Sheets Created"},  // 338
    {0, "Count Locations Reinitialized"},  // 339
    {0, "Counting Started"},  // 340
    {0, "Trial Reconciliation"},  // 341
    {0, "Recounting"},  // 342
    {0, "Accept Variances Complete"},  // 343
    {0, "Task Status"},  // 344
    {0, "Task Priority"},  // 345
    {0, "Task Type"},  // 346
    {0, "Module F"},  // 347
    {0, "Quoted"},  // 348
    {0, "Submitted"},  // 349
    {0, "Closed Order"},  // 350
    {0, "order entry"},  // 351
    {0, "Batch Fulfill Request"},  // 352
    {0, "Batch Receive"},  // 353
    {0, "MixedMedia"},  // 354
    {0, "Dialogue Priority"},  // 355
    {0, "Communication Response"},  // 356
    {0, "Open Dialogue"},  // 357
    {0, "Closed Dialogue"},  // 358
    {0, "Dialogue"},  // 359
    {0, "Direction"},  // 360
    {0, "Delivery Status"},  // 361
    {0, "Action Type"},  // 362
    {0, "Property Type"},  // 363
    {0, "Property Subtype"},  // 364
    {0, "Config Item Type"},  // 365
    {0, "Config Item Scope"},  // 366
    {0, "Script Parameter Type"},  // 367
    {0, "Negative rate is not allowed."},  // 368
    {0, "Quote-Temporary"},  // 369
    {0, "SFA Quote-Temporary"},  // 370
};
// clang-format on

constexpr ost_ty_msg_tables<OAB_NUM_MSGS> kTables{kMessages};

}  // namespace

long oab_str_init() {
  return ost_msg_install("oab", OAB_SUBSYS, OAB_FIRST_ID, OAB_LAST_ID, kTables);
}

long oab_alrt(const char* proc, long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, proc, code, 0, args);
  va_end(args);
  return code;
}

const char* oab_msg_text(long code) {
  const char* text = nullptr;
  if (cmn_alrt_get_msg(code, &text) != 0 || text == nullptr) return "";
  return text;
}
