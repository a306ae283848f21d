// Starting the connector as a broker does, and the poll loop.
#pragma once

#include <cstdio>

class AgentHost;
class AgentProperties;
class AgentSpecs;

// init; on -2 (connection lost) terminate, wait (1 s doubling up to 30 s)
// and init again, each try logged. Once started, a failed start is any
// answer but 0. Gives up after five failed starts unless `never_give_up`
// (or when asked to stop). Returns the last init answer.
int agent_start(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out,
                bool never_give_up);

// Polls until a poll asks the subscriber nothing; with follow_ms > 0 then
// waits that many milliseconds and goes on until SIGINT or SIGTERM. A poll
// answering -2 restarts the connector as agent_start does; -1 stops the
// drain. Returns the exit status; the connector is terminated at the end.
int agent_poll(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out, long follow_ms);

// True once SIGINT or SIGTERM arrived (after agent_poll installed its
// handlers) or agent_request_stop was called.
bool agent_stop_requested();
void agent_request_stop();
