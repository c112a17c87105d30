#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace turnlet::bench {

// Collects the median time of every case while printing the usual table, for the "summary:"
// lines. CPU time of the one benchmark thread: the machines we share with other work deschedule
// us now and then.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // NaN for a case that did not run.
  double median(const std::string& name) const {
    auto it = medians.find(name);
    return it == medians.end() ? NAN : it->second;
  }

 private:
  std::map<std::string, double> medians;
};

}  // namespace turnlet::bench
