// Binary arrays: arrays of 32-bit numbers an object owns that are too long
// for a column. Each array number of a type has a side table of its own
// ("table_<type>_array_<n>", the name mapper's array-table rule) with the
// columns objid, seq_num and data and a unique index on (objid, seq_num).
//
// An array is cut into rows of 63 numbers in array order, each number a
// 4-byte big-endian word of data. Every row but the last is numbered 1, 2,
// 3 ...; the last row is always numbered 32767, also when it is the only
// one. An array holds at most 2064258 numbers (32766 rows); an empty array
// has no row.
//
// Array sets in memory are collections with one element per object, in one
// of two forms that option bit 0 chooses:
//  - flat (bit set): a collection of pointers (type 517) to adp_bar_flat
//    records in the collection's own pool;
//  - nested (bit clear): a collection of collections (type 518); each inner
//    collection holds the numbers (type 512) and its user word the address
//    of the object's id, kept in the inner collection's own pool.
// A number in memory is a long holding a 32-bit value; it is stored as a
// 32-bit word and read back sign-extended. A number outside -2^31 .. 2^31-1
// is refused (ADP_BAR_OUT_OF_RANGE, printed) before anything is written or
// added.
//
// Every call that takes a connection returns 0 or a status; alerts are
// those of the statement interface unless said otherwise.
#pragma once

#include <cstdio>

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
class KAdpSqlBatch;
struct utl_ty_col;
struct utl_ty_pool;

constexpr long ADP_BAR_ROW_NUMBERS = 63;        // numbers in one full row
constexpr long ADP_BAR_WORD_BYTES = 4;          // bytes of one stored number
constexpr long ADP_BAR_LAST_ROW = 32767;        // seq_num of an array's last row
constexpr long ADP_BAR_MAX_NUMBERS = 2064258;   // 32766 rows of 63
constexpr long ADP_BAR_BATCH_ROWS = 50;         // row inserts sent in one batch
constexpr long ADP_BAR_TABLE_NAME_SIZE = 257;   // buffer of adp_bar_table_name

// Options.
constexpr long ADP_BAR_OPT_FLAT = 1;            // the set is in the flat form
constexpr long ADP_BAR_OPT_BIG_ENDIAN = 16;     // add_to_array: numbers are stored words
constexpr long ADP_BAR_OPT_OWN_TRANSACTION = 32;  // put and new run in a transaction of their own
// adp_bar_get flags.
constexpr long ADP_BAR_GET_LOCK = 1;            // read with row locks

// Forms of dump and free.
constexpr long ADP_BAR_FORM_FLAT = 1;
constexpr long ADP_BAR_FORM_NESTED = 2;

// Element types of the two forms' outer collections and of the numbers.
constexpr long ADP_BAR_FLAT_ELEMENT = 517;      // void pointer
constexpr long ADP_BAR_NESTED_ELEMENT = 518;    // collection
constexpr long ADP_BAR_NUMBER_ELEMENT = 512;    // long

// Returned, not pushed.
constexpr long ADP_BAR_NAME_TOO_LONG = 0x60001C;  // the side table's name exceeds the dialect's limit
constexpr long ADP_BAR_TOO_LARGE = 1;             // an array of more than 2064258 numbers (printed)
constexpr long ADP_BAR_OUT_OF_RANGE = 1;          // a number outside the 32-bit range (printed)

// One array of a flat set: the object's id and the count, followed in the
// same block by count numbers (adp_bar_flat_numbers).
struct adp_bar_flat {
  obj_id id;
  long count;
};
inline long* adp_bar_flat_numbers(adp_bar_flat* a) { return reinterpret_cast<long*>(a + 1); }
inline const long* adp_bar_flat_numbers(const adp_bar_flat* a) { return reinterpret_cast<const long*>(a + 1); }

ORB_API long adp_bar_init();
ORB_API long adp_bar_term();

// Writes the arrays of the set's objects, replacing the rows they had.
ORB_API long adp_bar_put(KAdpConnId* con, long type_id, long array_number, long options, utl_ty_col* set);
// Writes the arrays of new objects (no rows are deleted first).
ORB_API long adp_bar_new(KAdpConnId* con, long type_id, long array_number, long options, utl_ty_col* set);
// Stores the last `appended` numbers of each array of the set, the rest
// being stored already: full rows inserted, the last row inserted (all new)
// or updated; an empty array loses its rows.
ORB_API long adp_bar_append(KAdpConnId* con, long type_id, long array_number, long options, long appended,
                            utl_ty_col* set);
// Reads the arrays of the objects of ids (object ids, type 594) into *set,
// made in the form of options bit 0 when null. Only an object whose rows end
// with row 32767 gets an array; one without it is logged. flags bit 0 reads
// with row locks unless the store's super flag has bit 8.
ORB_API long adp_bar_get(KAdpConnId* con, long type_id, long array_number, utl_ty_col* ids, long options,
                         utl_ty_col** set, long flags);
// Deletes the rows of one object's array.
ORB_API long adp_bar_delete(KAdpConnId* con, long type_id, long array_number, const obj_id* id);

// One row: inserted (insert != 0) or its data updated.
ORB_API long adp_bar_put_row(KAdpConnId* con, const char* table, long id_number, long row, const char* data,
                             long insert);
// Appends one insert per row to the batch (data are byte strings), closes
// an Oracle block and runs the batch as one DML batch.
ORB_API long adp_bar_one_batch(KAdpConnId* con, KAdpSqlBatch* batch, long rows, const char* table,
                               const long* id_numbers, const long* row_numbers, char* const* data);

// An empty set in the form of options bit 0.
ORB_API long adp_bar_make_set(long options, utl_ty_col** set);
// Adds one array to the set in the form of options bit 0. With option 16
// numbers points to count stored (big-endian) words, else to count longs,
// each checked to fit in 32 bits first.
ORB_API long adp_bar_add_to_array(utl_ty_col* set, const obj_id* id, long count, const void* numbers, long options);
// Array i of a set of the given form: the object's id, count and numbers
// (owned by the set).
ORB_API long adp_bar_array_at(utl_ty_col* set, long form, long index, obj_id* id, long* count,
                              const long** numbers);
// Prints the set; a set that is not of the form prints a line saying so.
ORB_API long adp_bar_dump_array(FILE* stream, long indent, utl_ty_col* set, long form);
// Frees the set (the nested form's inner collections first). The pool is
// not used: a set owns its storage.
ORB_API long adp_bar_free_array(utl_ty_pool* pool, utl_ty_col* set, long form);
