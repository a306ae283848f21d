// GenBOHandler: the request entry, verb dispatch, state commit and release,
// child dispatch and the freeing of maps.
#include "connector/conn_handler.h"

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_map.h"
#include "connector/conn_msg.h"
#include "connector/conn_util.h"

long recordCount = 0;
char bAlreadyInChild = 0;

namespace {

bool conn_verb_given(const char* verb) {
  return verb && *verb && strcmp(verb, "null") != 0;
}

}  // namespace

GenBOHandler::GenBOHandler(OrbisanGlobals* owner)
    : globals(owner ? owner : OrbisanGlobals::current()) {
  if (globals) {
    memoryRefreshInterval = globals->memoryRefreshInterval;
    restartCount = globals->restartCount;
  }
}

GenBOHandler::~GenBOHandler() { freeTravMap(); }

void GenBOHandler::freeTravMap() {
  if (travMap && travMapOwnsConds) delete[] travMap[0].conds;
  delete[] travMap;
  travMap = nullptr;
  travMapOwnsConds = false;
  travTexts.clear();
}

void GenBOHandler::countMemoryUnit() {
  if (memoryRefreshInterval <= 0) return;
  if (++recordCount >= memoryRefreshInterval) {
    gcCollect();
    recordCount = 0;
  }
}

void GenBOHandler::readOptions(BusinessObject& bo) {
  transactional = 1;
  multiKeyRetrieve = 0;
  BusObjSpec* spec = bo.getSpecFor();
  const char* text = spec ? spec->getAppText() : nullptr;
  if (!text || !*text) return;
  std::string work = text;
  size_t colon = work.find(':');
  std::string parts[2] = {work.substr(0, colon),
                          colon == std::string::npos ? std::string() : work.substr(colon + 1)};
  for (const std::string& part : parts) {
    if (strcasecmp(part.c_str(), "Transactionality=Partial") == 0) transactional = 0;
    if (strcasecmp(part.c_str(), "MultiKeyRetrieve=True") == 0) multiKeyRetrieve = 1;
  }
}

int GenBOHandler::releaseState() {
  if (!stateOpen) return 0;
  stateOpen = false;
  return static_cast<int>(cpi_state_rollback(state));
}

int GenBOHandler::finish(BusinessObject& bo, const char* verb, int result, bool trace_end) {
  // A state that no verb step released (an unknown verb, a refused object)
  // is released here.
  if (int status = releaseState(); status != 0) globals->utility->log_error(status);
  if (requestCounter == restartCount) globals->restartWanted = true;
  freeTravMap();
  if (trace_end)
    traceMessage(Tracing::LEVEL5, CONN_MSG_REQUEST_END, KzMsgFormat::ORB_INFO, 2, bo.getName(),
                 verb);
  PrivateDeleteMaps(bo);
  return result;
}

int GenBOHandler::doVerbFor(BusinessObject& bo, ReturnStatusDescriptor* /*status*/) {
  const char* given = bo.getAppVerb();
  std::string verb = given ? given : bo.getVerb();
  if (globals->connectionId == 0 || globals->ping(globals->connectionId) != 0) {
    JToCPPVeneer::getTheHandlerStuff()->logMsg("Returning BON_APPRESPONSETIMEOUT.");
    logMessage(CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 0);
    return -2;
  }
  ++requestCounter;
  long status = cpi_state_create(globals->connectionId, 0, &state);
  if (status != 0) {
    globals->utility->log_error(status);
    return -1;
  }
  stateOpen = true;
  try {
    traceMessage(Tracing::LEVEL5, CONN_MSG_REQUEST_START, KzMsgFormat::ORB_INFO, 2, bo.getName(),
                 verb.c_str());
    readOptions(bo);
    if (verb == "Create" && !bo.initAndValidateAttributes()) {
      traceMessage(Tracing::LEVEL5, CONN_MSG_REQUEST_END, KzMsgFormat::ORB_INFO, 2, bo.getName(),
                   verb.c_str());
      return finish(bo, verb.c_str(), -1, false);
    }
    int result = dispatch(bo, verb.c_str());
    // A step that failed because the connection went away answers -2, so
    // that the broker (and the poll) take it for a lost connection.
    if (result == -1 && globals->ping(globals->connectionId) != 0) {
      JToCPPVeneer::getTheHandlerStuff()->logMsg("Returning BON_APPRESPONSETIMEOUT.");
      logMessage(CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 0);
      result = -2;
    }
    return finish(bo, verb.c_str(), result, true);
  } catch (...) {
    char* text = generateTraceMsg(CONN_MSG_EXCEPTION, KzMsgFormat::ORB_INFO, nullptr, 2,
                                  verb.c_str(), bo.getName());
    if (*text) JToCPPVeneer::getTheHandlerStuff()->logMsg(text, KzMsgFormat::ORB_INFO);
    std::vector<char> dump(100000);
    if (bo.dump(dump.data(), static_cast<int>(dump.size())) > 0) {
      fputs(dump.data(), stdout);
      fputs("\n", stdout);
    }
    return finish(bo, verb.c_str(), -1, true);
  }
}

int GenBOHandler::dispatch(BusinessObject& bo, const char* verb) {
  if (strcmp(verb, "Create") == 0) return doCreate(bo);
  if (strcmp(verb, "Delete") == 0) return doDelete(bo);
  if (strcmp(verb, "Update") == 0) return doUpdate(bo);
  if (strcmp(verb, "Retrieve") == 0 || strcmp(verb, "RetrieveAll") == 0 ||
      strcmp(verb, "Exist") == 0 || strcmp(verb, "RetrieveByContent") == 0)
    return doRetrieve(bo);
  if (strcmp(verb, "CASE_CLOSED") == 0) return doUpdate(bo);
  logMessage(CONN_MSG_BAD_VERB, KzMsgFormat::ORB_ERROR, 1, verb);
  return -1;
}

int GenBOHandler::PrivateSaveTransactionState(BusinessObject& bo, int result) {
  if (result == -1) return -1;
  globals->utility->cpi_state_dump(state);
  long status = cpi_state_commit(state);
  if (status == 0) return 1;
  globals->utility->log_error(status);
  cpi_alert_print(nullptr, 0);
  logMessage(CONN_MSG_COMMIT_FAILED, KzMsgFormat::ORB_ERROR, 1, bo.getName());
  return -1;
}

namespace {

// Commits after a writing step and releases the state in every case; a
// failed release is reported and answered -1.
int conn_write_and_release(GenBOHandler& h, BusinessObject& bo,
                           int (*step)(GenBOHandler&, BusinessObject&)) {
  int result = step(h, bo);
  int saved = h.PrivateSaveTransactionState(bo, result);
  if (saved >= 0) h.PrivatePopulateObjids(bo, static_cast<Map*>(bo.getContext()));
  h.stateOpen = false;
  long status = cpi_state_rollback(h.state);
  if (status != 0) {
    h.globals->utility->log_error(status);
    return -1;
  }
  return saved;
}

}  // namespace

int GenBOHandler::doCreate(BusinessObject& bo) {
  return conn_write_and_release(*this, bo, verbSteps.create);
}

int GenBOHandler::doUpdate(BusinessObject& bo) {
  return conn_write_and_release(*this, bo, verbSteps.update);
}

int GenBOHandler::doDelete(BusinessObject& bo) { return doUpdate(bo); }

int GenBOHandler::doRetrieve(BusinessObject& bo) {
  countMemoryUnit();
  const char* given = bo.getAppVerb();
  std::string verb = conn_verb_given(given) ? given : bo.getVerb();
  int result;
  if (verb == "RetrieveByContent") {
    result = verbSteps.retrieve_by_content(*this, bo);
  } else if (verb == "RetrieveAll") {
    result = verbSteps.retrieve_all(*this, bo);
  } else if (verb == "Exist") {
    result = verbSteps.retrieve(*this, bo);
  } else if (deepRetrieve) {
    bo.setVerb("RetrieveAll");
    result = verbSteps.retrieve_all(*this, bo);
    bo.setVerb("Retrieve");
  } else {
    // A shallow Retrieve answers without children.
    PrivateRemoveChildren(bo);
    result = verbSteps.retrieve(*this, bo);
  }
  if (int status = releaseState(); status != 0) {
    globals->utility->log_error(status);
    return -1;
  }
  if (verb == "RetrieveByContent") {
    BusObjSpec* spec = bo.getSpecFor();
    const char* text = spec ? spec->getVerbAppText("RetrieveByContent") : nullptr;
    const char* next = nullptr;
    if (text && strcasecmp(text, "SubsequentRetrieve=False") == 0) next = "Retrieve";
    if (text && strcasecmp(text, "SubsequentRetrieve=True") == 0) next = "RetrieveAll";
    if (next) {
      PrivateDeleteMaps(bo);
      bo.setAppVerb(next);
      result = bo.doVerbFor();
    }
  }
  return result;
}

int GenBOHandler::doSubVerbFor(BusinessObject& bo) {
  const char* given = bo.getAppVerb();
  std::string verb = conn_verb_given(given) ? given : bo.getVerb();
  if (!conn_verb_given(verb.c_str()) && bo.getParent()) {
    BusinessObject* parent = bo.getParent();
    const char* parent_verb = parent->getAppVerb();
    verb = conn_verb_given(parent_verb) ? parent_verb : parent->getVerb();
    bo.setAppVerb(verb.c_str());
  }
  traceMessage(Tracing::LEVEL5, CONN_MSG_SUB_REQUEST, KzMsgFormat::ORB_INFO, 2, bo.getName(),
               verb.c_str());
  if (verb == "Create") return verbSteps.create(*this, bo);
  if (verb == "Delete") return 0;
  if (verb == "Update" || verb == "CASE_CLOSED") return verbSteps.update(*this, bo);
  if (verb == "Retrieve") return verbSteps.retrieve(*this, bo);
  if (verb == "RetrieveByContent") return verbSteps.retrieve_by_content(*this, bo);
  if (verb == "RetrieveAll") return verbSteps.retrieve_all(*this, bo);
  logMessage(CONN_MSG_BAD_VERB, KzMsgFormat::ORB_ERROR, 1, verb.c_str());
  return 0;
}

int GenBOHandler::doSubObjects(BusinessObject& bo) {
  int result = 0;
  for (int i = 0; i < bo.getAttrCount() - 1; ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    void* value = bo.getAttrValue(i);
    if (!desc || !desc->isObjectType() || !value || BusinessObject::isIgnoreValue(value))
      continue;
    if (desc->isMultipleCard()) {
      auto* container = static_cast<BusObjContainer*>(value);
      for (int k = 0; k < container->getObjectCount(); ++k) {
        result = doSubVerbFor(*container->getObject(k));
        if (result < 0) return result;
      }
    } else {
      result = doSubVerbFor(*static_cast<BusinessObject*>(value));
      if (result < 0) break;
    }
  }
  return result;
}

void GenBOHandler::PrivateDeleteMaps(BusinessObject& bo) {
  if (bo.getContext()) {
    traceMessage(Tracing::LEVEL5, CONN_MSG_DELETE_MAP, KzMsgFormat::ORB_INFO, 1, bo.getName());
    delete static_cast<Map*>(bo.getContext());
    bo.setContext(nullptr);
  }
  for (int i = 0; i < bo.getAttrCount(); ++i) {
    BOAttrType* desc = bo.getAttrDesc(i);
    void* value = bo.getAttrValue(i);
    if (!desc || !desc->isObjectType() || !value || BusinessObject::isIgnoreValue(value))
      continue;
    if (desc->isMultipleCard()) {
      auto* container = static_cast<BusObjContainer*>(value);
      for (int k = 0; k < container->getObjectCount(); ++k)
        PrivateDeleteMaps(*container->getObject(k));
    } else {
      PrivateDeleteMaps(*static_cast<BusinessObject*>(value));
    }
  }
}
