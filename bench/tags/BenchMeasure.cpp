#include "BenchMeasure.h"

#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

extern char** environ;

namespace velmora::bench {

double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::size_t PeakResidentBytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

std::size_t HeapBytesInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

bool RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ProgramTimes TimeProgram(const std::vector<std::string>& arguments) {
    ProgramTimes times;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int ends[2];
    if (::pipe(ends) != 0) {
        return times;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, ends[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const bool spawned =
        ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    char ready = 0;
    const bool signalled = spawned && ::read(ends[0], &ready, 1) == 1;
    const auto readyAt = std::chrono::steady_clock::now();
    ::close(ends[0]);
    int status = 0;
    const bool waited = spawned && ::waitpid(child, &status, 0) == child;
    const auto exitAt = std::chrono::steady_clock::now();
    times.untilReady = std::chrono::duration<double>(readyAt - start).count();
    times.untilExit = std::chrono::duration<double>(exitAt - start).count();
    times.ok = signalled && waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return times;
}

void ReportRatio(const std::string& what, double value, const std::string& floorName, double floor,
                 const std::string& unit, double aim) {
    const double ratio = floor > 0 ? value / floor : 0;
    std::printf("%-30s %9.2f %-2s | %-24s %9.2f %-2s | ratio %5.2f", what.c_str(), value,
                unit.c_str(), floorName.c_str(), floor, unit.c_str(), ratio);
    if (aim > 0) {
        std::printf(" (aim <= %.1f: %s)", aim, ratio <= aim ? "met" : "MISSED");
    }
    std::printf("\n");
}

void ReportValue(const std::string& what, double value, const std::string& unit,
                 const std::string& note) {
    std::printf("%-30s %9.2f %-2s %s\n", what.c_str(), value, unit.c_str(), note.c_str());
}

std::size_t OptionValue(int argc, char** argv, const std::string& name, std::size_t fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (name == argv[i]) {
            return static_cast<std::size_t>(std::strtoull(argv[i + 1], nullptr, 10));
        }
    }
    return fallback;
}

bool DropPageCache() {
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    return static_cast<bool>(drop << "3\n" << std::flush);
}

}  // namespace velmora::bench
