// Starts another installer and times it to its end, as a user's double click would start it:
// from the start of its process to its exit. Prints "peer_ms <n>" and "exit_code <n>".
// Usage: peer_run <working directory> <command line>
#include "bench_report.h"
#include "framework/handles.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: peer_run <working directory> <command line>\n");
        return 2;
    }
    std::string commandLine = argv[2];
    for (int i = 3; i < argc; ++i) {
        commandLine += std::string(" ") + argv[i];
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const int64_t start = bench::MicrosecondsNow();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[1],
                        &startup, &info)) {
        std::fprintf(stderr, "peer_run: cannot start %s (error %lu)\n", commandLine.c_str(),
                     GetLastError());
        return 1;
    }
    fw::UniqueKernelHandle process(info.hProcess);
    fw::UniqueKernelHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), 30 * 60 * 1000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "peer_run: %s did not end in 30 minutes\n", commandLine.c_str());
        TerminateProcess(process.Get(), 1);
        return 1;
    }
    const int64_t end = bench::MicrosecondsNow();
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    std::printf("peer_ms %.0f\nexit_code %lu\n", static_cast<double>(end - start) / 1000.0, code);
    return 0;
}
