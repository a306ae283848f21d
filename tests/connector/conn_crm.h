// A small CRM for the verb tests: sites with an address line, contacts
// related to sites, notes related to contacts; and the business-object types
// that map onto them.
//
//   Orbisan_Site     SiteID (key, numbered "Site ID"), Name, AddrLine and City
//                    (address, related from the site), contacts (container)
//   Orbisan_Contact  ContactId (key, objid, related from the parent's site),
//                    First, Last, one note
//   Orbisan_Note     NoteId (key, objid, related from the parent contact), Text
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "conn_fixture.h"

class conn_crm_test : public conn_test {
 protected:
  void SetUp() override;

  // A request of `type` with simple attributes set by name.
  static std::unique_ptr<BusinessObject> request(
      const char* type, const char* verb,
      const std::vector<std::pair<const char*, const char*>>& values);
  // A child of `type` put into `parent`'s attribute `attr`.
  static BusinessObject* add_child(BusinessObject& parent, const char* attr,
                                   const std::vector<std::pair<const char*, const char*>>& values);
  static std::string text(BusinessObject& bo, const char* attr);
  int run(BusinessObject& bo) {
    ReturnStatusDescriptor status;
    return handler()->doVerbFor(bo, &status);
  }
  // A stored site with an address and contacts (each with a note when
  // `notes`); returns the site's id.
  long store_site(const char* site_id, const char* name,
                  const std::vector<const char*>& contacts, bool notes = false);
  // Nothing left open in the double and no map left on `bo`.
  void expect_clean(BusinessObject& bo);
};
