// Generated stored procedures: the relate procedure of a relation (its name,
// its text from the phrase table, saved with drop and grant), the GET
// procedure's name, the stored-procedure log "stproc.log", and the calls
// that hand the procedure sets to the dialect. The calls of a table rebuild
// (its trigger list) are declared in adp_sce.h, adp_stp_create_procs in
// adp_sch_upg.h.
//
// Threads: the name and text buffers and the log are process-wide and
// unguarded; one caller at a time.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_rrec;

// Longest procedure text, with its end (a longer one is refused).
constexpr long ADP_STP_TEXT_SIZE = 4096;

// "rl_%.27s" of a relation's primary-side name; "csp_get_%.22s" of a type
// name. Module buffers that the next call of the same function overwrites.
ORB_API const char* adp_stp_relate_proc_name(const char* relation_name);
ORB_API const char* adp_stp_get_proc_name(const char* type_name);

// The relate procedure of a relation record: its inputs gathered from the
// record and the type cache, then adp_stp_construct_rel_proc.
ORB_API long typ_rel_create_a_proc(KAdpConnId* con, typ_sch_rrec* rel, char** name, char** text);
// The relate procedure's name and text (module buffers) from the phrase
// that fits the relation flags and the offline feature. A many-to-many
// relation (type 5) gives nothing and 0; a text of ADP_STP_TEXT_SIZE
// characters or more is refused with 0x600064. ptable, pvalue and fvalue
// are not read.
ORB_API long adp_stp_construct_rel_proc(KAdpConnId* con, const char* pname, const char* ptype, const char* ptable,
                                        long pvalue, const char* fkey, const char* ftype, const char* ftable,
                                        long fvalue, long rel_type, long rel_flags, const char* phys_name,
                                        const char* focus, long ptype_id, char** name, char** text);
// Builds the relate procedure and saves it.
ORB_API long adp_stp_create_rel_proc(KAdpConnId* con, const char* pname, const char* ptype, const char* ptable,
                                     long pvalue, const char* fkey, const char* ftype, const char* ftable,
                                     long fvalue, long rel_type, long rel_flags, const char* phys_name,
                                     const char* focus, long ptype_id);
// Drops the procedure when it exists, creates it from text (run as it
// stands) and grants its use to PUBLIC.
ORB_API long adp_stp_save_proc_to_db(KAdpConnId* con, const char* name, const char* text);

// The stored-procedure log: opened for writing (1 with a printed message
// when it cannot be made), closed (0 when none is open); the open file or
// null; its name.
ORB_API long adp_stp_open_logfile();
ORB_API long adp_stp_close_logfile();
ORB_API FILE* adp_stp_log_file();
ORB_API const char* adp_stp_log_name();

// The database log flush the procedure run makes at every twentieth entry:
// adp_db_flush_log, unless a replacement is set (null restores it).
using adp_stp_flush_proc = long (*)();
ORB_API void adp_stp_set_flush(adp_stp_flush_proc flush);
ORB_API long adp_stp_flush_log();

// The dialect's procedure operations, results unchanged.
ORB_API long adp_stp_construct_get(KAdpConnId* con, char* type_name, char* table_name, long id_index, long id_type,
                                   long n_fields, char** field_names, FILE* log, char** proc_name, char** proc_text,
                                   char* no_id);
ORB_API long adp_stp_create_get_proc(KAdpConnId* con, void* schema);
ORB_API long adp_stp_procs_for_view(KAdpConnId* con, void* schema);
ORB_API long adp_stp_create_new_proc(KAdpConnId* con);
