// The kernel counts the memory of the process that starts a program in that program's peak
// (RunProgram.h): a sanitized test process keeps its freed memory small, not the 256 MB of
// the default quarantine, so that it does not pass for the memory of the program it runs.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}
