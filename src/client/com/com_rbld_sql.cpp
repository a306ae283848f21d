// The delete statements of a rule's save, built whole as data.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"

std::string com_rbld_cond_delete_sql(const char* table, long rule, bool block) {
  std::string body = "delete from " + std::string(table) + " where parentrule2com_tmplte = " + std::to_string(rule);
  return block ? "BEGIN " + body + "; END;" : body;
}

std::string com_rbld_action_delete_sql(const char* table, long rule, const std::vector<long>& kept, bool block) {
  std::string text = std::string(block ? "BEGIN " : "") + "delete from " + table +
                     " where escal_act2com_tmplte = " + std::to_string(rule) + "\n";
  if (!kept.empty()) {
    text += " and objid NOT IN (";
    for (size_t i = 0; i < kept.size(); ++i) text += (i ? ", " : "") + std::to_string(kept[i]);
    text += block ? "); END; \n" : ")\n";
  } else if (block) {
    text += "; END;\n";
  }
  return text;
}
