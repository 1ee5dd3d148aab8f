// Runs a program of the build for real, its output caught in files so neither stream can
// block it.
#pragma once

#include "FileIO.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <csignal>
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
    long PeakMb = 0; // the most memory it held
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = fileio::ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// `scratch` is a folder for the two output files. A program still running after
// `maxSeconds` is killed, which fails the test.
inline ProgramRun RunProgram(const std::filesystem::path& program, std::vector<std::string> args,
                             const std::filesystem::path& scratch, unsigned maxSeconds = 120) {
    const std::filesystem::path out = scratch / "stdout", err = scratch / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program << ": " << std::strerror(spawned);
        return run;
    }
    int status = 0;
    rusage usage{};
    for (unsigned ticks = 0; ::wait4(pid, &status, WNOHANG, &usage) == 0; ++ticks) {
        if (ticks == maxSeconds * 100) ::kill(pid, SIGKILL);
        ::usleep(10'000);
    }
    EXPECT_TRUE(WIFEXITED(status)) << program << " did not exit normally: " << status;
    run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.PeakMb = usage.ru_maxrss / 1024;
    run.Out = ReadWholeFile(out);
    run.Err = ReadWholeFile(err);
    return run;
}
