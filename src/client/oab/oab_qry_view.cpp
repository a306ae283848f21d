// The view map of secured views: view or type id, object type, field id
// and the field's path on the object type.
#include "client/oab/oab_qry.h"

namespace {

constexpr long kGenericIdNumber = 0x1000004;

struct view_row {
  long view;
  long type;
  long field;
  const char* path;
};

const view_row kRows[OAB_QRY_VIEW_ROWS] = {
    {0, 0, 2, "id_number"},
    {0, 0, kGenericIdNumber, "id_number"},
    {24, 24, 4, "id_number"},
    {24, 24, kGenericIdNumber, "id_number"},
    {192, 192, 2, "id_number"},
    {192, 192, kGenericIdNumber, "id_number"},
    {289, 270, 4, "contact_role2contact:first_name"},
    {289, 270, 5, "contact_role2contact:last_name"},
    {289, 270, 11, "contact_role2site:site_id"},
    {289, 270, 10, "contact_role2site:name"},
    {289, 270, 6, "contact_role2contact:phone"},
    {289, 270, 16, "contact_role2site:cust_primaddr2address:city"},
    {289, 270, 8, "role_name"},
    {289, 270, 12, "contact_role2site:type"},
    {289, 270, 30, "contact_role2contact:status"},
    {289, 270, 2, "contact_role2site:objid"},
    {289, 270, 1, "contact_role2contact:objid"},
    {88, 52, 1, "site_id"},
    {88, 52, 2, "name"},
    {88, 52, 3, "type"},
    {88, 52, 4, "cust_primaddr2address:address"},
    {88, 52, 5, "cust_primaddr2address:city"},
    {88, 52, 6, "cust_primaddr2address:state"},
    {88, 52, 7, "cust_primaddr2address:address2country:code"},
    {88, 52, 8, "site_type"},
    {88, 52, 9, "status"},
    {289, 270, 34, "contact_role2site:primary2bus_org:org_id"},
    {289, 270, 35, "contact_role2site:primary2bus_org:name"},
    {88, 173, 11, "primary2bus_org:org_id"},
    {88, 173, 12, "primary2bus_org:name"},
};

}  // namespace

long oab_qry_view_to_obj_map(long view, long field, long* type, const char** path) {
  *type = -1;
  if (path != nullptr) *path = nullptr;
  long i = 0;
  while (i < OAB_QRY_VIEW_ROWS && kRows[i].view != view) ++i;
  if (i == OAB_QRY_VIEW_ROWS) return 0;
  *type = kRows[i].type;
  if (path == nullptr || field == -1) return 0;
  for (; i < OAB_QRY_VIEW_ROWS; ++i) {
    if (kRows[i].view != view || kRows[i].field != field) continue;
    *type = kRows[i].type;
    *path = kRows[i].path;
    return 0;
  }
  return 0;
}
