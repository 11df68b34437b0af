#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::bench {

// One whole process, as the system saw it: from the spawn to its exit, with its standard
// output thrown away.
struct ProcessFigures {
    double wallSeconds = 0;
    double processorSeconds = 0;  // user + system
    long minorFaults = 0;
    std::size_t peakBytes = 0;  // the largest resident set
    bool ok = false;            // exited with 0
};
ProcessFigures MeasureProcess(const std::vector<std::string>& arguments);

// The median of each figure over runs (ok when every run was).
ProcessFigures MedianOf(const std::vector<ProcessFigures>& runs);

}  // namespace velmora::bench
