// What both sides of the agent benchmark work on: the contacts a Create
// writes, the events a poll delivers and what each delivery carries.
#pragma once

#include <string>
#include <vector>

// A contact as the demo's Create shapes it (tools/demo/create_contact.json),
// with a role on a site.
struct BenchContact {
  std::string first, last, phone, email, role;
  long site = 0;
};

// The contact of Create number i (distinct names and mail each).
BenchContact bench_contact(long i);

// One delivered event: its number and the contact retrieved for it, with its
// role (one level down) and the role's site.
struct BenchDelivery {
  long event = 0;
  long contact = 0;
  std::string first, last, phone, email;
  long role = 0;
  std::string role_name;
  long site = 0;
  bool operator==(const BenchDelivery&) const = default;
};

// The demo's site every role points at.
inline constexpr long kBenchSite = 1;

[[noreturn]] void bench_agent_fail(const std::string& what);
