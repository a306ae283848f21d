#include "bo_dict_fixture.h"

#include "bo/bo_util.h"
#include "bohost_msg.h"

#include <cstring>

using namespace KCLASSIC;

namespace botest {

void LoopMgr::FetchMetaData(KDdBulkRequest* request) {
  ++fetches;
  KHostMsg wire;
  request->Write(wire);
  requests.push_back(wire.Bytes());
  if (!server) return;
  KDdBulkRequestData answer;
  server->GetMetaData(request, &answer);
  KHostMsg back;
  answer.Write(back);
  KDdBulkRequestData received;
  received.Read(back);
  received.LoadDictionary(request->GetDict());
}

std::vector<unsigned long> Languages(unsigned long lang) { return std::vector<unsigned long>(8, lang); }

DictTest::DictTest() {
  loop.m_lIdentNum1 = mgr.m_lIdentNum1;
  loop.m_lIdentNum2 = mgr.m_lIdentNum2;
  loop.m_lIdentNum3 = mgr.m_lIdentNum3;
  std::strcpy(loop.m_szIdentText1, mgr.m_szIdentText1);
  std::strcpy(loop.m_szIdentText2, "loop");
  loop.m_lModeType = BO_MODE_PRODUCT;
  mgr.m_lModeType = BO_MODE_PRODUCT;
  loop.Initialize();
  mgr.Initialize();
  auto langs = Languages(1033);
  client = std::make_unique<KDdDict>(&loop);
  client->InitializeComponents("sess1", langs.data());
  server = std::make_unique<KDdDict>(&mgr);
  server->InitializeComponents("server", langs.data());
  loop.server = server.get();
}

DictTest::~DictTest() {
  client.reset();
  server.reset();
  loop.Terminate();
  mgr.Terminate();
}

long DictTest::DbId(long subsys, long index) {
  long s = 0;
  long n = 0;
  return MapOrbnStrId2DbStrId(CrmId(subsys, index), s, n);
}

KDdTable* DictTest::PutTable(KDdDict& dict, long id, const char* name, bool view) {
  auto* table = new KDdTable(name, "", "grp", int(id), view ? int(DD_TBL_VIEW) : 0);
  dict.GetDataDictCompnt()->AddTable(table);
  return table;
}

} // namespace botest
