// The clock's message list (subsystem 34, message ids 7600..7652) and the
// names it carries: short and long month names and weekday names.
//
// Threads: start-up only (it fills the message-list slot; see loc_str.h).
#pragma once

#include "orb_api.h"

constexpr long CLK_SUBSYS = 34;
constexpr long CLK_FIRST_ID = 7600;
constexpr long CLK_LAST_ID = 7652;
constexpr long CLK_NUM_MSGS = 53;
constexpr long CLK_ALRT_BASE = 0x2200000;

constexpr long clk_code(long n) { return CLK_ALRT_BASE + n; }

// Alert codes; the arguments follow the conversions of the message text.
constexpr long CLK_BEFORE_1753 = clk_code(0);      // day
constexpr long CLK_BAD_TICKS = clk_code(1);        // ticks
constexpr long CLK_BAD_DATEPART = clk_code(2);     // part
constexpr long CLK_NO_CONVERSION = clk_code(3);    // source, destination, conversion type
constexpr long CLK_UNEXPECTED_TYPE = clk_code(4);  // type
constexpr long CLK_BAD_MONTH = clk_code(5);        // month 1..12
constexpr long CLK_BAD_DAY = clk_code(6);          // day, long month name, year
constexpr long CLK_INVALID = clk_code(7);          // none
constexpr long CLK_BAD_ELAPSED = clk_code(8);      // text
constexpr long CLK_ELAPSED_LIMIT = clk_code(9);    // text
constexpr long CLK_BAD_TEXT = clk_code(10);        // text
constexpr long CLK_AFTER_4712 = clk_code(11);      // none
constexpr long CLK_DIFF_OVERFLOW = clk_code(12);   // none
constexpr long CLK_CLOCKS_APART = clk_code(13);    // none
constexpr long CLK_DRIFT = clk_code(14);           // seconds
constexpr long CLK_RESET = clk_code(15);           // none
constexpr long CLK_TEXT_MONTH = clk_code(16);      // month
constexpr long CLK_TEXT_DAY = clk_code(17);        // day
constexpr long CLK_TEXT_HOUR = clk_code(18);       // hour
constexpr long CLK_TEXT_MINUTE = clk_code(19);     // minute
constexpr long CLK_TEXT_SECOND = clk_code(20);     // second
constexpr long CLK_NOT_CACHED = clk_code(21);      // procedure name

// Registers the list and its compiled-in texts.
ORB_API long clk_str_init();
// The compiled-in text of message n (0..52), or null.
const char* clk_str_text(long n);

// Loads the short month names (#22..#33) into the module's table.
long clk_str_load_months();
// Short month name "JAN".."DEC" of month 0..11 (null outside).
const char* clk_str_short_month(long month);
// Long month name "January".."December" of month 0..11, from the message
// list; "" when it cannot be found.
const char* clk_str_long_month(long month);
// Weekday name "Sunday".."Saturday" of weekday 0..6; "" when not found.
const char* clk_str_weekday(long weekday);

// Pushes the code with its arguments on the current alert stack and returns
// the code.
long clk_alrt(const char* proc, long code, ...);
