// Lists of live records (module internal): records with `next` and `prev`
// members, linked while alive so that a handle can be recognised as one the
// module handed out and has not freed.
//
// Threads: a list belongs to its module and is not guarded (no lock).
#pragma once

template <class T>
struct utl_live_list {
  T* head = nullptr;

  bool contains(const T* r) const {
    for (const T* p = head; p; p = p->next)
      if (p == r) return true;
    return false;
  }

  void link(T* r) {
    r->prev = nullptr;
    r->next = head;
    if (head) head->prev = r;
    head = r;
  }

  // Unlinking a record that is not in the list changes nothing.
  void unlink(T* r) {
    if (r->prev) r->prev->next = r->next;
    else if (head == r) head = r->next;
    else return;
    if (r->next) r->next->prev = r->prev;
    r->next = r->prev = nullptr;
  }
};
