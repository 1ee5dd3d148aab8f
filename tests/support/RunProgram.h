// Runs a program of the build for real, its output caught in files so neither stream can
// block it.
#pragma once

#include "FileIO.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

struct ProgramRun {
    int ExitStatus = -1;
    std::string Out, Err;
    // The program's largest resident size, or the starting test process's size if that was
    // larger: the kernel counts the memory a program started from.
    long PeakMemoryKb = -1;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Starts the program and returns its process id (0 when it could not start), its output in
// the files "stdout" and "stderr" of the folder `scratch`.
inline pid_t StartProgram(const std::filesystem::path& program, std::vector<std::string> args,
                          const std::filesystem::path& scratch) {
    const std::filesystem::path out = scratch / "stdout", err = scratch / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The program's peak starts from this process's own (see ProgramRun): from its present
    // size, not from the most it ever held.
    if (FILE* peak = std::fopen("/proc/self/clear_refs", "w")) std::fputs("5", peak), std::fclose(peak);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) return pid;
    ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(spawned);
    return 0;
}

// Waits for a program that StartProgram started in `scratch` and gives what it left. A program
// still running after `maxSeconds` is killed, which fails the test.
inline ProgramRun FinishProgram(const std::filesystem::path& program, pid_t pid,
                                const std::filesystem::path& scratch, unsigned maxSeconds = 120) {
    ProgramRun run;
    if (pid == 0) return run;
    int status = 0;
    rusage usage{};
    for (unsigned ticks = 0; ::wait4(pid, &status, WNOHANG, &usage) == 0; ++ticks) {
        if (ticks == maxSeconds * 100) ::kill(pid, SIGKILL);
        ::usleep(10'000);
    }
    EXPECT_TRUE(WIFEXITED(status)) << program << " did not exit normally: " << status;
    run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.PeakMemoryKb = usage.ru_maxrss;
    run.Out = ReadWholeFile(scratch / "stdout");
    run.Err = ReadWholeFile(scratch / "stderr");
    return run;
}

inline ProgramRun RunProgram(const std::filesystem::path& program, std::vector<std::string> args,
                             const std::filesystem::path& scratch, unsigned maxSeconds = 120) {
    return FinishProgram(program, StartProgram(program, std::move(args), scratch), scratch,
                         maxSeconds);
}
