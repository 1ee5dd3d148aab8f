// Timing and memory measurements shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

inline double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median seconds of `runs` runs after one warm-up run.
inline double MedianSeconds(int runs, const std::function<void()>& work) {
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(Seconds(work));
    return Median(times);
}

// Times two contenders alternately, so machine noise hits them alike: {ours, peer}.
inline std::pair<double, double> MedianPair(int runs, const std::function<void()>& ours,
                                            const std::function<void()>& peer) {
    std::vector<double> a, b;
    ours();
    peer();
    for (int i = 0; i < runs; ++i) {
        a.push_back(Seconds(ours));
        b.push_back(Seconds(peer));
    }
    return {Median(a), Median(b)};
}

// Times several contenders in turn, run after run, so machine noise hits them alike: the
// median of each, in the order given.
inline std::vector<double> MedianEach(int runs, const std::vector<std::function<void()>>& contenders) {
    std::vector<std::vector<double>> times(contenders.size());
    for (const auto& work : contenders) work();
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < contenders.size(); ++k) times[k].push_back(Seconds(contenders[k]));
    std::vector<double> medians;
    for (const auto& t : times) medians.push_back(Median(t));
    return medians;
}

inline long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    return -1;
}

// Child side: how much the peak resident memory of this process grows while `work` runs.
inline long PeakGrowthBytes(const std::function<void()>& work) {
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the peak to the current size
    const long before = StatusKb("VmRSS:");
    work();
    return (StatusKb("VmHWM:") - before) * 1024;
}

// Parent side: runs this program again with `arguments` (which make it print one number,
// the PeakGrowthBytes of its work) and returns that number, or -1.
inline long PeakInFreshProcess(const std::string& arguments) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = 0;
    FILE* child = popen((std::string(self) + " " + arguments).c_str(), "r");
    long bytes = -1;
    if (child && std::fscanf(child, "%ld", &bytes) != 1) bytes = -1;
    if (child) pclose(child);
    return bytes;
}

inline std::string ScratchDir() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp"; }

} // namespace bench
