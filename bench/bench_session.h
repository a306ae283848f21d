// A session of the adapter benchmarks on a private MariaDB database: the
// Oracle-dialect service loaded, the runtime, schema and object store
// started, the connection opened on the database and the CRM dictionary
// read. Exits with a message naming the program when a step fails.
#pragma once

class KAdpConnId;
namespace testdb {
class database;
}

[[noreturn]] void bench_fail(const char* program, const char* what);
KAdpConnId* bench_open_session(testdb::database& db, const char* program);
