// Initial field values of local objects and the size of their pool extents.
#include <cstdint>
#include <cstring>

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "store/dbs_obj_int.h"

namespace {

constexpr long kBoxAlign = 8;
constexpr long kTextRoom = 64;
constexpr long kLongType = 512;
constexpr long kTextType = 516;
constexpr long kDecimalType = 766;
const clktime kNullDate{-53690, 0};

cmn_ty_decimal zero_decimal() {
  cmn_ty_decimal d{};
  std::strcpy(d.text, "0.0");
  d.precision = 2;
  d.scale = 1;
  return d;
}

const cmn_ty_decimal kZeroDecimal = zero_decimal();

long value_size(long type) {
  switch (type) {
    case 514: return sizeof(float);
    case 609: return sizeof(clktime);
    case 613:
    case 614: return sizeof(double);
    case kDecimalType: return sizeof(cmn_ty_decimal);
    default: return 0;
  }
}

// Initial value of a boxed type into storage.
void initial_box(long type, void* to) {
  switch (type) {
    case 514: *static_cast<float*>(to) = 0.0f; break;
    case 609: *static_cast<clktime*>(to) = kNullDate; break;
    case 613:
    case 614: *static_cast<double*>(to) = 0.0; break;
    case kDecimalType: *static_cast<cmn_ty_decimal*>(to) = kZeroDecimal; break;
    default: break;
  }
}

long aligned(long n) { return (n + kBoxAlign - 1) / kBoxAlign * kBoxAlign; }
bool has_default(const typ_sch_frec& f) { return f.def && *f.def; }
long long_default(const typ_sch_frec& f) { return f.data_type == kLongType && has_default(f) ? loc_st_atoi(f.def) : 0; }

// A boxed value of size bytes from the pool, filled with zeros.
void* zero_box(utl_ty_pool* pool, long size) {
  void* p = nullptr;
  if (utl_pl_alloc4(pool, size, &p) != 0) return nullptr;
  std::memset(p, 0, static_cast<size_t>(size));
  return p;
}

// Bytes a fresh object's values take in its pool: the boxed values, each
// on its own 8-byte boundary, and the texts (the defaults, and one empty
// text shared by the text fields without a default).
void fresh_sizes(const typ_sch_srec* s, long* boxes, long* texts) {
  bool empty = false;
  for (long i = 0; i < s->nfields; ++i) {
    const typ_sch_frec& f = s->fields[i];
    if (f.flags & TYP_FLD_INTEGER) continue;
    if (long size = value_size(f.data_type); size > 0) {
      *boxes += aligned(size);
    } else if (f.data_type == kTextType) {
      if (has_default(f))
        *texts += static_cast<long>(std::strlen(f.def)) + 1;
      else
        empty = true;
    }
  }
  if (empty) *texts += 1;
}

// Every value of a fresh object taken from one block of its emptied pool.
long init_fresh(dbs_ty_lobj* o) {
  const typ_sch_srec* s = o->schema;
  utl_pl_reset(o->pool);
  long boxes = 0, texts = 0;
  fresh_sizes(s, &boxes, &texts);
  char* box = nullptr;
  char* text = nullptr;
  if (boxes + texts > 0) {
    const long bytes = boxes + texts + kBoxAlign;
    void* raw = nullptr;
    if (utl_pl_alloc(o->pool, bytes, &raw) != 0) return cmn_alrt_push_no_memory(bytes, "dbs_obj_make");
    const auto start = reinterpret_cast<uintptr_t>(raw);
    box = reinterpret_cast<char*>((start + kBoxAlign - 1) / kBoxAlign * kBoxAlign);
    text = box + boxes;
  }
  char* shared_empty = nullptr;
  for (long i = 0; i < s->nfields; ++i) {
    const typ_sch_frec& f = s->fields[i];
    dbs_ty_slot& slot = o->slots[i];
    o->dirty[i] = 0;
    const long size = f.flags & TYP_FLD_INTEGER ? 0 : value_size(f.data_type);
    if (size > 0) {
      slot.p = box;
      initial_box(f.data_type, box);
      box += aligned(size);
    } else if (f.data_type == kTextType && !(f.flags & TYP_FLD_INTEGER)) {
      if (has_default(f)) {
        const size_t n = std::strlen(f.def) + 1;
        std::memcpy(text, f.def, n);
        slot.p = text;
        text += n;
      } else {
        if (!shared_empty) {
          shared_empty = text++;
          *shared_empty = '\0';
        }
        slot.p = shared_empty;
      }
    } else {
      slot.l = long_default(f);
    }
  }
  return 0;
}

// Every value back to its initial value in the storage the object has;
// a boxed value without storage gets it from the pool.
long init_in_place(dbs_ty_lobj* o, bool keep_decimals) {
  const typ_sch_srec* s = o->schema;
  char* shared_empty = nullptr;
  for (long i = 0; i < s->nfields; ++i) {
    const typ_sch_frec& f = s->fields[i];
    dbs_ty_slot& slot = o->slots[i];
    o->dirty[i] = 0;
    const long size = f.flags & TYP_FLD_INTEGER ? 0 : value_size(f.data_type);
    if (size > 0) {
      if (f.data_type == kDecimalType && keep_decimals && slot.p) continue;
      if (!slot.p && !(slot.p = zero_box(o->pool, size))) return cmn_alrt_push_no_memory(size, "dbs_obj_make");
      initial_box(f.data_type, slot.p);
    } else if (f.data_type == kTextType && !(f.flags & TYP_FLD_INTEGER)) {
      if (has_default(f)) {
        char* copy = nullptr;
        if (long st = utl_pl_alloc_string(o->pool, f.def, &copy)) return st;
        slot.p = copy;
      } else {
        if (!shared_empty && utl_pl_alloc_string(o->pool, "", &shared_empty) != 0)
          return cmn_alrt_push_no_memory(1, "dbs_obj_make");
        slot.p = shared_empty;
      }
    } else {
      slot.l = long_default(f);
    }
  }
  return 0;
}

}  // namespace

long dbs_obj_extent_size(const typ_sch_srec* s) {
  long size = kTextRoom;
  for (long i = 0; i < s->nfields; ++i) {
    if (s->fields[i].flags & TYP_FLD_INTEGER) continue;
    if (long box = value_size(s->fields[i].data_type); box > 0) size += box + kBoxAlign;
  }
  return size;
}

long dbs_obj_init_fields(dbs_ty_lobj* o, bool fresh, bool keep_decimals) {
  return fresh ? init_fresh(o) : init_in_place(o, keep_decimals);
}
