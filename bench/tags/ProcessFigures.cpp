#include "ProcessFigures.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "BenchMeasure.h"

extern char** environ;

namespace velmora::bench {

ProcessFigures MeasureProcess(const std::vector<std::string>& arguments) {
    ProcessFigures figures;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const bool spawned =
        ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    const bool waited = spawned && ::wait4(child, &status, 0, &usage) == child;
    figures.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    figures.processorSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    figures.minorFaults = usage.ru_minflt;
    figures.peakBytes = static_cast<std::size_t>(usage.ru_maxrss) * 1024;
    figures.ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

ProcessFigures MedianOf(const std::vector<ProcessFigures>& runs) {
    ProcessFigures median;
    std::vector<double> wall, processor, faults, peak;
    median.ok = !runs.empty();
    for (const ProcessFigures& run : runs) {
        wall.push_back(run.wallSeconds);
        processor.push_back(run.processorSeconds);
        faults.push_back(static_cast<double>(run.minorFaults));
        peak.push_back(static_cast<double>(run.peakBytes));
        median.ok = median.ok && run.ok;
    }
    median.wallSeconds = Median(wall);
    median.processorSeconds = Median(processor);
    median.minorFaults = static_cast<long>(Median(faults));
    median.peakBytes = static_cast<std::size_t>(Median(peak));
    return median;
}

}  // namespace velmora::bench
