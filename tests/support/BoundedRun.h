// Runs a piece of work on hostile input in a child process, so that its time and the most
// memory it held can be told, and a hang or a blow-up fails the test instead of taking the
// machine: the child is killed past its time, and past a memory cap (address space) when
// the build has no sanitizer (which reserves address space of its own).
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_SANITIZED 1
#endif
#endif

struct BoundedRun {
    bool Succeeded = false; // finished in time and `work` answered true
    double Seconds = 0;
    long GrowthMb = 0; // peak resident memory above the test's own when the work started
};

// The cap on memory growth is only checked after the fact under a sanitizer.
inline BoundedRun RunBounded(const std::function<bool()>& work, unsigned maxSeconds,
                             long maxGrowthMb) {
    long sizePages = 0, residentPages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &sizePages, &residentPages) != 2)
            sizePages = residentPages = 0;
        std::fclose(statm);
    }
    const long pageKb = ::sysconf(_SC_PAGESIZE) / 1024;
    const long baseKb = residentPages * pageKb;
    const auto start = std::chrono::steady_clock::now();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(maxSeconds);
#ifndef VELMORA_SANITIZED
        rlimit cap{};
        ::getrlimit(RLIMIT_AS, &cap);
        cap.rlim_cur = rlim_t(sizePages * pageKb + 2 * maxGrowthMb * 1024 + (256 << 10)) * 1024;
        ::setrlimit(RLIMIT_AS, &cap);
#endif
        bool answer = false;
        try {
            answer = work();
        } catch (...) {
        }
        ::_exit(answer ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    BoundedRun run;
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.GrowthMb = (usage.ru_maxrss - baseKb) / 1024;
    run.Succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.GrowthMb <= maxGrowthMb;
    return run;
}
