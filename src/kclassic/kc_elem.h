// Element helpers of the collection templates: construction, destruction,
// copy, comparison and hashing of keys, overloaded for KZString elsewhere.
#pragma once

#include <cstdint>
#include <new>

namespace KCLASSIC {

template <class T>
inline void KConstructElements(T* p, int n) {
  for (int i = 0; i < n; ++i) ::new (static_cast<void*>(p + i)) T();
}

template <class T>
inline void KDestructElements(T* p, int n) {
  for (int i = 0; i < n; ++i) p[i].~T();
}

template <class T>
inline void KCopyElements(T* dest, const T* src, int n) {
  for (int i = 0; i < n; ++i) dest[i] = src[i];
}

template <class T, class ARG>
inline bool KCompareElements(const T* a, const ARG* b) {
  return *a == *b;
}

// Numbers and pointers hash to their value shifted right by 4 bits.
template <class ARG_KEY>
inline unsigned KHashKey(ARG_KEY key) {
  return static_cast<unsigned>(static_cast<uintptr_t>(key) >> 4);
}
template <class T>
inline unsigned KHashKey(T* key) {
  return static_cast<unsigned>(reinterpret_cast<uintptr_t>(key) >> 4);
}

} // namespace KCLASSIC
