// Shared pieces of the client interface's workers: handle conversions, the
// module's alert push, type names to ids and object ids both ways.
#pragma once

#include <cstdint>

#include "client/cpi_ty.h"
#include "client/cpi_utl.h"
#include "client/ost/ost_ty.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct dbs_ty_lobj;
struct utl_ty_col;

// The interface's long handles and the engine's records.
inline ost_ty_state* cpi_state_of(long state) { return reinterpret_cast<ost_ty_state*>(state); }
inline dbs_ty_lobj* cpi_obj_of(void* object) { return static_cast<dbs_ty_lobj*>(object); }
inline long cpi_con_value(KAdpConnId* con) { return static_cast<long>(reinterpret_cast<intptr_t>(con)); }
inline KAdpConnId* cpi_con_of(long con_id) { return reinterpret_cast<KAdpConnId*>(static_cast<intptr_t>(con_id)); }
// The session's connection (the application services' shared connection).
KAdpConnId* cpi_current_con();

// The session's two caches, dropped when the user changes.
extern utl_ty_col* cpi_sess_cache_elem_col;
extern utl_ty_col* cpi_sess_user_wipbin_col;

// Pushes one of the module's codes (no procedure name) and returns it.
long cpi_alrt(long code, ...);
// Row 9: parameter number and name.
long cpi_bad_param(long param, const char* name);

// The schema id of a type name; unknown (negative) pushes row 1 with the name.
long cpi_type_id(const char* type_name, long* type_id);

// Field by field between the interface's id record and the store's.
inline obj_id cpi_to_oid(const cpi_ty_objid& id) { return obj_id{id.type_word, id.id_number, id.id_ext}; }
inline cpi_ty_objid cpi_from_oid(const obj_id& id) { return cpi_ty_objid{id.type, id.num, id.sub}; }
inline long cpi_objid_type(const cpi_ty_objid& id) { return id.type_word & CPI_OBJID_TYPE_MASK; }
