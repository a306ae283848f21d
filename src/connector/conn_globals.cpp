// OrbisanGlobals: creation at load, properties, the handler, terminate.
#include "connector/conn_globals.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "client/cpi_sess.h"
#include "connector/conn_handler.h"
#include "connector/conn_util.h"

OrbisanGlobals* global_handle = nullptr;
OrbisanGlobals* theGlob = nullptr;

namespace {

// Loading the library makes the one globals object and publishes it.
struct conn_globals_loader {
  conn_globals_loader() {
    global_handle = new OrbisanGlobals();
    theGlob = global_handle;
    JToCPPVeneer::theAppGlobPtr = global_handle;
  }
};
conn_globals_loader conn_loader;

}  // namespace

OrbisanGlobals::OrbisanGlobals() : utility(new OrbisanUtilityFn()) {}

OrbisanGlobals::~OrbisanGlobals() {
  delete handler_;
  delete JToCPPVeneer::getTheHandlerStuff()->getTheSubHandler();
  delete utility;
  if (JToCPPVeneer::theAppGlobPtr == this) JToCPPVeneer::theAppGlobPtr = nullptr;
  if (global_handle == this) global_handle = nullptr;
  if (theGlob == this) theGlob = nullptr;
}

OrbisanGlobals* OrbisanGlobals::current() {
  return static_cast<OrbisanGlobals*>(JToCPPVeneer::theAppGlobPtr);
}

std::string OrbisanGlobals::readProp(const char* name, int size) {
  std::vector<char> buf(static_cast<size_t>(size), '\0');
  getConfigProp(name, buf.data(), size);
  return std::string(buf.data());
}

void OrbisanGlobals::readProperties() {
  int n = atoi(readProp("FloatPrecision", 40).c_str());
  if (n > 0) floatPrecision = n;
  n = atoi(readProp("DoublePrecision", 40).c_str());
  if (n > 0) doublePrecision = n;
  serverName = readProp("ServerName", 512);
  pollFrequency = readProp("PollFrequency", 512);
  applicationUserName = readProp("ApplicationUserName", 512);
  applicationPassword = readProp("ApplicationPassword", 512);
  databaseName = readProp("DatabaseName", 512);
  eventTableName = readProp("EventTableName", 512);
  if (eventTableName.empty()) eventTableName = CONN_DEFAULT_EVENT_TABLE;
  archiveTableName = readProp("ArchiveTableName", 512);
  stateDump_ = readProp("StateDumpFileName", 512);
  hasStateDump_ = !stateDump_.empty();
  std::string text = readProp("MemoryRefreshInterval", 25);
  memoryRefreshInterval = text.empty() ? 0 : atoi(text.c_str());
  text = readProp("RestartCount", 25);
  restartCount = text.empty() ? -1 : atoi(text.c_str());
  sqlDump_ = readProp("SQLDumpFileName", 512);
  hasSqlDump_ = !sqlDump_.empty();
}

int OrbisanGlobals::init(KzVersion* /*version*/) {
  readProperties();
  if (hasStateDump_) {
    if (FILE* f = fopen(stateDump_.c_str(), "a")) {
      time_t now = time(nullptr);
      char when[64] = {};
      ctime_r(&now, when);
      fprintf(f, "\n\n\n%s\n", std::string(42, '*').c_str());
      fprintf(f, "Started at: %s\n", when);
      fclose(f);
    }
  }
  // A session lost earlier is logged out before the new login.
  logoutLostSession();
  return static_cast<int>(login());
}

BOHandlerCPP* OrbisanGlobals::getBOHandlerforBO(char* /*name*/) {
  if (handler_) return handler_;
  handler_ = new GenBOHandler(this);
  auto flag_off = [this](const char* name) {
    return strcasecmp(readProp(name, 512).c_str(), "false") == 0;
  };
  handler_->idGeneration = flag_off("UseOrbisanID") ? 0 : 1;
  handler_->ignoreMissingChild = flag_off("IgnoreMissingChildObject") ? 0 : 1;
  handler_->failOnUpdate = flag_off("FailOnUpdate") ? 0 : 1;
  handler_->deepRetrieve = strcasecmp(readProp("RequestRetrieve", 512).c_str(), "deep") == 0;
  return handler_;
}

int OrbisanGlobals::terminate() {
  if (connectionId != 0) cpi_sess_logout(connectionId);
  connectionId = 0;
  logoutLostSession();
  return 0;
}

char* OrbisanGlobals::getVersion() {
  static std::string version = CONN_VERSION;
  return version.data();
}

long OrbisanGlobals::ping(long /*con_id*/) { return cpi_sess_ping(connectionId); }

long OrbisanGlobals::logout(long /*con_id*/) { return cpi_sess_logout(connectionId); }

extern "C" void gcInitialize(int enable) { gcFixPrematureFrees(enable); }
