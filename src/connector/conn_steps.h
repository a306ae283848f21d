// Helpers shared by the verb steps of GenBOHandler.
#pragma once

#include <string>

#include "connector/conn_handler.h"
#include "connector/conn_map.h"

// An attribute's value as text; null when it holds nothing (null, the ignore
// or the blank value, or the empty text).
const char* conn_step_value(const void* value);
// Whether attribute i carries a relation: a first relation or a relation
// lookup attribute.
bool conn_step_carries(Map* map, int i);
// Whether a text begins with "KzMissingId".
bool conn_step_missing_id(const char* value);
// A new child of object attribute i, set as its value: a single child, or
// a new container whose one object it is. Returns the child.
BusinessObject* conn_step_new_child(BusinessObject& bo, int i);
// The ancestor named by a reference that begins with "..": each dot after
// the first goes one business object further up. Null when there is none;
// `name` receives the rest of the reference.
BusinessObject* conn_step_ancestor(BusinessObject& bo, const std::string& ref, std::string* name);
std::string conn_step_long_text(long value);
