// Map: the parse of every attribute's application text of one business
// object, and the reads and writes between CRM object fields and the
// object's attribute values that follow from it.
//
// Application text of a simple attribute:
//   [name=value;...|]table[:field[,others][:relation part[:type code
//   [:parent_ind[:rel_to_obj_attr[:val_from_attr[:val_from_field]]]]]]]
// Pairs: "SchemeName", "RBC" (view:view field), "DT" (data type), "PP"
// (pre-processing lookup). A relation part "[name]" names a relation lookup
// attribute; otherwise it is the first relation[,other relations].
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "client/cpi_ty.h"

class BusinessObject;
class OrbisanUtilityFn;

// Type codes of an attribute record.
constexpr int CONN_TC_LONG = 1;
constexpr int CONN_TC_FLOAT = 2;
constexpr int CONN_TC_STRING = 3;
constexpr int CONN_TC_LONGTEXT = 4;
constexpr int CONN_TC_DOUBLE = 5;

// Limits of the parse: a whole application text, and the fixed-size names.
constexpr size_t CONN_MAP_TEXT_MAX = 255;
constexpr size_t CONN_MAP_NAME_SIZE = 32;

constexpr const char* CONN_NULL_DATE = "01/01/1753 00:00:00";
constexpr const char* CONN_MAX_DATE = "12/31/4712 00:00:00";

// One attribute's record.
struct conn_ty_map_attr {
  char table[CONN_MAP_NAME_SIZE] = {};
  char field[CONN_MAP_NAME_SIZE] = {};
  std::optional<std::string> other_fields;
  std::optional<std::string> first_relation;
  std::optional<std::string> other_relations;
  std::optional<std::string> relation_lookup_attr;
  int type_code = CONN_TC_STRING;
  int parent_ind = 0;
  std::optional<std::string> rel_to_obj_attr;
  std::optional<std::string> val_from_attr;
  std::optional<std::string> val_from_field;
  bool in_memory = false;
  bool evaluated = false;
  bool generate_number = false;
  char scheme_name[CONN_MAP_NAME_SIZE] = {};
  char view[CONN_MAP_NAME_SIZE] = {};
  char view_field[CONN_MAP_NAME_SIZE] = {};
  int data_type = -1;
  std::optional<std::string> pre_processing;
  cpi_ty_objid objid = {};
  void* object = nullptr;
  bool is_object = false;
};

class Map {
 public:
  // Parses every attribute in index order and becomes the object's context.
  explicit Map(BusinessObject* bo);
  Map(const Map&) = delete;
  Map& operator=(const Map&) = delete;
  ~Map();

  // Accessors by attribute index: null, 0 or false without a record.
  const char* getTable(int i) const;
  const char* getField(int i) const;
  const char* getOtherFields(int i) const;
  const char* getFirstRelation(int i) const;
  const char* getOtherRelation(int i) const;
  const char* getRelationLookupAttr(int i) const;
  const char* getSchemeId(int i) const;
  int getTypeCode(int i) const;
  int getDataType(int i) const;
  int getParent_ind(int i) const;
  const char* getRel_to_obj_attr(int i) const;
  const char* getVal_from_attr(int i) const;
  const char* getVal_from_field(int i) const;
  const char* getView(int i) const;
  const char* getViewField(int i) const;
  const char* getRetrieveFrom(int i) const;
  bool getIsObject(int i) const;
  void setIsObject(int i, bool value);
  bool getIsInMemory(int i) const;
  void setIsInMemory(int i, bool value);
  bool getIsEvaluated(int i) const;
  void setIsEvaluated(int i, bool value);
  bool getIsGenerateNum(int i) const;
  void setIsGenerateNum(int i, bool value);
  const cpi_ty_objid* getObjid(int i) const;
  void setObjid(int i, const cpi_ty_objid& objid);
  void* getObj(int i) const;
  void setObj(int i, void* object);

  // By table name: the first record whose table matches.
  const char* getFirstRelation(const char* table) const;
  const char* getOtherRelation(const char* table) const;
  bool setFirstRelation(const char* table, const char* relation);

  // Index of the attribute of that name (case-sensitive), -1 when absent.
  static int getIndex(const char* name, BusinessObject* bo);

  // With an index in range the attribute at that index is read or set;
  // otherwise the first record with that table and field is used and its
  // index stored back. get_value leaves the value null when nothing matches;
  // set_field sets nothing for a null value. Both return 0.
  long get_value(const char** value, const char* table, const char* field, const char* ignored,
                 int* index);
  long set_field(const char* value, const char* table, const char* field, const char* ignored,
                 int* index);

  // Writes the values of the attributes mapped on `table` into the CRM object.
  long write_obj_new(void* object, const char* table, const char* ignored);
  // Runs the map and loads each level's first hit; -9999 when level 0 finds
  // nothing.
  long load_data(long con_id, long state, cpi_ty_trav_map* map, long levels);
  // Loads the attributes whose table (view flag: view) is `name`.
  long load_record(void* object, const char* name, const char* ignored, bool view);
  long load_referenced_object(void* object, const char* table);
  // Reads one field as text by type code; an empty field name gives "".
  long load_field(void* object, const char* field, int type_code, std::string& value);

  // Points the map at another business object of the same type (whose
  // context it becomes), or back at its own.
  void setBusinessObject(BusinessObject* bo);

  // The record of attribute i, or null.
  const conn_ty_map_attr* record(int i) const;

 private:
  conn_ty_map_attr* rec(int i) const;
  void parse(int i);
  void report(int number, const char* attr_name);
  void reportTooLong(const char* attr_name);
  bool setLoaded(int i, const std::string& text);

  BusinessObject* bo_;
  std::vector<conn_ty_map_attr*> records_;
  OrbisanUtilityFn* utility_;
};
