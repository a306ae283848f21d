// Base classes the connector derives from: the globals object and the
// business-object handler.
#pragma once

#include "kl_api.h"

#include "kl_msg.h"

class BusinessObject;
class BOHandlerCPP;

// Made by the framework for every doVerbFor call.
class KL_API ReturnStatusDescriptor {
 public:
  int status = 0;
  char message[256] = {};
};

// The connector's process-wide object. Virtual operations in slot order:
// destructor, getBOHandlerforBO, init, pollForEvents, terminate, getVersion,
// suspend, resume.
class KL_API GenGlobals {
 public:
  GenGlobals() = default;
  GenGlobals(const GenGlobals&) = delete;
  GenGlobals& operator=(const GenGlobals&) = delete;
  virtual ~GenGlobals();
  virtual BOHandlerCPP* getBOHandlerforBO(char* name) = 0;
  virtual int init(KzVersion* version) = 0;
  virtual int pollForEvents() = 0;
  virtual int terminate() = 0;
  virtual char* getVersion() = 0;
  virtual int suspend();
  virtual int resume();

  // Copies the property's text into buffer (at most size-1 characters, always
  // ended); an unset property reads as the empty text. 0 when the property is
  // set, -1 when not.
  int getConfigProp(const char* name, char* buffer, int size);
  void logMsg(const char* text);
  void logMsg(const char* text, int type);
  void traceWrite(int level, const char* text, const char* arg);
  // The message text; it stays valid until the next generateMsg on this object.
  char* generateMsg(int number, int type, const char* info, int count, ...);

 private:
  std::string msg_;
};

// Base of the connector's business-object handler. Virtual operations in
// slot order: destructor, doVerbFor.
class KL_API BOHandlerCPP {
 public:
  BOHandlerCPP() = default;
  BOHandlerCPP(const BOHandlerCPP&) = delete;
  BOHandlerCPP& operator=(const BOHandlerCPP&) = delete;
  virtual ~BOHandlerCPP();
  virtual int doVerbFor(BusinessObject& bo, ReturnStatusDescriptor* status) = 0;

  void logMsg(const char* text);
  void logMsg(const char* text, int type);
  void traceWrite(int level, const char* text, const char* arg);
  char* generateMsg(int number, int type, const char* info, int count, ...);

 private:
  std::string msg_;
};
