// ANSI join clauses of a view definition: KAdpTableJoin describes one join
// of two tables, KAdpTableJoinArray holds the joins of one view and writes
// the FROM-clause text of them: INNER JOIN, LEFT OUTER JOIN and RIGHT OUTER
// JOIN chains with their ON conditions.
//
// A side of a join is qualified in conditions by its alias, or by its table
// when the alias is empty; its key in the joined-table list is the table
// name followed directly by the alias.
#pragma once

#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class ORB_API KAdpTableJoin {
 public:
  enum convert_type : long { kInner = 0, kLeftOuter = 1, kRightOuter = 2 };
  static constexpr long kNoType = -1;

  // The six names and the kind; the type column is emptied and the to-type
  // reset, so a record can be reused. 0, or the alert code of a failure.
  long SetData(const char* table1, const char* alias1, const char* table2, const char* alias2,
               const char* column1, const char* column2, convert_type kind);
  // A type column makes the join also test that column of the second side
  // against the to-type.
  long SetTypeColumnName(const char* column);
  long SetToType(long type);

  KCLASSIC::KZString table1, alias1, table2, alias2, column1, column2, type_column;
  long to_type = kNoType;
  convert_type kind = kInner;
};

class ORB_API KAdpTableJoinArray : public KCLASSIC::KPtrArray {
 public:
  KAdpTableJoinArray() = default;
  ~KAdpTableJoinArray() override;
  void Serialize(KCLASSIC::KArchive& ar) override;  // writes and reads nothing

  // Appends a copy of the join.
  long AddNewTableJoin(KAdpTableJoin join);
  // The clause text of every held join (inner joins, then left outer, then
  // right outer) into *out; 0 or an alert code.
  long FormJoinStatement(KCLASSIC::KZString* out);
  // The first join after index of the same kind with a side already in
  // the joined-table list; -1 when none.
  long GetNextSimilarJoin(long index, KAdpTableJoin::convert_type kind) const;
  void SwapTableJoins(long i, long j);
  // 1 when table + alias is in the joined-table list, else 0.
  long DoesTableExistInCondition(const char* table, const char* alias) const;
  // The joined-table list made again from every join, each key once.
  void RestoreTableAliasArray();
  // Deletes every join and forgets the clause text and the joined tables.
  void RemoveAll();

  KAdpTableJoin* JoinAt(long i) const { return static_cast<KAdpTableJoin*>(GetAt(static_cast<int>(i))); }

 private:
  long FormKind(KAdpTableJoin::convert_type kind);
  void AddKey(const KCLASSIC::KZString& key);
  bool HasKey(const KCLASSIC::KZString& key) const;

  KCLASSIC::KZString m_statement;
  KCLASSIC::KStringArray m_tables;
  bool m_newChain = false;
};
