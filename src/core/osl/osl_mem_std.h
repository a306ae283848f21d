// Standard strings and vectors over the heap cover, for the status-code
// layers of the core (module internal; not part of the exported interface).
//
// Their memory comes from osl_mem_alloc, so fail-test mode reaches it. A
// failed allocation throws std::bad_alloc, which never leaves a C interface:
// each function that uses these containers runs its work through
// osl_mem_guard, which turns the exception into the layer's out-of-memory
// status.
//
// Threads: as osl_mem_alloc (see osl_mem.h).
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/osl/osl_mem.h"

template <class T>
struct osl_mem_allocator {
  using value_type = T;
  osl_mem_allocator() noexcept = default;
  template <class U>
  osl_mem_allocator(const osl_mem_allocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(std::numeric_limits<long>::max()) / sizeof(T)) throw std::bad_alloc();
    long bytes = n > 0 ? static_cast<long>(n * sizeof(T)) : 1;
    void* p = osl_mem_alloc("osl_mem_allocator", bytes);
    if (p == nullptr) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) noexcept { osl_mem_free("osl_mem_allocator", p); }

  template <class U>
  bool operator==(const osl_mem_allocator<U>&) const noexcept { return true; }
};

using osl_string = std::basic_string<char, std::char_traits<char>, osl_mem_allocator<char>>;
template <class T>
using osl_vector = std::vector<T, osl_mem_allocator<T>>;

// Runs work() and returns its status; when a container inside it cannot get
// memory (std::bad_alloc, or a length beyond what a container holds), returns
// out_of_memory() instead.
template <class Work, class OutOfMemory>
long osl_mem_guard(Work&& work, OutOfMemory&& out_of_memory) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return out_of_memory();
}
