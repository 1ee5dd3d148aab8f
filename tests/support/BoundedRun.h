// Runs work on hostile input in a child process, so that a hang or a blow-up fails the test
// instead of taking the machine down: the child is killed past its time, its address space
// is capped, and the most memory it held is read back.
#pragma once

#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// True when `work` answered true within `seconds`, its resident memory growing by at most
// `megabytes` above the test's own; `growth` receives that growth.
inline bool RunBounded(const std::function<bool()>& work, unsigned seconds, long megabytes, long& growth) {
    long sizePages = 0, residentPages = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm || std::fscanf(statm, "%ld %ld", &sizePages, &residentPages) != 2) return false;
    std::fclose(statm);
    const long pageKb = ::sysconf(_SC_PAGESIZE) / 1024;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(seconds);
        const rlim_t cap = rlim_t(sizePages * pageKb + 2 * megabytes * 1024 + (256 << 10)) << 10;
        const rlimit limit{cap, cap}; // room for the growth allowed and a sanitizer's ways
        ::setrlimit(RLIMIT_AS, &limit);
        bool answer = false;
        try {
            answer = work();
        } catch (...) { // the test's own framework must not go on in the child
        }
        ::_exit(answer ? 0 : 1);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return false;
    growth = (usage.ru_maxrss - residentPages * pageKb) / 1024;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && growth <= megabytes;
}
