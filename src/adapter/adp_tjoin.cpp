// The join record and the ANSI join clauses built from a list of joins.
#include "adapter/adp_tjoin.h"

#include <utility>

#include "adapter/adp_err.h"

using KCLASSIC::KZString;

long KAdpTableJoin::SetData(const char* t1, const char* a1, const char* t2, const char* a2, const char* c1,
                            const char* c2, convert_type k) {
  return adp_err_guard([&] {
    table1 = t1;
    alias1 = a1;
    table2 = t2;
    alias2 = a2;
    column1 = c1;
    column2 = c2;
    kind = k;
    to_type = kNoType;
    type_column.Empty();
    return 0L;
  });
}

long KAdpTableJoin::SetTypeColumnName(const char* column) {
  return adp_err_guard([&] {
    type_column = column;
    return 0L;
  });
}

long KAdpTableJoin::SetToType(long type) {
  to_type = type;
  return 0;
}

namespace {

// The templates of one kind of join, by the case of its two sides.
struct join_forms {
  const char* first;        // neither side written yet: the chain's first join
  const char* join_second;  // the first side is written: the second joins it
  const char* join_first;   // the second side is written: the first joins it
  const char* both;         // both sides are written
  const char* new_chain;    // neither side is in the current chain
};

constexpr join_forms kForms[] = {
    {"%s %s INNER JOIN %s %s ON %s.%s = %s.%s %s\n", " INNER JOIN %s %s ON %s.%s = %s.%s %s\n",
     " INNER JOIN %s %s ON %s.%s = %s.%s %s\n", " AND %s.%s = %s.%s \n",
     " , %s %s INNER JOIN %s %s ON %s.%s = %s.%s %s\n"},
    {"%s %s LEFT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n", " LEFT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n",
     " RIGHT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n", " LEFT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n",
     " , %s %s LEFT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n"},
    {"%s %s RIGHT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n", " RIGHT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n",
     " LEFT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n", " RIGHT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n",
     " , %s %s RIGHT OUTER JOIN %s %s ON %s.%s = %s.%s %s\n"},
};

const KZString& qualifier(const KZString& table, const KZString& alias) { return alias.IsEmpty() ? table : alias; }

// The type test of a join: empty without a type column.
KZString type_test(const KAdpTableJoin& j) {
  KZString x;
  if (!j.type_column.IsEmpty())
    x.Format(" AND %s.%s = %ld ", static_cast<const char*>(qualifier(j.table2, j.alias2)),
             static_cast<const char*>(j.type_column), j.to_type);
  return x;
}

}  // namespace

KAdpTableJoinArray::~KAdpTableJoinArray() { RemoveAll(); }

void KAdpTableJoinArray::Serialize(KCLASSIC::KArchive&) {}

long KAdpTableJoinArray::AddNewTableJoin(KAdpTableJoin join) {
  return adp_err_guard([&] {
    auto* copy = new KAdpTableJoin(std::move(join));
    try {
      Add(copy);
    } catch (...) {
      delete copy;
      throw;
    }
    return 0L;
  });
}

void KAdpTableJoinArray::AddKey(const KZString& key) {
  if (!HasKey(key)) m_tables.Add(key);
}

bool KAdpTableJoinArray::HasKey(const KZString& key) const {
  for (int i = 0; i < m_tables.GetSize(); ++i) {
    if (m_tables[i].Compare(key) == 0) return true;
  }
  return false;
}

long KAdpTableJoinArray::GetNextSimilarJoin(long index, KAdpTableJoin::convert_type kind) const {
  for (long i = index + 1; i < GetSize(); ++i) {
    const KAdpTableJoin* j = JoinAt(i);
    if (j->kind == kind && (HasKey(j->table1 + j->alias1) || HasKey(j->table2 + j->alias2))) return i;
  }
  return -1;
}

void KAdpTableJoinArray::SwapTableJoins(long i, long j) {
  void* held = GetAt(static_cast<int>(i));
  SetAt(static_cast<int>(i), GetAt(static_cast<int>(j)));
  SetAt(static_cast<int>(j), held);
}

long KAdpTableJoinArray::DoesTableExistInCondition(const char* table, const char* alias) const {
  return HasKey(KZString(table) + alias) ? 1 : 0;
}

void KAdpTableJoinArray::RestoreTableAliasArray() {
  m_tables.RemoveAll();
  for (long i = 0; i < GetSize(); ++i) {
    AddKey(JoinAt(i)->table1 + JoinAt(i)->alias1);
    AddKey(JoinAt(i)->table2 + JoinAt(i)->alias2);
  }
}

void KAdpTableJoinArray::RemoveAll() {
  for (long i = 0; i < GetSize(); ++i) delete JoinAt(i);
  KPtrArray::RemoveAll();
  m_tables.RemoveAll();
  m_statement.Empty();
  m_newChain = false;
}

long KAdpTableJoinArray::FormKind(KAdpTableJoin::convert_type kind) {
  const join_forms& f = kForms[kind];
  for (long i = 0; i < GetSize(); ++i) {
    const KAdpTableJoin& j = *JoinAt(i);
    if (j.kind != kind) continue;
    const KZString k1 = j.table1 + j.alias1, k2 = j.table2 + j.alias2;
    const char* t1 = j.table1;
    const char* a1 = j.alias1;
    const char* t2 = j.table2;
    const char* a2 = j.alias2;
    const char* c1 = j.column1;
    const char* c2 = j.column2;
    const char* q1 = qualifier(j.table1, j.alias1);
    const char* q2 = qualifier(j.table2, j.alias2);
    const KZString x = type_test(j);
    const bool in1 = HasKey(k1), in2 = HasKey(k2);
    KZString line;
    if (m_tables.GetSize() == 0) {
      AddKey(k1);
      AddKey(k2);
      line.Format(f.first, t1, a1, t2, a2, q1, c1, q2, c2, static_cast<const char*>(x));
    } else if (in1 && !in2) {
      AddKey(k2);
      line.Format(f.join_second, t2, a2, q1, c1, q2, c2, static_cast<const char*>(x));
    } else if (!in1 && in2) {
      AddKey(k1);
      line.Format(f.join_first, t1, a1, q1, c1, q2, c2, static_cast<const char*>(x));
    } else if (in1 && in2) {
      if (kind == KAdpTableJoin::kInner)
        line.Format(f.both, q1, c1, q2, c2);
      else
        line.Format(f.both, t2, a2, q1, c1, q2, c2, static_cast<const char*>(x));
    } else if (long later = GetNextSimilarJoin(i, kind); later >= 0) {
      // A later join of this kind continues the chain: it goes first.
      SwapTableJoins(i, later);
      --i;
      continue;
    } else {
      m_newChain = true;
      m_tables.RemoveAll();
      AddKey(k1);
      AddKey(k2);
      line.Format(f.new_chain, t1, a1, t2, a2, q1, c1, q2, c2, static_cast<const char*>(x));
    }
    m_statement += line;
  }
  return 0;
}

long KAdpTableJoinArray::FormJoinStatement(KZString* out) {
  return adp_err_guard([&] {
    m_newChain = false;
    m_statement.Empty();
    m_tables.RemoveAll();
    for (auto kind : {KAdpTableJoin::kInner, KAdpTableJoin::kLeftOuter, KAdpTableJoin::kRightOuter}) {
      if (long st = FormKind(kind)) return st;
    }
    if (m_newChain) RestoreTableAliasArray();
    *out = m_statement;
    return 0L;
  });
}
