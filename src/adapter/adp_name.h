// KAdpNameMapper: the fixed rules that turn the schema's logical names of
// object types, fields, relations and indexes into the physical names of
// tables, columns and indexes, and the pairs recorded from the dictionary.
// Each connection owns one and offers it as KAdpConnId::GetPhys.
//
// Threads: a mapper is used by the thread that drives its connection.
#pragma once

#include "kclassic/kc_map.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

struct typ_sch_srec;

class ORB_API KAdpNameMapper {
 public:
  // What is named (callers pass the number):
  //  0 the table of an object type        6 one binary-array table
  //  1 an index on one field              7 the temporary copy of a table
  //  2 the Oracle search-column index     8 a short index name
  //  3 a field's column                   9 a binary-array table's index
  //  4 a field's search column           10 an index of a link table
  //  5 a relation's column
  enum convert_type : long {};
  static constexpr short kMaxIndexLength = 18;

  KAdpNameMapper();

  // The physical name (empty when the type or server has no rule). number is
  // read by type 6 only, the type record (its name) by types 1 and 2 only.
  KCLASSIC::KZString GetPhys(KCLASSIC::KZString logical, convert_type type, long number,
                             typ_sch_srec* type_record) const;
  // Records logical under physical for types 0, 1, 3 and 5.
  void AddLogPhysPair(KCLASSIC::KZString logical, KCLASSIC::KZString physical, convert_type type);
  // The logical name recorded for physical, or the empty string.
  KCLASSIC::KZString GetLog(KCLASSIC::KZString physical, convert_type type) const;

 private:
  KCLASSIC::KMapStringToString* map_of(convert_type type);
  const KCLASSIC::KMapStringToString* map_of(convert_type type) const;

  KCLASSIC::KMapStringToString m_tables{10};
  KCLASSIC::KMapStringToString m_indexes{10};
  KCLASSIC::KMapStringToString m_columns{10};
  short m_maxIndexLength = kMaxIndexLength;
};
