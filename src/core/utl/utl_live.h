// Lists of live records (module internal): records with `next` and `prev`
// members, linked while alive so that a handle can be recognised as one the
// module handed out and has not freed. The membership test is a hash look-up
// (a module may hold many thousands of records: every local object has its
// pool and collections), so checking a handle costs the same however many
// records live.
//
// Threads: a list belongs to its module and is not guarded (no lock).
#pragma once

#include <unordered_set>

template <class T>
struct utl_live_list {
  T* head = nullptr;
  // The linked records, made at the first link and kept for the life of the
  // process (a list is a module's static and may be used while others are
  // still being made or already gone).
  std::unordered_set<const T*>* index = nullptr;

  bool contains(const T* r) const { return index != nullptr && index->count(r) != 0; }

  void link(T* r) {
    if (index == nullptr) index = new std::unordered_set<const T*>;
    index->insert(r);
    r->prev = nullptr;
    r->next = head;
    if (head) head->prev = r;
    head = r;
  }

  // Unlinking a record that is not in the list changes nothing.
  void unlink(T* r) {
    if (index == nullptr || index->erase(r) == 0) return;
    if (r->prev) r->prev->next = r->next;
    else head = r->next;
    if (r->next) r->next->prev = r->prev;
    r->next = r->prev = nullptr;
  }
};
