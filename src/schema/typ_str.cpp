// The TYP message list: compiled-in texts and registration.
#include <cstdarg>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "schema/typ_msg.h"

namespace {

const char* const kTexts[TYP_NUM_MSGS] = {
    "Relation %s of object type %s does not have an inverse relation.\n",  // 1800
    "Relation %s of object type %s does not match its inverse relation.\n",  // 1801
    "Relation '%s' is not a known relation for object type '%s'.\n",  // 1802
    "Generic relation ID %lx is not valid.\n",  // 1803
    "Specific relation ID %lx is not valid.\n",  // 1804
    "Object schema %s (%lx) can't be modified.\n",  // 1805
    nullptr,  // 1806
    "Object schema handle %lx is not valid.\n",  // 1807
    "Can't find type ID=%ld, type name='%s'.\n",  // 1808
    "Generic field ID %lx of object schema %s is invalid.\n",  // 1809
    "Mapping of generic field ID %lx of object schema %s is invalid.\n",  // 1810
    "Specific field ID %ld of object schema %s is invalid.\n",  // 1811
    "Data type %ld of field %s of object type %s can't be stored to the database.\n",  // 1812
    "Definition of generic field ID %ld of object schema %s is invalid.\n",  // 1813
    "Definition of generic rel ID %ld of object schema %s is invalid.\n",  // 1814
    "Relation %s of object type %s is not valid.\n",  // 1815
    "MTM table name generated from names of object %s and object %s was too long.\n",  // 1816
    "Field '%s' does not exist for object type '%s'.\n",  // 1817
    "Cannot find object type '%s' used by field '%s' in view '%s'.\n",  // 1818
    "Cannot find field '%s' in object type '%s' used in view '%s'.\n",  // 1819
    "An object/view with the name '%s' already exists.\n",  // 1820
    "The string field '%s' of type '%s' must have a length greater than 0 (use ARRAY_SIZE=#).\n",  // 1821
    "The field '%s' cannot be deleted because it does not exist for object %s.\n",  // 1822
    "All index relations ('%s') must be a Many-to-One (MTO) or OTOP.\n",  // 1823
    "The '%s' field '%s' specified for index '%s' on line %ld does not exist.\n",  // 1824
    nullptr,  // 1825
    "The '%s' index '%s' on line %ld needs at least one field (FIELD=name) or relation (RELATION=name).\n",  // 1826
    "The relation '%s' to rename to '%s' does not exist for object type '%s'.\n",  // 1827
    "An OBJECT_END was found without a preceding OBJECT on line %ld.\n",  // 1828
    "Every object type needs one field marked as either UNIQUE or GEN_FIELD_ID=3 (on line %ld).\n",  // 1829
    "An OBJECT_END was expected but not found  on line %ld.\n",  // 1830
    "Subobject types cannot have any field marked as UNIQUE or GEN_FIELD_ID=3 (on line %ld).\n",  // 1831
    "Fields of type array need a GEN_FIELD_ID=n to indicate their unique array number (line %ld).\n",  // 1832
    "The CMN_DTYPE_TYPE='%s' given on line %ld is not a known data type.\n",  // 1833
    "The view field '%s' is not a field of the object type '%s' (line %ld).\n",  // 1834
    "You cannot specify both a UNIQUE keyword and a GEN_FIELD_ID for field '%s' on line %ld.\n",  // 1835
    "Cannot open file '%s' for writing out schema differences.\n",  // 1836
    "Invalid DB_DATA_TYPE=%ld on line %ld (must be in range of %ld to %ld).\n",  // 1837
    "Invalid GEN_FIELD_ID=%ld on line %ld (must be in range of %ld to %ld).\n",  // 1838
    "Invalid ARRAY_SIZE=%ld on line %ld (must be in range of %ld to %ld).\n",  // 1839
    "Differences between old and new OrbisanCRM Data Dictionary:\n",  // 1840
    "4 byte integer",  // 1841
    "2 byte integer",  // 1842
    "1 byte integer",  // 1843
    "4 byte float",  // 1844
    "8 byte float",  // 1845
    "currency 8 byte float",  // 1846
    "fixed length string",  // 1847
    "variable length string",  // 1848
    "unlimited length string",  // 1849
    "date/time",  // 1850
    "WOULD delete schema info for type %ld\n",  // 1851
    "Could not find relation '%s' to delete.\n",  // 1852
    "Could not find relation '%s' to add/modify.\n",  // 1853
    "Could not find relation '%s' to rename/modify.\n",  // 1854
    "Calculating changes to tables and views...\n",  // 1855
    "Applying table/view changes to the database...\n",  // 1856
    "Writing schema changes to database...\n",  // 1857
    "Creating stored procedures...\n",  // 1858
    "*** WOULD COMMIT schema for %s type '%s' ***\n",  // 1859
    "*** WOULD DELETE schema for type '%s' ***\n",  // 1860
    "RENAMING MTM table for relation '%s' to '%s'\n",  // 1861
    "Cannot have two fields ('%s' and '%s') in an object/view ('%s') with the same gen_field_id value.\n",  // 1862
    "A problem was found reading line %ld of data dictionary file.  Possibly the wrong file was supplied.\n",  // 1863
    "Cannot have two outer join options.\n",  // 1864
    "Cannot outer join %s to more than one other table in  view (%s).\n",  // 1865
    "Exclusive relation group name '%s' on object '%s' exceeds 22 characters.\n",  // 1866
    "Exclusive relation group name '%s' has to be marked on either M-side of MTO/OTM or OTOP-side of OTOP/OTOF.\n",  // 1867
    "There exists other TO '%s' relation in group '%s' already.\n",  // 1868
    nullptr,  // 1869
    "Exclusive relations can NOT be changed during schema upgrade.\nMake sure your new schema has "
    "same exclusive relations as before.\n",  // 1870
    "The flag of relation %s of object type %s does not match its inverse relation.\n",  // 1871
    "Relation %s of object type %s should be ahead of user defined relations.\n",  // 1872
    "Duplicate relation names ('%s') in an object ('%s').\n One may be a user_defined relation.\n",  // 1873
    "An object/view with the type '%ld' already exists.\n",  // 1874
    "Relation %s of object type %s cannot be changed.\n Can't change MTM relation.\n",  // 1875
    "You can not change the target object or relation type while preserving a user defined "
    "relation.\n",  // 1876
    "decimal",  // 1877
    "vtext",  // 1878
    "Duplicate field names ('%s') in an object ('%s').\n One may be a user_defined field.\n",  // 1879
    "Case Mismatch in field ('%s') and field ('%s') for exclusive group ('%s').\n",  // 1880
    "The type for field ('%s') used in exclusive group ('%s') as objid_field should be DB_DATA_TYPE=0 and "
    "CMN_DATA_TYPE= long integer.\n",  // 1881
    "The type for field ('%s') used in exclusive group ('%s') as type_field should be either DB_DATA_TYPE=0 or 1 "
    "and CMN_DATA_TYPE= long integer.\n",  // 1882
    "Exclusive group ('%s') should be defined before repoen.\n",  // 1883
};
static_assert(sizeof kTexts / sizeof kTexts[0] == TYP_NUM_MSGS);

const loc_ty_arg_table<TYP_NUM_MSGS> kArgs(0);

}  // namespace

long typ_str_init() {
  if (long st = cmn_list_install_res_table(TYP_FIRST_ID, TYP_NUM_MSGS, kTexts)) return st;
  return loc_str_init_list("typ", TYP_SUBSYS, TYP_FIRST_ID, TYP_LAST_ID, TYP_NUM_MSGS, kArgs.bytes);
}

const char* typ_str_text(long n) { return n >= 0 && n < TYP_NUM_MSGS ? kTexts[n] : nullptr; }

long typ_alrt(const char* proc, long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, proc, code, 0, args);
  va_end(args);
  return code;
}
