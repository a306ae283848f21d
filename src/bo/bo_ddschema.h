// Helpers of the schema text writer (KDdDict::OutputSchemaFile and the
// records' OutputSchema): formatted appends to the file and quoted texts.
#pragma once

#include "bo/bo_internal.h"
#include "kclassic/kc_file.h"
#include "kclassic/kc_zstr.h"

namespace KCLASSIC {

// Appends the printf-formatted text to file.
BO_INTERNAL void bo_schema_put(KFile& file, const char* format, ...) __attribute__((format(printf, 2, 3)));
// text for a double-quoted value: each '"' preceded by a backslash.
BO_INTERNAL KZString bo_schema_quoted(const KZString& text);
// Orders two alias entries (const char* const*) with kstrcmp; for qsort.
BO_INTERNAL int CompareAlias(const void* a, const void* b);

} // namespace KCLASSIC
