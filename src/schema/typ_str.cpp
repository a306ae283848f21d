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
    nullptr,  // 1821
    "The field '%s' cannot be deleted because it does not exist for object %s.\n",  // 1822
    nullptr, nullptr, nullptr, nullptr,  // 1823-1826
    "The relation '%s' to rename to '%s' does not exist for object type '%s'.\n",  // 1827
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 1828-1835
    "Cannot open file '%s' for writing out schema differences.\n",  // 1836
    nullptr, nullptr, nullptr,  // 1837-1839
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
    nullptr, nullptr, nullptr,  // 1862-1864
    "Cannot outer join %s to more than one other table in  view (%s).\n",  // 1865
    nullptr, nullptr, nullptr, nullptr,  // 1866-1869
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
    nullptr, nullptr, nullptr, nullptr, nullptr,  // 1879-1883
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
