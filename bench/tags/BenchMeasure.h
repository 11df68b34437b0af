#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora::bench {

template <typename Step>
double SecondsFor(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    return spent.count();
}

// The processor time (user and system) of this process that the step takes: steadier than
// the time on the clock on a machine others share.
double ProcessorSeconds();
template <typename Step>
double ProcessorSecondsFor(Step step) {
    const double start = ProcessorSeconds();
    step();
    return ProcessorSeconds() - start;
}

double Median(std::vector<double> values);

// Bytes of this process in memory (resident set), and its peak so far.
std::size_t ResidentBytes();
std::size_t PeakResidentBytes();
// Bytes malloc has handed out and not had back (chunk pools map their memory outside it).
std::size_t HeapBytesInUse();

// Runs a program (searched in PATH) and waits for it; false unless it exited with 0.
bool RunProgram(const std::vector<std::string>& arguments);

// Runs a program that writes one byte to its standard output when its work is done (then
// tears down and exits). Times from the start to that byte and from the start to the exit.
struct ProgramTimes {
    double untilReady = 0;
    double untilExit = 0;
    bool ok = false;
};
ProgramTimes TimeProgram(const std::vector<std::string>& arguments);

// One line of the report: the figure, its floor, and the ratio against the aim (an aim of 0
// reports the ratio alone).
void ReportRatio(const std::string& what, double value, const std::string& floorName, double floor,
                 const std::string& unit, double aim);
void ReportValue(const std::string& what, double value, const std::string& unit,
                 const std::string& note = "");

// Empties the page cache (root only: false otherwise), so the next reads wait on the disk.
bool DropPageCache();

// "--name N" from the command line, or the fallback.
std::size_t OptionValue(int argc, char** argv, const std::string& name, std::size_t fallback);

}  // namespace velmora::bench
