// GenBOHandler: the verb steps. Each starts with the pre-processing of the
// business object. The Create, Update and Retrieve families come with their
// own changes; until then each step reports that it is not available and
// fails the request.
#include <string>

#include "connector/conn_handler.h"

namespace {

int conn_step_unavailable(GenBOHandler& h, BusinessObject& bo, const char* step) {
  if (bo.getContext() == nullptr) {
    Map* map = nullptr;
    if (h.PrivatePreProcessBusObj(bo, &map) != 0) return -1;
  }
  std::string text = std::string("The ") + step + " step is not available in this build.";
  JToCPPVeneer::getTheHandlerStuff()->logMsg(text.c_str(), KzMsgFormat::ORB_ERROR);
  return -1;
}

}  // namespace

int GenBOHandler::Create(BusinessObject& bo) { return conn_step_unavailable(*this, bo, "Create"); }
int GenBOHandler::Update(BusinessObject& bo) { return conn_step_unavailable(*this, bo, "Update"); }
int GenBOHandler::Retrieve(BusinessObject& bo) {
  return conn_step_unavailable(*this, bo, "Retrieve");
}
int GenBOHandler::RetrieveAll(BusinessObject& bo) {
  return conn_step_unavailable(*this, bo, "RetrieveAll");
}
int GenBOHandler::RetrieveByContent(BusinessObject& bo) {
  return conn_step_unavailable(*this, bo, "RetrieveByContent");
}

const conn_ty_verb_steps conn_verb_steps = {
    [](GenBOHandler& h, BusinessObject& bo) { return h.Create(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.Update(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.Retrieve(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.RetrieveAll(bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return h.RetrieveByContent(bo); },
};
