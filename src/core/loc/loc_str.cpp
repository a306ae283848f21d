// Message-list slots and the look-up of message texts.
#include "core/loc/loc_str.h"

#include <strings.h>

#include <cstring>

#include "core/msg/msg_fmt.h"
#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"

namespace {

loc_ty_slist* loc_str_slists = nullptr;
long loc_str_num_slists = 0;
long loc_str_capacity = 0;  // slots allocated (a later install may ask for more)
bool loc_str_started = false;
loc_ty_subs_proc loc_str_subs_proc = nullptr;
loc_ty_res_proc loc_str_res_proc = nullptr;
bool loc_str_static_strings = false;
loc_ty_qry_string_cb loc_str_qry_cb = nullptr;
const long* loc_str_con_id = nullptr;
char loc_str_buf[LOC_STR_BUF_SIZE];

// What a null text from a source shows.
const char kEmpty[] = "";

// Number of texts of a slot's list: its ids may be given in either order.
long slot_length(const loc_ty_slist* slot) {
  return (slot->first_id > slot->last_id ? slot->first_id - slot->last_id
                                         : slot->last_id - slot->first_id) + 1;
}

void empty_slot(loc_ty_slist* slot) {
  slot->first_id = -1;
  slot->last_id = -1;
  slot->name[0] = 0;
  slot->count = 0;
  slot->texts = nullptr;
  slot->num_args = 0;
  slot->args = nullptr;
}

// The compiled-in text of entry index of the list first..last, or null.
const char* compiled_text(long first, long last, long index) {
  long count = 0;
  const char* const* table = nullptr;
  if (loc_str_res_proc == nullptr || loc_str_res_proc(first, last, &count, &table) != 0) return nullptr;
  return table != nullptr && index < count ? table[index] : nullptr;
}

// A text from the database becomes a format only when it reads what callers
// of its message pass: no argument as two types; no more arguments than the
// message's descriptor gives; each argument that the library's own text of
// the message reads, as the same type; and, without a descriptor, no argument
// that the library's own text does not read. (A message with neither
// descriptor nor text of its own is taken as it comes.)
bool fits_callers(const loc_ty_slist* slot, long index, const char* text, const char* model) {
  long used = 0, conflict = 0;
  char kinds[MSG_FMT_SLOTS + 1];
  msg_fmt_args(text, &used, &conflict, kinds);
  if (conflict != 0) return false;
  const bool counted = slot->args != nullptr && index < slot->num_args && slot->args[2 * index] >= 0;
  if (counted && used > slot->args[2 * index]) return false;
  if (model == nullptr) return true;
  long model_used = 0;
  char model_kinds[MSG_FMT_SLOTS + 1];
  msg_fmt_args(model, &model_used, nullptr, model_kinds);
  for (long a = 0; a < used; ++a) {
    if (kinds[a] == '-') continue;
    if (a < model_used && model_kinds[a] != '-') {
      if (kinds[a] != model_kinds[a]) return false;
    } else if (!counted) {
      return false;
    }
  }
  return true;
}

}  // namespace

long loc_str_init() { return 0; }
long loc_str_term() { return 0; }

long loc_str_install_subs(long num_slots, loc_ty_subs_proc proc) {
  if (num_slots < 0) num_slots = 0;
  if (loc_str_slists == nullptr || num_slots > loc_str_capacity) {
    // A later install with more slots than before gets a larger table rather
    // than filling slots past the end of the old one.
    long bytes = (num_slots > 0 ? num_slots : 1) * static_cast<long>(sizeof(loc_ty_slist));
    void* table = osl_mem_alloc("loc_str_install_subs", bytes);
    if (table == nullptr) {
      osl_print_mes("%s: Cannot allocate %ld bytes for LOC subsystem table\n",
                    "loc_str_install_subs", bytes);
      return -1;
    }
    if (loc_str_slists != nullptr) {
      for (long i = 0; i < loc_str_num_slists; ++i) osl_mem_free("loc_str_install_subs", loc_str_slists[i].texts);
      osl_mem_free("loc_str_install_subs", loc_str_slists);
    }
    loc_str_slists = static_cast<loc_ty_slist*>(table);
    loc_str_capacity = num_slots;
  } else {
    for (long i = 0; i < loc_str_num_slists; ++i) osl_mem_free("loc_str_install_subs", loc_str_slists[i].texts);
  }
  for (long i = 0; i < num_slots; ++i) empty_slot(&loc_str_slists[i]);
  loc_str_num_slists = num_slots;
  loc_str_subs_proc = proc;
  loc_str_started = true;
  return 0;
}

loc_ty_subs_proc loc_str_get_subs_proc() { return loc_str_subs_proc; }

long loc_str_install_res_proc(loc_ty_res_proc proc) {
  loc_str_res_proc = proc;
  return 0;
}

long loc_str_init_list(const char* name, long number, long first_id, long last_id, long num_args,
                       const signed char* args) {
  if (!loc_str_started) {
    osl_print_mes("%s: cmn_subs_init must be called before this procedure\n", "loc_str_init_list");
    return -1;
  }
  if (number < 1 || number > loc_str_num_slists) {
    osl_print_mes("%s: Bad id code %ld given during initialization\n", "loc_str_init_list", number);
    return -1;
  }
  loc_ty_slist* slot = &loc_str_slists[number - 1];
  osl_mem_free("loc_str_init_list", slot->texts);
  empty_slot(slot);
  if (name != nullptr) {
    std::strncpy(slot->name, name, sizeof slot->name - 1);
    slot->name[sizeof slot->name - 1] = 0;
  }
  slot->first_id = first_id;
  slot->last_id = last_id;
  slot->num_args = num_args;
  slot->args = args;
  return 0;
}

long loc_str_install_qry_string_cb(loc_ty_qry_string_cb cb, const long* con_id) {
  loc_str_qry_cb = cb;
  loc_str_con_id = con_id;
  return 0;
}

long loc_str_get_str(long number, long index, const char** text, long* nargs, long* cls) {
  if (number < 1 || number > loc_str_num_slists) {
    osl_print_mes("%s: Invalid string list id %ld\n", "loc_str_get_str", number);
    return -1;
  }
  loc_ty_slist* slot = &loc_str_slists[number - 1];
  long length = slot_length(slot);
  if (index < 0 || index >= length) {
    osl_print_mes("%s: Invalid string index %ld in subsystem '%s'\n", "loc_str_get_str", index,
                  slot->name);
    return -1;
  }
  const char* found = nullptr;
  bool from_db = false;
  if (slot->texts != nullptr && slot->texts[index] != nullptr) {
    found = slot->texts[index];
    from_db = true;
  } else {
    if (slot->first_id == -1 || slot->last_id == -1) {
      osl_print_mes("%s: String list not installed for subsystem #%ld\n", "loc_str_get_str", number);
      return -1;
    }
    long first = slot->first_id < slot->last_id ? slot->first_id : slot->last_id;
    long last = slot->first_id < slot->last_id ? slot->last_id : slot->first_id;
    long count = 0;
    bool served = false;
    if (loc_str_qry_cb != nullptr && loc_str_con_id != nullptr) {
      if (slot->texts == nullptr) {
        long bytes = length * static_cast<long>(sizeof(const char*));
        void* array = osl_mem_alloc("loc_str_get_str", bytes);
        if (array == nullptr) {
          osl_print_mes("Cannot allocate %ld bytes for strings\n", bytes);
          return -1;
        }
        std::memset(array, 0, static_cast<size_t>(bytes));
        slot->texts = static_cast<const char**>(array);
      }
      count = slot->count;
      served = loc_str_qry_cb(*loc_str_con_id, first, last, &count, slot->texts) == 0;
      if (served) {
        found = slot->texts[index];
        from_db = true;
      }
    }
    if (!served) {
      // Compiled-in texts serve this look-up only (also when the database
      // cannot give the list, e.g. it holds no message texts); the slot keeps
      // no cache so that a database source installed later takes over.
      const char* const* table = nullptr;
      if (loc_str_res_proc == nullptr || loc_str_res_proc(first, last, &count, &table) != 0)
        return -1;
      found = table != nullptr && index < count ? table[index] : nullptr;
    }
    if (count > length) count = length;
    if (count < 0) count = 0;
    slot->count = count;
  }
  if (from_db && found != nullptr) {
    long first = slot->first_id < slot->last_id ? slot->first_id : slot->last_id;
    long last = slot->first_id < slot->last_id ? slot->last_id : slot->first_id;
    const char* model = compiled_text(first, last, index);
    if (!fits_callers(slot, index, found, model)) {
      // Never used as a format: the compiled-in text stands in, else none.
      osl_print_mes("%s: message %ld of subsystem '%s' does not fit its arguments; not used\n",
                    "loc_str_get_str", index, slot->name);
      found = model;
    }
  }
  if (text != nullptr) *text = found != nullptr ? found : kEmpty;
  long n = 0, c = 1;
  if (index >= slot->num_args) {
    n = -1;
    c = 2;
  } else if (slot->args != nullptr) {
    n = slot->args[2 * index];
    c = slot->args[2 * index + 1];
  }
  if (nargs != nullptr) *nargs = n;
  if (cls != nullptr) *cls = c;
  return 0;
}

long loc_str_vformat_str(long number, long index, long size, char* buffer, va_list args) {
  const char* text = nullptr;
  if (loc_str_get_str(number, index, &text, nullptr, nullptr) != 0) return -1;
  msg_fmt_vformat(loc_str_buf, sizeof loc_str_buf, text, args);
  if (buffer != nullptr && size > 0) {
    size_t n = std::strlen(loc_str_buf);
    if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
    std::memcpy(buffer, loc_str_buf, n);
    buffer[n] = 0;
  }
  return 0;
}

long loc_str_format_str(long number, long index, long size, char* buffer, ...) {
  va_list args;
  va_start(args, buffer);
  long rc = loc_str_vformat_str(number, index, size, buffer, args);
  va_end(args);
  return rc;
}

// The list that holds the id is the registered list whose ids hold it; its
// subsystem's number and first id come from the look-up procedure installed
// with the slots (by the list's name), else from the slot itself.
long loc_str_vformat_str_byresid(long message_id, long size, char* buffer, va_list args) {
  for (long i = 0; i < loc_str_num_slists; ++i) {
    const loc_ty_slist* slot = &loc_str_slists[i];
    if (slot->first_id == -1 || slot->last_id == -1) continue;
    long first = slot->first_id < slot->last_id ? slot->first_id : slot->last_id;
    long last = slot->first_id < slot->last_id ? slot->last_id : slot->first_id;
    if (message_id < first || message_id > last) continue;
    long number = i + 1;
    long subs_number = 0, subs_first = 0, range = 0;
    if (loc_str_subs_proc != nullptr && slot->name[0] != 0 &&
        loc_str_subs_proc(slot->name, &subs_number, &subs_first, &range) == 0 &&
        subs_first <= message_id && message_id < subs_first + range) {
      number = subs_number;
      first = subs_first;
    }
    return loc_str_vformat_str(number, message_id - first, size, buffer, args);
  }
  osl_print_mes("String ID not defined in orbisan system.\n");
  return -1;
}

long loc_str_format_str_byresid(long message_id, long size, char* buffer, ...) {
  va_list args;
  va_start(args, buffer);
  long rc = loc_str_vformat_str_byresid(message_id, size, buffer, args);
  va_end(args);
  return rc;
}

long loc_str_get_subs(const char* name, long* found, long* first_id, long* last_id, long* count,
                      const char*** texts) {
  if (found != nullptr) *found = 0;
  if (name == nullptr) return 0;
  for (long i = 0; i < loc_str_num_slists; ++i) {
    loc_ty_slist* slot = &loc_str_slists[i];
    if (strcasecmp(slot->name, name) != 0) continue;
    if (found != nullptr) *found = 1;
    if (first_id != nullptr) *first_id = slot->first_id;
    if (last_id != nullptr) *last_id = slot->last_id;
    if (count != nullptr) *count = slot->count;
    if (texts != nullptr) *texts = slot->texts;
    return 0;
  }
  return 0;
}

long loc_str_assert_static_strings(long flag) {
  loc_str_static_strings = flag != 0;
  return 0;
}

long loc_str_reset_subs() {
  if (!loc_str_static_strings) {
    osl_print_mes("%s: refused to prevent probable memory leak.\n", "loc_str_reset_subs");
    return -1;
  }
  for (long i = 0; i < loc_str_num_slists; ++i) {
    loc_ty_slist* slot = &loc_str_slists[i];
    if (slot->first_id == -1 || slot->texts == nullptr) continue;
    long length = slot_length(slot);
    for (long k = 0; k < length; ++k) slot->texts[k] = nullptr;
  }
  return 0;
}

long loc_str_dump(FILE* stream, long indent, const char* title) {
  FILE* out = stream != nullptr ? stream : stdout;
  const char* blanks = "                                                            ";
  int ind = static_cast<int>(indent < 0 ? 0 : (indent > 60 ? 60 : indent));
  std::fprintf(out, "%*.*sString Lists '%s' table has %ld entries:\n", ind, ind, blanks,
               title != nullptr ? title : "", loc_str_num_slists);
  for (long i = 0; i < loc_str_num_slists; ++i) {
    const loc_ty_slist* slot = &loc_str_slists[i];
    std::fprintf(out, "%*.*s SLIST #%ld) '%s' first resid=%ld, last=%ld\n", ind, ind, blanks, i + 1,
                 slot->name, slot->first_id, slot->last_id);
    if (slot->texts == nullptr) {
      std::fprintf(out, "%*.*s  NULL string list collection\n", ind, ind, blanks);
      continue;
    }
    for (long k = 0; k < slot->count; ++k) {
      const char* t = slot->texts[k];
      std::fprintf(out, "%*.*s   #%ld) '%s'\n", ind, ind, blanks, k + 1, t != nullptr ? t : "");
    }
  }
  return 0;
}

const loc_ty_slist* loc_str_slot(long number) {
  if (number < 1 || number > loc_str_num_slists) return nullptr;
  return &loc_str_slists[number - 1];
}
