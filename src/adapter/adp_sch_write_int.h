// What the dictionary writers share: object ids for new rows, texts in the
// server's code page, statements built on the connection's batch, and the
// per-kind writers adp_sch_write dispatches to.
#pragma once

#include <functional>
#include <string>
#include <vector>

class KAdpConnId;
class KAdpSqlBatch;
struct typ_sch_srec;
struct typ_sch_rrec;
struct typ_sch_rel_inst;

// With the offline feature on, one new object id per row (pseudo type
// 100000001, combined with the site id); else ids stays empty.
long adp_sch_row_ids(KAdpConnId* con, long rows, std::vector<long>* ids);
// The text converted to the server's code page ("" for null).
std::string adp_sch_server_text(KAdpConnId* con, const char* text);
// Runs body in a transaction of its own: committed, or rolled back when it
// fails.
long adp_sch_in_transaction(KAdpConnId* con, const std::function<long()>& body);
// Builds one statement on the reset batch and runs it.
long adp_sch_run(KAdpConnId* con, const std::function<void(KAdpSqlBatch&)>& build);
// Runs one DDL text on the reset batch (also printed into the DDL file
// when print is set and the file is open).
long adp_sch_run_ddl(KAdpConnId* con, const std::string& text, bool print);
// Inserts the adp_sch_rel_info row of one relation entry of a type, in the
// caller's transaction (the type's other rows are left alone).
long adp_sch_write_rel_entry(KAdpConnId* con, typ_sch_srec* schema, long position);
// The relation record of a schema's entry (null when none).
typ_sch_rrec* adp_sch_entry_rel(const typ_sch_rel_inst& entry);
// Physical names by the connection's name mapper.
std::string adp_sch_phys(KAdpConnId* con, const char* logical, long convert, long number = 0,
                         typ_sch_srec* type = nullptr);

long adp_sch_write_object(KAdpConnId* con, typ_sch_srec* schema, char create, char existed);
long adp_sch_write_view(KAdpConnId* con, typ_sch_srec* view, char create);
long adp_sch_write_view_fields(KAdpConnId* con, typ_sch_srec* view);
long adp_sch_write_view_joins(KAdpConnId* con, typ_sch_srec* view);
