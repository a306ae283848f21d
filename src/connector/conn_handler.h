// GenBOHandler: the connector's one business-object handler. Every request
// business object reaches doVerbFor, which checks the CRM connection, opens a
// state, reads the object-level options, dispatches on the verb, commits or
// abandons the state and frees the request's maps and query levels.
#pragma once

#include <cstdarg>
#include <deque>
#include <string>

#include "client/cpi_ty.h"
#include "kl_connector.h"
#include "orb_api.h"

class Map;
class OrbisanGlobals;
class GenBOHandler;

// The verb steps a request is dispatched to. A handler starts with the
// connector's own steps; the table is what dispatch calls.
struct conn_ty_verb_steps {
  int (*create)(GenBOHandler& h, BusinessObject& bo);
  int (*update)(GenBOHandler& h, BusinessObject& bo);
  int (*retrieve)(GenBOHandler& h, BusinessObject& bo);
  int (*retrieve_all)(GenBOHandler& h, BusinessObject& bo);
  int (*retrieve_by_content)(GenBOHandler& h, BusinessObject& bo);
};
extern const conn_ty_verb_steps conn_verb_steps;

// Shared by all verb steps: the memory-refresh counter, and the mark of a
// child Update in progress.
extern long recordCount;
extern char bAlreadyInChild;

// What PrivateRelateObjects found to do.
constexpr int CONN_RELATE_NONE = 0;
constexpr int CONN_RELATE_DONE = 1;
constexpr int CONN_RELATE_REFUSED = -1;

// Level kind of objects related to the parent level's objects.
constexpr int32_t CONN_KIND_RELATED = 2;
// Internal results: a child without stored object; an object not found.
constexpr int CONN_CHILD_MISSING = -5;
constexpr int CONN_ID_GEN_FAILED = 240;

class ORB_API GenBOHandler : public BOHandlerCPP {
 public:
  explicit GenBOHandler(OrbisanGlobals* owner = nullptr);
  ~GenBOHandler() override;
  int doVerbFor(BusinessObject& bo, ReturnStatusDescriptor* status) override;

  int doSubVerbFor(BusinessObject& bo);
  int doCreate(BusinessObject& bo);
  int doUpdate(BusinessObject& bo);
  int doDelete(BusinessObject& bo);
  int doRetrieve(BusinessObject& bo);
  int doSubObjects(BusinessObject& bo);
  int PrivateSaveTransactionState(BusinessObject& bo, int result);
  void PrivateDeleteMaps(BusinessObject& bo);

  // The verb steps.
  int Create(BusinessObject& bo);
  int Update(BusinessObject& bo);
  int Retrieve(BusinessObject& bo);
  int RetrieveAll(BusinessObject& bo);
  int RetrieveByContent(BusinessObject& bo);

  // Pre-processing lookups: builds the object's map (handed out in every
  // case) and fills attributes whose "PP" text names a lookup. 0 or -1.
  int PrivatePreProcessBusObj(BusinessObject& bo, Map** map);
  // One query level of `count` equality conditions on `type`; the handler's
  // traversal map takes the condition array over. 0 or -1.
  int PrivatePrepareSingleQuery(int count, const char* type, cpi_ty_fcond* conds,
                                long* num_objs, void*** objects, cpi_ty_qry_result** result);

  // Create's private steps.
  void PrivateInitMap(BusinessObject& bo, Map* map, long* levels);
  void PrivateSetTravMap(cpi_ty_trav_map* level, const char* rel, const char* type, int kind,
                         char flag, int cond_count, cpi_ty_fcond* conds);
  void PrivateSetRelations(BusinessObject& bo, Map* map, cpi_ty_trav_map* levels, int start);
  int PrivateGenerateID(BusinessObject& bo, Map* map);
  int PrivateNewObject(BusinessObject& bo, int i, Map* map, cpi_ty_trav_map* level,
                       const char* value, int flag);
  // CONN_RELATE_NONE, CONN_RELATE_DONE or CONN_RELATE_REFUSED (a relation
  // the client interface refused).
  int PrivateRelateObjects(BusinessObject& bo, Map* map, int i);
  void PrivatePopulateObjids(BusinessObject& bo, Map* map);

  // The query preparation of the retrieve family, shared with Update.
  int PrivateRetrievalInit(BusinessObject& bo, cpi_ty_trav_map* levels, Map* map, int* start,
                           long* level_count, bool retrieve, bool update, bool* changed);
  // Builds the conditions into a new array (the caller's to free).
  void PrivateSetConditions(BusinessObject& bo, Map* map, cpi_ty_fcond** conds, int* count,
                            bool by_content);
  void PrivateUseAttributeAsCondition(BusinessObject& bo, Map* map, int i, cpi_ty_fcond* conds,
                                      int* filled, bool by_content);
  bool PrivateUseAsCondition(BusinessObject& bo, Map* map, int i, bool by_content);
  void PrivateCheckParentIndex(BusinessObject& bo, long level_count);
  int PrivateRemoveChildren(BusinessObject& bo);
  int RetrieveChildrenAndRemoveRelations(BusinessObject& bo);

  char* generateTraceMsg(int number, int type, const char* info, int count, ...);
  char* vgenerateTraceMsg(int number, int type, const char* info, int count, va_list args);
  void dbgMsg(const char* text, int level);
  // Builds a message and logs it through the veneer with the message's own
  // type, or traces it at `level`; an empty message is not written.
  void logMessage(int number, int type, int count, ...);
  void traceMessage(int level, int number, int type, int count, ...);

  // Counts one unit of the memory refresh: every `memoryRefreshInterval`
  // units the memory manager collects.
  void countMemoryUnit();
  // Frees the traversal map (and the condition array of level 0 when the map
  // owns it).
  void freeTravMap();

  OrbisanGlobals* globals;
  long state = 0;
  char msgBuf[1024] = {};
  cpi_ty_trav_map* travMap = nullptr;
  char idGeneration = 1;
  char ignoreMissingChild = 1;
  char transactional = 1;
  char multiKeyRetrieve = 0;
  char deepRetrieve = 0;
  long memoryRefreshInterval = 0;
  char failOnUpdate = 1;
  long restartCount = -1;
  long requestCounter = 0;
  char traceBuf[2048] = {};

  // Whether the traversal map owns the condition array of its level 0.
  bool travMapOwnsConds = false;
  // Texts the traversal map's levels point at (relation names), freed with it.
  std::deque<std::string> travTexts;
  // Set when the walk of Update could not read or unrelate a stored child.
  bool walkFailed = false;
  // Whether `state` is open (created and not yet released).
  bool stateOpen = false;
  conn_ty_verb_steps verbSteps = conn_verb_steps;

 private:
  // The query preparation of Retrieve, RetrieveAll, Update and the walk:
  // the levels, level 0 (PrivateRetrievalInit's result, returned when not
  // 0) and the relation levels unless the step changed to a Create.
  int prepareRetrieval(BusinessObject& bo, Map* map, long* levels, bool retrieve, bool update,
                       bool* changed);
  // Reads level j of a result; false after message 22022.
  bool levelResult(BusinessObject& bo, cpi_ty_qry_result* result, long j, long* count,
                   void*** objects);
  int retrieveAllLevels(BusinessObject& bo, Map* map, cpi_ty_qry_result* result, long levels);
  int retrieveAllSiblings(BusinessObject& bo, Map* map, cpi_ty_qry_result* result, long levels,
                          long count, void** objects, int parent_attr);
  int retrieveAllChildren(BusinessObject& bo);
  int removeRelationsOfLevels(BusinessObject& bo, cpi_ty_qry_result* result, long levels);
  int removeRelationsOfChildren(BusinessObject& bo, Map* map);
  int updateLevels(BusinessObject& bo, Map* map, cpi_ty_qry_result* result, int first_level,
                   bool* changed);
  void readOptions(BusinessObject& bo);
  int dispatch(BusinessObject& bo, const char* verb);
  int releaseState();
  int finish(BusinessObject& bo, const char* verb, int result, bool trace_end);
};
