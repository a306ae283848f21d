// The broker's start-up retries and poll loop.
#include "agent_poll.h"

#include <time.h>

#include <algorithm>
#include <csignal>
#include <string>

#include "agent_error.h"
#include "agent_host.h"
#include "agent_log.h"
#include "agent_subscriber.h"

namespace {

constexpr int kLostConnection = -2;
constexpr int kPollFailed = -1;
constexpr int kStartTries = 5;
constexpr long kFirstWaitMs = 1000;
constexpr long kLongestWaitMs = 30000;
constexpr long kSleepStepMs = 50;

volatile sig_atomic_t stop_flag = 0;

void on_stop_signal(int) { stop_flag = 1; }

// Sleeps ms milliseconds in short steps; false when asked to stop.
bool wait_ms(long ms) {
  for (long left = ms; left > 0 && !stop_flag; left -= kSleepStepMs) {
    long step = std::min(left, kSleepStepMs);
    timespec ts{step / 1000, (step % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
  }
  return !stop_flag;
}

// After a lost connection: terminate, wait, init until one start works.
int restart(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out, bool never_give_up,
            int failed) {
  int r = kLostConnection;
  for (long wait = kFirstWaitMs; never_give_up || failed < kStartTries; wait = std::min(wait * 2, kLongestWaitMs)) {
    host.terminate();
    agent_log("WARNING", "connection lost; starting the connector again in " + std::to_string(wait / 1000) +
                             " s (try " + std::to_string(failed + 1) + ")");
    if (!wait_ms(wait)) return r;
    r = host.init(props, specs, out);
    if (r == 0) return r;
    ++failed;
  }
  return r;
}

}  // namespace

bool agent_stop_requested() { return stop_flag != 0; }
void agent_request_stop() { stop_flag = 1; }

int agent_start(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out,
                bool never_give_up) {
  int r = host.init(props, specs, out);
  if (r != kLostConnection) return r;
  return restart(host, props, specs, out, never_give_up, 1);
}

int agent_poll(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out, long follow_ms) {
  const bool follow = follow_ms > 0;
  std::signal(SIGINT, on_stop_signal);
  std::signal(SIGTERM, on_stop_signal);
  if (agent_start(host, props, specs, out, follow) != 0) return static_cast<int>(AgentExit::NO_START);
  int status = static_cast<int>(AgentExit::DONE);
  while (!stop_flag) {
    long asked = host.subscriber()->asked();
    int r = host.poll();
    if (r == kPollFailed) {
      status = static_cast<int>(AgentExit::REQUEST_FAILED);
      break;
    }
    if (r == kLostConnection) {
      if (restart(host, props, specs, out, follow, 0) != 0) {
        if (stop_flag) break;
        return static_cast<int>(AgentExit::NO_START);
      }
      continue;
    }
    if (host.subscriber()->asked() != asked) continue;
    if (!follow || !wait_ms(follow_ms)) break;
  }
  host.terminate();
  return status;
}
