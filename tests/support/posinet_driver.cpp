#include "tests/support/posinet_driver.h"

#include "scratch.h"

#include <cstdio>

namespace e2e {

namespace {

constexpr const char* kFrameClass = "KorvaFrame";
constexpr const char* kViewClass = "KorvaView";
constexpr UINT kSendTimeoutMs = 5000;

} // namespace

StartPosition BuiltInStart(int element) {
    // degrees x 3 600 000 + minutes x 60 000 + seconds x 1 000 + thousandths
    static const StartPosition kStarts[10] = {
        {27585281, 162287500}, {27847661, 162399976}, {27765041, 162085102}, {27380021, 162131512},
        {27312941, 162368014}, {40826088, 160217704}, {44898491, 150790616}, {32169053, 159897542},
        {51290955, 147069361}, {48035213, 137269795},
    };
    return kStarts[element];
}

PosinetRun::~PosinetRun() {
    process_.Kill();
}

bool PosinetRun::Start() {
    // Only this run's posinet may answer as "Posinet": one left by a test killed at its
    // time-out would take its place.
    if (const int left = robot::EndLeftoverProcesses("POSINET.EXE"); left > 0) {
        std::fprintf(stderr, "ended %d posinet process(es) left by an earlier test\n", left);
    }
    const std::string program = testfs::SampleCd() + "\\POSINET.EXE";
    if (!process_.Start(program, "", testfs::SampleCd())) {
        return false;
    }
    robot::WindowQuery query;
    query.processId = process_.Id();
    query.className = kFrameClass;
    frame_ = robot::WaitForWindow(query);
    return frame_ != nullptr;
}

HWND PosinetRun::View() const {
    return FindWindowExA(frame_, nullptr, kViewClass, nullptr);
}

bool PosinetRun::SendCommand(WORD id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_ABORTIFHUNG,
                               kSendTimeoutMs, &result) != 0;
}

bool PosinetRun::PostCommand(WORD id) {
    return PostMessageA(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

bool PosinetRun::PressKey(UINT key) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(View(), WM_KEYDOWN, key, 1, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result) != 0;
}

HWND PosinetRun::WaitDialog(const std::string& title, const std::string& textContains) {
    robot::WindowQuery query;
    query.processId = process_.Id();
    query.className = "#32770";
    query.title = title;
    query.textContains = textContains;
    return robot::WaitForWindow(query);
}

long PosinetRun::Close() {
    PostMessageA(frame_, WM_CLOSE, 0, 0);
    long code = process_.Wait(robot::kDefaultTimeoutMs);
    if (code == -1) {
        process_.Kill();
    }
    return code;
}

MapViewRun::~MapViewRun() {
    process_.Kill();
}

bool MapViewRun::Start(const std::string& logPath) {
    const std::string program = testfs::WindowsPath(KORVA_MAPVIEW_UNIX);
    if (!process_.Start(program, "/log \"" + logPath + "\"")) {
        return false;
    }
    robot::WindowQuery query;
    query.processId = process_.Id();
    query.className = "KorvaMapView";
    window_ = robot::WaitForWindow(query);
    return window_ != nullptr;
}

long MapViewRun::Close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    long code = process_.Wait(robot::kDefaultTimeoutMs);
    if (code == -1) {
        process_.Kill();
    }
    return code;
}

} // namespace e2e
