// Field types and value forms of the client interface, and the one-field
// set and get shared by its object and query workers.
#pragma once

struct dbs_ty_lobj;

// Field types that change how a value crosses the interface.
constexpr long CPI_FT_LONG = 512;
constexpr long CPI_FT_SHORT = 513;
constexpr long CPI_FT_FLOAT = 514;
constexpr long CPI_FT_CHAR = 515;
constexpr long CPI_FT_TEXT = 516;
constexpr long CPI_FT_POINTER = 517;
constexpr long CPI_FT_DATE = 609;
constexpr long CPI_FT_DOUBLE = 613;
constexpr long CPI_FT_DOUBLE2 = 614;
constexpr long CPI_FT_DATE2 = 653;
constexpr long CPI_FT_DECIMAL = 766;

// Date texts read from an object: a block of this size (+1) of its pool.
constexpr long CPI_DATE_TEXT_SIZE = 256;
// The clock's null date (day), and the first far-future day.
constexpr long CPI_NULL_DATE_DAY = -53690;
constexpr long CPI_FAR_FUTURE_DAY = 1027426;

// value as the public set call takes it (dates as texts; 653 too when
// dates_as_text); inf_flag 1 reads an open-ended date text and sets
// through the store's checked path.
long cpi_fld_set_one(dbs_ty_lobj* object, const char* name, const void* value, signed char inf_flag,
                     bool dates_as_text);
// The value into the slot out_value points at (dates and decimals as blocks
// of the object's pool); out_type optional.
long cpi_fld_get_one(dbs_ty_lobj* object, const char* name, void* out_value, long* out_type);
