#include "bo_usr_fixture.h"

namespace botest {

using namespace KCLASSIC;

void fill_row(KUtlRecord& rs, const std::vector<std::string>& cells, long row) {
  for (size_t c = 0; c < cells.size(); ++c) {
    if (long(c) >= rs.GetColumns()) rs.SetColType(long(c), UTL_CELL_STRING, ("c" + std::to_string(c)).c_str(), UTL_DB_VARSTR);
    rs.SetString(row, long(c), cells[c].c_str());
  }
}

void numbered_row(KUtlRecord& rs, long columns, long base) {
  std::vector<std::string> cells;
  for (long c = 0; c < columns; ++c) cells.push_back(std::to_string(base + c));
  fill_row(rs, cells);
}

void add_result(KUtlRecord& results, KUtlRecord& rs) {
  if (results.GetColumns() == 0) results.SetColType(0, UTL_CELL_RECORD, "ResultSet", UTL_DB_RECORD);
  results.SetRecord(results.GetRows(), 0, rs, 0);
}

std::vector<std::string> statements(const KStringList& list) {
  std::vector<std::string> out;
  for (KPOSITION pos = list.GetHeadPosition(); pos;) out.emplace_back(static_cast<const char*>(list.GetNext(pos)));
  return out;
}

} // namespace botest
