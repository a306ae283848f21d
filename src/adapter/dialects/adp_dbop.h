// KAdpDbOperation: the base of the two SQL dialects. It owns the phrase table
// (63 numbered SQL phrases, 13 numbered numbers), the role names and the DDL
// file name, and fills the phrases both servers share; each dialect fills the
// rest in its own Initialize. Adapter code asks the connection's dialect for
// a phrase or number, or calls one of its virtual operations.
//
// Only the phrase-table slots, the unique-key analysis, the date texts and
// the DDL file are declared here; the dialects' other operations join the
// class with the parts of the adapter that call them. ObjNotUniqueByMsg
// answers "no object type" (type -1, empty names) until the dialects
// analyse the message.
#pragma once

#include <cstdio>

#include "core/clk/clk_time.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class KAdpConnId;

class ORB_API KAdpDbOperation {
 public:
  enum str_type : long {};
  enum long_type : long {};
  static constexpr long kNumStr = 63;
  static constexpr long kNumLong = 13;
  static constexpr long kPhrase37Size = 256;

  KAdpDbOperation(const KAdpDbOperation&) = delete;
  KAdpDbOperation& operator=(const KAdpDbOperation&) = delete;

  // 1-6: the phrase table.
  virtual const char* GetDbSpecificStr(str_type index) const;
  virtual long GetDbSpecificLong(long_type index) const;
  virtual void SetDbSpecificStr(str_type index, const char* text);
  virtual void SetDbSpecificLong(long_type index, long value);
  virtual const char* GetUsrGroup(long role) const;
  virtual void Initialize();

  // Unique-key violation text: the object type id (-1 when the table is no
  // object type), the key's field names and the table (index) name. The
  // texts stay valid until the next call.
  virtual long ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** index_name);

  virtual ~KAdpDbOperation();

  // Clock time <-> the dialect's date text (caller's buffer of at least
  // CLK_TEXT_SIZE bytes). The caller's text is never changed.
  virtual long AdpTimeClkToStr(const clktime* time, char* out) = 0;
  virtual long AdpTimeStrToClk(const char* text, clktime* out) = 0;

  // The SELECT of the repository header row: db_name, create_date,
  // last_full_backup, last_incr_backup, up_since, last_modify, site_id,
  // db_rev, schema_rev, gmt_diff, cust_schema_rev, flags,
  // orbisan_schema_date, cust_schema_date, site_id_offline,
  // cust_int_sch_rev, dates as the dialect's date text.
  virtual KCLASSIC::KZString DbGetAdpDbHeader1() = 0;
  // The column-type code (0..11) of a catalogue type text; 0 when unknown.
  virtual long SchConvertDbType(const char* type_text) = 0;

  // Opens the DDL file for writing: 0 and the stream, or 1 and null.
  virtual long OpenDdlFile(FILE** out);

  KAdpConnId* GetConnection() const { return m_pConnection; }

 protected:
  KAdpDbOperation();
  void SetConnection(KAdpConnId* con) { m_pConnection = con; }
  // Sets a phrase or number from a dialect's Initialize (any index).
  void put_str(long index, const char* text);
  void put_long(long index, long value);

 private:
  KCLASSIC::KZString* slot(long index);
  const KCLASSIC::KZString* slot(long index) const;
  long* lslot(long index);
  void base_initialize();

  KAdpConnId* m_pConnection = nullptr;
  KCLASSIC::KZString m_str0;
  KCLASSIC::KZString m_str34, m_str35;
  KCLASSIC::KZString m_roles[3];  // 56, 57, 58
  KCLASSIC::KZString m_str59;
  long m_long0to5[6] = {};
  KCLASSIC::KZString m_strA[33];  // 1-10, 60-62, 11-29, 36 (in this order, see slot())
  char m_str37[kPhrase37Size] = {};
  long m_long10 = 0;
  KCLASSIC::KZString m_strB[19];  // 38-52, 30-33
  long m_long6to8[3] = {};
  KCLASSIC::KZString m_str53to55[3];
  long m_long11_12_9[3] = {};
  KCLASSIC::KZString m_strDdlFile;
};
