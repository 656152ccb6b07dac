// A console reporter that also keeps the mean wall and CPU time of every benchmark, for a summary printed
// after the table.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

class Mean_Time_Reporter : public benchmark::ConsoleReporter {
public:
    Mean_Time_Reporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                const auto iterations = static_cast<double>(run.iterations);
                seconds[run.run_name.function_name] = run.real_accumulated_time / iterations;
                cpu_seconds[run.run_name.function_name] = run.cpu_accumulated_time / iterations;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Mean seconds per iteration, or a negative value when the benchmark did not run.
    double mean(const std::string& name) const { return find(seconds, name); }
    double mean_cpu(const std::string& name) const { return find(cpu_seconds, name); }

    std::map<std::string, double> seconds;
    std::map<std::string, double> cpu_seconds;

private:
    static double find(const std::map<std::string, double>& times, const std::string& name) {
        const auto found = times.find(name);
        return found == times.end() ? -1.0 : found->second;
    }
};
