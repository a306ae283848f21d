// Records of the schema model: schema records with their info blocks, field
// records, generic-to-specific maps, relation records and relation entries,
// relations waiting for their inverse, and the view records (view-field info,
// alias block, join definition, join block).
//
// Records are kept by value in growable collections; a pointer into an array
// stays valid only until the next insertion into that collection.
#pragma once

#include <cstdint>

struct utl_ty_col;

// Record type ids of the registry.
constexpr long TYP_TY_SREC = 523;
constexpr long TYP_TY_FREC = 524;
constexpr long TYP_TY_MAP = 525;
constexpr long TYP_TY_RREC = 573;
constexpr long TYP_TY_RO = 574;
constexpr long TYP_TY_REL_INST = 581;
constexpr long TYP_TY_JOIN_BLK = 624;
constexpr long TYP_TY_ALIAS_BLK = 625;
constexpr long TYP_TY_OPT_REL = 649;
constexpr long TYP_TY_DIFF = 702;

// Schema flag bits.
constexpr unsigned long TYP_SCH_CONSTRUCT = 0x1;
constexpr unsigned long TYP_SCH_OBJECT = 0x2;
constexpr unsigned long TYP_SCH_VIEW = 0x4;
constexpr unsigned long TYP_SCH_SUBOBJ = 0x8;
constexpr unsigned long TYP_SCH_CHANGED = 0x10;
constexpr unsigned long TYP_SCH_OPTIMIZED = 0x40;
constexpr unsigned long TYP_SCH_VISITED = 0x80;
constexpr unsigned long TYP_SCH_COUNT_TARGET = 0x100;
constexpr unsigned long TYP_SCH_VIEW_OPT = 0x200;
constexpr unsigned long TYP_SCH_WRITTEN = 0x400;
constexpr unsigned long TYP_SCH_DELETED = 0x800;
constexpr unsigned long TYP_SCH_JOINS_DONE = 0x20000;
constexpr unsigned long TYP_SCH_RECURSIVE = 0x40000;
constexpr unsigned long TYP_SCH_RECUR_COUNT = 0x7f800000;  // bits 23-30
constexpr unsigned long TYP_SCH_SQL_VIEW = 0x100000;

// Field flag bits.
constexpr unsigned long TYP_FLD_PREDEFINED = 0x1;
constexpr unsigned long TYP_FLD_COMPUTED = 0x2;
constexpr unsigned long TYP_FLD_USER = 0x4;
constexpr unsigned long TYP_FLD_MANDATORY = 0x8;
constexpr unsigned long TYP_FLD_INTEGER = 0x10;
constexpr unsigned long TYP_FLD_BARRAY = 0x20;
constexpr unsigned long TYP_FLD_CARRIED = 0x100;
constexpr unsigned long TYP_FLD_STAMPS = 0x200;
constexpr unsigned long TYP_FLD_STAMP = 0x400;
constexpr unsigned long TYP_FLD_CURRENCY = 0x2000;

// Generic ids carry bit 24.
constexpr long TYP_GENERIC = 0x1000000;
constexpr long TYP_MAX_GEN_FIELD = 153;

// Field record (type 524).
struct typ_sch_frec {
  char* name;
  unsigned long flags;
  long array_size;
  long dec_precision;  // -1 when none
  long dec_scale;      // -1 when none
  long data_type;      // registry type id
  long db_type;        // storage class of the column
  long gen_id;         // -1 or 0..153, without bit 24
  long spec_id;        // position in the list
  void* uptr;          // a view field's typ_sch_vinfo, else null
  char* def;           // default text or null
  char* comment;       // never null once added
  char* old_name;      // never null once added
};

// Generic-to-specific map (type 525): a header and its entries in one block.
struct typ_ty_map_entry {
  int16_t spec;  // -1: unused
  int16_t gen;
};
struct typ_ty_map {
  long count;
  typ_ty_map_entry* entries;
};

struct typ_sch_rrec;
struct typ_sch_join_def;
struct typ_sch_join_blk;

// Relation entry of one schema (type 581).
constexpr unsigned long TYP_REL_INDEX = 0x10000;
constexpr unsigned long TYP_REL_USER = 0x20000;
constexpr unsigned long TYP_REL_REQUIRED = 0x40000;
constexpr unsigned long TYP_REL_DROPPED = 0x10000000;
struct typ_sch_rel_inst {
  long rel_index;            // -1 for an unresolved view join
  typ_sch_rrec* rel;         // set by typ_sch_optimize
  typ_sch_join_def* join_def;  // an unresolved view join's definition
  char side;                 // 'p' or 'f'
  unsigned long flags;
  typ_sch_join_blk* join;    // a resolved view join's block
  char* comment;
  char* old_name;
  long join_kind;            // 0 inner, 1 primary side outer, 2 foreign side outer
  unsigned long trav;        // traversal word
};

struct typ_sch_iblk;

// Schema record (type 523).
struct typ_sch_srec {
  unsigned long flags;
  long type_id;  // -2: removed
  long nfields;
  typ_sch_frec* fields;
  utl_ty_col* fcol;
  long nrels;
  typ_sch_rel_inst* rels;
  utl_ty_col* rcol;
  char* description;
  typ_sch_iblk* info;
  long path_steps;
};

constexpr long TYP_NAME_MAX = 64;

// Schema info block, allocated from the schema collection's pool.
struct typ_sch_iblk {
  char name[TYP_NAME_MAX + 1];
  utl_ty_col* relind_col;  // element type 517
  long nrelind;
  void** relind;          // positions, then entry addresses once optimised
  bool relind_converted;  // the list holds entry addresses
  void* uptr;
  char* subject;
  long nspecial;
  typ_sch_frec* special;
  utl_ty_col* special_col;
  typ_ty_map* fmap;
  typ_ty_map* rmap;
  char* sql;
};

// Relation types.
constexpr long TYP_REL_OTM = 1;
constexpr long TYP_REL_MTO = 2;
constexpr long TYP_REL_OTOP = 3;
constexpr long TYP_REL_OTOF = 4;
constexpr long TYP_REL_MTM = 5;
constexpr long TYP_REL_INDEX_MARK = 0x100;  // bit 8 of a relation type

// Relation record (type 573).
struct typ_sch_rrec {
  char* pname;
  char* fname;
  long pindex;
  typ_sch_srec* pschema;
  long findex;
  typ_sch_srec* fschema;
  long pspec;
  long pgen;
  long fspec;
  long fgen;
  long type;  // 0 once deleted
  char* mtm_table;
  long exclusive;
  char* phys_name;
  char* focus_field;
  char* excl_set;
};

// A relation waiting for its inverse (type 574).
struct typ_sch_ro {
  char* name;
  char* inv_name;
  char def_type[TYP_NAME_MAX + 1];
  char target_type[TYP_NAME_MAX + 1];
  unsigned long flags;
};

// Optional relation registration (type 649).
struct typ_sch_opt_rel {
  long type_id;
  long position;
};

// View-field info: the source of a view field. While unresolved the source
// type and field are named; once resolved they are numbers.
struct typ_sch_vinfo {
  long src_type_id;    // -1 while unresolved
  long src_schema;     // schema index
  long src_field;      // field position
  long src_field2;     // join elimination: relation index + 0x4000
  char* alias;         // empty text when none
  char unresolved;
  char* src_type_name;   // while unresolved
  char* src_field_name;  // while unresolved
};
constexpr long TYP_VINFO_REL = 0x4000;

// View alias block (type 625).
struct typ_sch_alias_blk {
  utl_ty_col* types;    // type names (516)
  utl_ty_col* aliases;  // aliases (516)
  typ_sch_srec* copy;   // the view before join elimination, or null
};

// Join definition of the schema language, until resolution.
struct typ_sch_join_def {
  char* first;
  char* rel1;
  char* second;
  char* rel2;
  char* text;
  long outer;  // 0 none, 1 first side outer, 2 second side outer
};

// Join block of a resolved view join (type 624).
struct typ_sch_join_blk {
  char* palias;
  char* falias;
  char* text;
};
