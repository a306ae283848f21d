// Alert stacks: the chain of live stacks, the current stack, push and the
// stack readers.
#include <cstdint>
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_alrt_int.h"
#include "core/cmn/cmn_subs.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"

// A text pool: one allocation of this header followed by the text bytes.
struct cmn_ty_alert_pool {
  long size;   // size of the text area
  char* next;  // next free byte
  long left;   // bytes left
  cmn_ty_alert_pool* next_pool;
};

struct cmn_ty_alert_stack {
  long count;
  long capacity;
  cmn_ty_alert_pool* pools;  // newest pool first
  cmn_ty_alert* alerts;      // oldest first
  cmn_ty_alert_stack* newer;
  cmn_ty_alert_stack* older;
};

char cmn_alrt_err_buf[CMN_ALRT_BUF_SIZE];

namespace {

constexpr long kPoolSize = 512;
constexpr long kGrowth = 20;

cmn_ty_alert_stack* cmn_alrt_first = nullptr;  // newest live stack
cmn_ty_alert_stack* cmn_alrt_cur = nullptr;
bool cmn_alrt_suspend_mode = false;
bool cmn_alrt_in_push_proc = false;

// A text pool of `size` bytes; null, with 0x100003 pushed, when it cannot be
// allocated.
cmn_ty_alert_pool* new_pool(long size, const char* owner) {
  long bytes = static_cast<long>(sizeof(cmn_ty_alert_pool)) + size;
  auto* pool = static_cast<cmn_ty_alert_pool*>(osl_mem_alloc(owner, bytes));
  if (pool == nullptr) {
    cmn_alrt_push_no_memory(bytes, owner);
    return nullptr;
  }
  pool->size = size;
  pool->next = reinterpret_cast<char*>(pool + 1);
  pool->left = size;
  pool->next_pool = nullptr;
  return pool;
}

bool on_chain(const cmn_ty_alert_stack* stack) {
  for (const cmn_ty_alert_stack* s = cmn_alrt_first; s != nullptr; s = s->older) {
    if (s == stack) return true;
  }
  return false;
}

// Resolves a stack argument (null = current) and checks it.
long resolve(cmn_ty_alert_stack* stack, cmn_ty_alert_stack** out) {
  long rc = cmn_alrt_check(stack);
  if (rc != 0) return rc;
  *out = stack != nullptr ? stack : cmn_alrt_cur;
  return 0;
}

// Copies the text (with its NUL) into the stack's pools.
long alert_alloc(cmn_ty_alert_stack* stack, const char* text, const char** copy) {
  long len = static_cast<long>(std::strlen(text)) + 1;
  cmn_ty_alert_pool* pool = stack->pools;
  while (pool != nullptr && pool->left < len) pool = pool->next_pool;
  if (pool == nullptr) {
    pool = new_pool(len > kPoolSize ? len : kPoolSize, "cmn_alrt_alloc");
    if (pool == nullptr) return CMN_ALRT_NO_MEMORY;
    pool->next_pool = stack->pools;
    stack->pools = pool;
  }
  std::memcpy(pool->next, text, static_cast<size_t>(len));
  *copy = pool->next;
  pool->next += len;
  pool->left -= len;
  return 0;
}

long store(cmn_ty_alert_stack* stack, long code, const char* text) {
  const char* copy = nullptr;
  long rc = alert_alloc(stack, text, &copy);
  if (rc != 0) return rc;
  if (stack->count >= stack->capacity) {
    long cap = stack->capacity + kGrowth;
    long bytes = cap * static_cast<long>(sizeof(cmn_ty_alert));
    void* grown = osl_mem_realloc("cmn_alrt_push", stack->alerts, bytes);
    if (grown == nullptr) return cmn_alrt_push_no_memory(bytes, "cmn_alrt_push");
    stack->alerts = static_cast<cmn_ty_alert*>(grown);
    stack->capacity = cap;
  }
  stack->alerts[stack->count].code = code;
  stack->alerts[stack->count].text = copy;
  ++stack->count;
  return 0;
}

long do_push(cmn_ty_alert_stack* stack, long code, va_list args) {
  if (stack == nullptr) {
    if (cmn_alrt_suspend_mode) return 0;
    stack = cmn_alrt_cur;
  }
  if (stack != nullptr) {
    long rc = cmn_alrt_check(stack);
    if (rc != 0) return rc;
  }
  const char* text = nullptr;
  if (cmn_alrt_get_msg_info(code, &text, nullptr, nullptr) != 0) {
    std::snprintf(cmn_alrt_err_buf, sizeof cmn_alrt_err_buf,
                  "Cannot get message for code 0x%lx (subsystem=%s)\n", code, cmn_alrt_subs_name(code));
  } else {
    char local[CMN_ALRT_BUF_SIZE];
    cmn_alrt_vreformat_msg(local, sizeof local, text, args);
    std::memcpy(cmn_alrt_err_buf, local, sizeof local);
  }
  if (stack == nullptr) {
    cmn_alrt_push_special(code, cmn_alrt_err_buf);
    return 0;
  }
  return store(stack, code, cmn_alrt_err_buf);
}

}  // namespace

long cmn_alrt_init() {
  long rc = cmn_typ_install(CMN_TYP_ALERT, -1, -1, nullptr, static_cast<long>(sizeof(cmn_ty_alert)),
                            nullptr, nullptr, nullptr, cmn_alrt_print_alert);
  if (rc != 0) return rc;
  if (cmn_alrt_cur != nullptr) return 0;  // started before: keep the stack
  cmn_ty_alert_stack* stack = nullptr;
  rc = cmn_alrt_new(20, &stack);
  if (rc != 0) return rc;
  cmn_alrt_cur = stack;
  return 0;
}

long cmn_alrt_term() { return 0; }

long cmn_alrt_new(long capacity, cmn_ty_alert_stack** out) {
  if (capacity < 0) capacity = 0;
  auto* stack = static_cast<cmn_ty_alert_stack*>(osl_mem_alloc("cmn_alrt_new", sizeof(cmn_ty_alert_stack)));
  if (stack == nullptr) return cmn_alrt_push_no_memory(sizeof(cmn_ty_alert_stack), "cmn_alrt_new");
  stack->alerts = nullptr;
  if (capacity > 0) {
    long bytes = capacity * static_cast<long>(sizeof(cmn_ty_alert));
    stack->alerts = static_cast<cmn_ty_alert*>(osl_mem_alloc("cmn_alrt_new", bytes));
    if (stack->alerts == nullptr) {
      osl_mem_free("cmn_alrt_new", stack);
      return cmn_alrt_push_no_memory(bytes, "cmn_alrt_new");
    }
  }
  stack->pools = new_pool(kPoolSize, "cmn_alrt_new");
  if (stack->pools == nullptr) {
    osl_mem_free("cmn_alrt_new", stack->alerts);
    osl_mem_free("cmn_alrt_new", stack);
    return CMN_ALRT_NO_MEMORY;
  }
  stack->count = 0;
  stack->capacity = capacity;
  stack->newer = nullptr;
  stack->older = cmn_alrt_first;
  if (cmn_alrt_first != nullptr) cmn_alrt_first->newer = stack;
  cmn_alrt_first = stack;
  if (out != nullptr) *out = stack;
  return 0;
}

long cmn_alrt_free(const char* /*proc*/, cmn_ty_alert_stack* stack) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  osl_mem_free("cmn_alrt_free", stack->alerts);
  for (cmn_ty_alert_pool* p = stack->pools; p != nullptr;) {
    cmn_ty_alert_pool* next = p->next_pool;
    osl_mem_free("cmn_alrt_free", p);
    p = next;
  }
  if (stack->newer != nullptr) stack->newer->older = stack->older;
  if (stack->older != nullptr) stack->older->newer = stack->newer;
  if (cmn_alrt_first == stack) cmn_alrt_first = stack->older;
  if (cmn_alrt_cur == stack) cmn_alrt_cur = nullptr;
  osl_mem_free("cmn_alrt_free", stack);
  return 0;
}

long cmn_alrt_copy(cmn_ty_alert_stack* stack, cmn_ty_alert_stack** copy) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  cmn_ty_alert_stack* made = nullptr;
  rc = cmn_alrt_new(stack->capacity, &made);
  if (rc != 0) return rc;
  for (long i = 0; i < stack->count; ++i) {
    rc = cmn_alrt_push_msg(made, stack->alerts[i].code, stack->alerts[i].text);
    if (rc != 0) {
      cmn_alrt_free("cmn_alrt_copy", made);
      return rc;
    }
  }
  if (copy != nullptr) *copy = made;
  return 0;
}

long cmn_alrt_check(cmn_ty_alert_stack* stack) {
  cmn_ty_alert_stack* s = stack != nullptr ? stack : cmn_alrt_cur;
  if (s != nullptr && on_chain(s)) return 0;
  cmn_alrt_push(nullptr, "cmn_alrt_check", CMN_ALRT_BAD_STACK, 1,
                static_cast<long>(reinterpret_cast<intptr_t>(stack)));
  return CMN_ALRT_BAD_STACK;
}

long cmn_alrt_verify(cmn_ty_alert_stack* stack) { return cmn_alrt_check(stack); }

long cmn_alrt_set_current(cmn_ty_alert_stack* stack, cmn_ty_alert_stack** previous) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  if (previous != nullptr) *previous = cmn_alrt_cur;
  cmn_alrt_cur = stack;
  return 0;
}

long cmn_alrt_get_current(cmn_ty_alert_stack** stack) {
  if (stack != nullptr) *stack = cmn_alrt_cur;
  return 0;
}

long cmn_alrt_suspend(long flag) {
  cmn_alrt_suspend_mode = flag != 0;
  return 0;
}

long cmn_alrt_vpush(cmn_ty_alert_stack* stack, const char* /*proc*/, long code, long /*nargs*/,
                    va_list args) {
  if (cmn_alrt_in_push_proc) return 0;  // an alert raised while pushing one
  cmn_alrt_in_push_proc = true;
  long rc = do_push(stack, code, args);
  cmn_alrt_in_push_proc = false;
  return rc;
}

long cmn_alrt_push(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs, ...) {
  va_list args;
  va_start(args, nargs);
  long rc = cmn_alrt_vpush(stack, proc, code, nargs, args);
  va_end(args);
  return rc;
}

long cmn_alrt_quiet_vpush(cmn_ty_alert_stack* stack, const char* /*proc*/, long code, long /*nargs*/,
                          va_list args) {
  return do_push(stack, code, args);
}

long cmn_alrt_quiet_push(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs, ...) {
  va_list args;
  va_start(args, nargs);
  long rc = cmn_alrt_quiet_vpush(stack, proc, code, nargs, args);
  va_end(args);
  return rc;
}

long cmn_alrt_push_msg(cmn_ty_alert_stack* stack, long code, const char* text) {
  if (stack == nullptr) {
    if (cmn_alrt_suspend_mode) return 0;
    stack = cmn_alrt_cur;
  }
  if (text == nullptr) text = "";
  if (stack == nullptr) {
    cmn_alrt_push_special(code, text);
    return 0;
  }
  long rc = cmn_alrt_check(stack);
  if (rc != 0) return rc;
  return store(stack, code, text);
}

long cmn_alrt_push_no_memory(long bytes, const char* owner) {
  cmn_alrt_push(nullptr, owner, CMN_ALRT_NO_MEMORY, 2, bytes, owner);
  return CMN_ALRT_NO_MEMORY;
}

long cmn_alrt_push_special(long code, const char* text) {
  osl_print_mes("The following error occurred before CMN initialization or\n");
  osl_print_mes(" during the processing of another error:\n");
  osl_print_mes("  %s (code=%lx)\n", text != nullptr ? text : "", code);
  return 0;
}

long cmn_alrt_num(cmn_ty_alert_stack* stack, long* n) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  if (n != nullptr) *n = stack->count;
  return 0;
}

long cmn_alrt_ith(cmn_ty_alert_stack* stack, long i, long* code, const char** text) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  if (i < 0 || i >= stack->count) return 0;
  if (code != nullptr) *code = stack->alerts[i].code;
  if (text != nullptr) *text = stack->alerts[i].text;
  return 0;
}

long cmn_alrt_top(cmn_ty_alert_stack* stack, long* code, const char** text) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  if (stack->count > 0) {
    if (code != nullptr) *code = stack->alerts[stack->count - 1].code;
    if (text != nullptr) *text = stack->alerts[stack->count - 1].text;
    return 0;
  }
  cmn_alrt_push(nullptr, "cmn_alrt_top", CMN_ALRT_UNEXPECTED, 0);
  if (code != nullptr) *code = CMN_ALRT_UNEXPECTED;
  if (text != nullptr) {
    *text = on_chain(stack) && stack->count > 0 ? stack->alerts[0].text
                                                : "Problem occurred but could not add to the alert list";
  }
  return CMN_ALRT_UNEXPECTED;
}

long cmn_alrt_pop(cmn_ty_alert_stack* stack, long* code, const char** text) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  if (stack->count == 0) {
    if (code != nullptr) *code = -1;
    if (text != nullptr) *text = nullptr;
    return 0;
  }
  --stack->count;
  if (code != nullptr) *code = stack->alerts[stack->count].code;
  if (text != nullptr) *text = stack->alerts[stack->count].text;
  return 0;
}

long cmn_alrt_clear(cmn_ty_alert_stack* stack) {
  long rc = resolve(stack, &stack);
  if (rc != 0) return rc;
  stack->count = 0;
  for (cmn_ty_alert_pool* p = stack->pools; p != nullptr; p = p->next_pool) {
    p->next = reinterpret_cast<char*>(p + 1);
    p->left = p->size;
  }
  return 0;
}
