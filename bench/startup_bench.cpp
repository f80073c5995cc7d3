// Start-up of the CD launcher: from starting install.exe of the sample CD to its main menu
// being visible, against the same for the project's smallest dialog program. Median of
// several runs of each, taken in turn; a first run of each is left out (cold caches).
#include "bench_report.h"
#include "bench_dialog.h"

#include "robot.h"
#include "scratch.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kRuns = 15;
constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kPollMs = 1;
constexpr const char* kMenuTitle = "MENU' PRINCIPALE";

// Milliseconds from the start of the program to its visible window with that title; the
// program is then closed with that window's Cancel command. Negative when the window did not
// come.
double TimeToWindow(const std::string& program, const std::string& workingDir, const char* title) {
    robot::Process process;
    const int64_t started = bench::MicrosecondsNow();
    if (!process.Start(program, "", workingDir)) {
        std::fprintf(stderr, "startup_bench: cannot start %s\n", program.c_str());
        return -1;
    }
    HWND found = nullptr;
    while (!found && process.IsRunning() &&
           bench::MicrosecondsNow() - started < kWindowTimeoutMs * 1000LL) {
        found = robot::FindBusyWindow(process.Id(), title);
        if (!found) {
            Sleep(kPollMs);
        }
    }
    const int64_t shown = bench::MicrosecondsNow();
    if (!found) {
        std::fprintf(stderr, "startup_bench: \"%s\" did not appear\n", title);
        return -1;
    }
    robot::SendCommand(found, IDCANCEL);
    if (process.Wait(robot::kDefaultTimeoutMs) == -1) {
        std::fprintf(stderr, "startup_bench: %s did not end\n", program.c_str());
    }
    return static_cast<double>(shown - started) / 1000.0;
}

std::string SiblingProgram(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    dir.erase(dir.find_last_of('\\') + 1);
    return dir + name;
}

} // namespace

int main() {
    const std::string cd = testfs::SampleCd();
    const std::string launcher = cd + "\\install.exe";
    const std::string reference = SiblingProgram("bench_dialog.exe");
    std::vector<double> launcherMs;
    std::vector<double> referenceMs;
    for (int run = 0; run <= kRuns; ++run) {
        const double r = TimeToWindow(reference, {}, BENCH_DIALOG_TITLE);
        const double l = TimeToWindow(launcher, cd, kMenuTitle);
        if (r < 0 || l < 0) {
            return 1;
        }
        if (run > 0) {
            referenceMs.push_back(r);
            launcherMs.push_back(l);
        }
    }
    std::printf("startup: launcher %.1f to %.1f ms, reference %.1f to %.1f ms over %d runs\n",
                *std::min_element(launcherMs.begin(), launcherMs.end()),
                *std::max_element(launcherMs.begin(), launcherMs.end()),
                *std::min_element(referenceMs.begin(), referenceMs.end()),
                *std::max_element(referenceMs.begin(), referenceMs.end()), kRuns);
    bench::Row("install.exe start to main menu, median (ms)", bench::Median(launcherMs),
               bench::Median(referenceMs));
    return 0;
}
