// Printing alerts and alert stacks.
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_alrt_int.h"

namespace {

const char kBlanks[] = "                                                                                ";

int clamp_indent(long indent, long max) { return static_cast<int>(indent < 0 ? 0 : (indent > max ? max : indent)); }

// Copies an alert text into the shared buffer (at most 2048 bytes) and drops
// one trailing newline.
const char* text_for_print(const char* text) {
  if (text == nullptr) text = "";
  size_t n = std::strlen(text);
  if (n > CMN_ALRT_BUF_SIZE - 1) n = CMN_ALRT_BUF_SIZE - 1;
  std::memcpy(cmn_alrt_err_buf, text, n);
  cmn_alrt_err_buf[n] = 0;
  if (n > 0 && cmn_alrt_err_buf[n - 1] == '\n') cmn_alrt_err_buf[n - 1] = 0;
  return cmn_alrt_err_buf;
}

// Destination of printed lines: a stream, or a caller's string that takes
// whole lines while they fit.
struct line_out {
  FILE* stream;
  char* string;
  long size;
  bool full = false;
  void line(const char* prefix_blanks_src, int blanks, const char* mark, const char* text, long len) {
    if (full) return;
    if (string == nullptr) {
      std::fprintf(stream, "%*.*s%s%.*s\n", blanks, blanks, prefix_blanks_src, mark, static_cast<int>(len), text);
      return;
    }
    size_t have = std::strlen(string);
    size_t need = static_cast<size_t>(blanks) + std::strlen(mark) + static_cast<size_t>(len) + 1;
    if (size <= 0 || have + need + 1 > static_cast<size_t>(size)) {
      full = true;  // the first line that does not fit ends the appending
      return;
    }
    char* p = string + have;
    std::memset(p, ' ', static_cast<size_t>(blanks));
    p += blanks;
    size_t ml = std::strlen(mark);
    std::memcpy(p, mark, ml);
    p += ml;
    std::memcpy(p, text, static_cast<size_t>(len));
    p += len;
    *p++ = '\n';
    *p = 0;
  }
};

// One alert text, wrapped at 80 columns.
void print_wrapped(line_out* out, int indent, const char* text) {
  long len = static_cast<long>(std::strlen(text));
  if (len + indent + 3 <= 80) {
    out->line(kBlanks, indent, ">> ", text, len);
    return;
  }
  long pos = 0;
  bool first = true;
  while (pos < len && !out->full) {
    long limit = first ? 77 - indent : 76 - indent;
    int blanks = first ? indent : indent + 4;
    const char* mark = first ? ">> " : "";
    first = false;
    const char* nl = static_cast<const char*>(std::memchr(text + pos, '\n', static_cast<size_t>(
        len - pos < limit + 1 ? len - pos : limit + 1)));
    if (nl != nullptr && nl - (text + pos) <= limit) {
      long n = nl - (text + pos);
      out->line(kBlanks, blanks, mark, text + pos, n);
      pos += n + 1;
      continue;
    }
    if (len - pos <= limit) {
      out->line(kBlanks, blanks, mark, text + pos, len - pos);
      break;
    }
    // The line is full: break at its last blank (a blank right after the
    // full line counts), else hard at the limit.
    long brk = -1;
    for (long k = limit; k > 0; --k) {
      if (text[pos + k] == ' ') {
        brk = k;
        break;
      }
    }
    if (brk > 0) {
      out->line(kBlanks, blanks, mark, text + pos, brk);
      pos += brk + 1;
    } else {
      out->line(kBlanks, blanks, mark, text + pos, limit);
      pos += limit;
    }
  }
}

}  // namespace

long cmn_alrt_print_alert(FILE* stream, long indent, const void* alert, long /*type_id*/, long number) {
  FILE* out = stream != nullptr ? stream : stdout;
  const auto* a = static_cast<const cmn_ty_alert*>(alert);
  int ind = clamp_indent(indent, 80);
  if (a == nullptr) return 0;
  std::fprintf(out, "%*.*sALERT #%ld, code 0x%lx, msg: '%s'\n", ind, ind, kBlanks, number, a->code,
               a->text != nullptr ? a->text : "");
  return 0;
}

long cmn_alrt_dump(FILE* stream, long indent, const char* heading, cmn_ty_alert_stack* stack) {
  long rc = cmn_alrt_check(stack);
  if (rc != 0) return rc;
  FILE* out = stream != nullptr ? stream : stdout;
  int ind = clamp_indent(indent, 80);
  long count = 0;
  cmn_alrt_num(stack, &count);
  std::fprintf(out, "%*.*s%s (%ld entries):\n", ind, ind, kBlanks, heading != nullptr ? heading : "", count);
  for (long i = count - 1; i >= 0; --i) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_ith(stack, i, &code, &text);
    std::fprintf(out, "%*.*s  #%ld) %s (0x%lx)\n", ind, ind, kBlanks, i, text_for_print(text), code);
  }
  return 0;
}

long cmn_alrt_print_out(FILE* stream, char* string, long size, long indent, const char* heading) {
  long rc = cmn_alrt_check(nullptr);
  if (rc != 0) return rc;
  line_out out{stream != nullptr ? stream : stdout, string, size};
  int ind = clamp_indent(indent, 20);
  if (heading != nullptr && heading[0] != 0) {
    char head[CMN_ALRT_BUF_SIZE + 1];
    int n = std::snprintf(head, sizeof head, "%s:", heading);
    if (n < 0) n = 0;
    if (n > CMN_ALRT_BUF_SIZE) n = CMN_ALRT_BUF_SIZE;
    out.line(kBlanks, ind, "", head, n);
  }
  long count = 0;
  cmn_alrt_num(nullptr, &count);
  for (long i = count - 1; i >= 0 && !out.full; --i) {
    const char* text = nullptr;
    cmn_alrt_ith(nullptr, i, nullptr, &text);
    print_wrapped(&out, ind, text_for_print(text));
  }
  return 0;
}

long cmn_alrt_print(FILE* stream, long indent, const char* heading) {
  return cmn_alrt_print_out(stream, nullptr, 0, indent, heading);
}
