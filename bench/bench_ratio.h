// Console reporter that also keeps each benchmark's adjusted real time,
// keyed by the function's name without the "/min_time:..." part, so a
// program can print the ratio of its two sides after the run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      std::string name = r.benchmark_name();
      if (r.run_type == Run::RT_Iteration) times[name.substr(0, name.find('/'))] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};
