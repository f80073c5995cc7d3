// posinet under load: twenty map programs with ten hot links each for a minute. Every client
// must receive every cycle whole and in element order, and posinet's memory must stay flat.
//
// The clients are threads of this process: each has its own DDEML instances and message loop,
// which is all posinet can tell of a client (a conversation per link, each on a window of
// its own), and the test keeps every datum in memory to check it afterwards.
//
// The clients receive some 60 000 data (20 000 while the links are started, each start being
// a tick for every link so far, then 200 links for 200 ticks); four map viewers, each a
// process of its own with ten links, take posinet's total past 65 536, the moveable handles of
// a Wine process, which Wine's DDEML would use up if posinet did not free the block it keeps
// for every datum posted to another process. (A receiving process keeps one block per datum
// too, which is why the clients stay below that number.)
#include "tests/support/posinet_cycles.h"
#include "tests/support/posinet_driver.h"
#include "tests/support/posinet_load.h"
#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <sstream>

using namespace e2e;

namespace {

constexpr int kClients = 20;
constexpr int kViewers = 4;
constexpr DWORD kRunMs = 60000;
constexpr DWORD kSampleEveryMs = 1000;
constexpr DWORD kLinkTimeoutMs = 30000;
// Memory is compared between the medians of two windows of the run (milliseconds from its
// start); the first seconds are left out while Wine's heaps settle.
constexpr DWORD kEarlyFromMs = 5000;
constexpr DWORD kEarlyToMs = 15000;
constexpr DWORD kLateFromMs = 50000;
// What the heaps may vary by. A kept block per datum would be about 1.5 MiB between the two
// windows.
constexpr size_t kGrowthAllowance = 256 * 1024;

struct Sample {
    DWORD at;
    ProcessUsage usage;
};

size_t Median(std::vector<size_t> values) {
    if (values.empty()) {
        return 0;
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <typename Field>
size_t MedianOver(const std::vector<Sample>& samples, DWORD from, DWORD to, Field field) {
    std::vector<size_t> values;
    for (const Sample& sample : samples) {
        if (sample.at >= from && sample.at < to) {
            values.push_back(field(sample.usage));
        }
    }
    return Median(values);
}

struct ViewerData {
    size_t data = 0;
    size_t notRecords = 0;
};

// The data lines of a map viewer's log: "D tick item size kind element longitude latitude".
ViewerData ReadViewerLog(const std::string& path) {
    ViewerData result;
    for (const std::string& line : testfs::ReadLines(path)) {
        if (line.rfind("D ", 0) != 0) {
            continue;
        }
        std::istringstream fields(line.substr(2));
        unsigned long tick = 0;
        std::string item;
        unsigned size = 0;
        fields >> tick >> item >> size;
        ++result.data;
        result.notRecords += size == 12 ? 0 : 1;
    }
    return result;
}

} // namespace

TEST(PosinetLoad, TwentyClientsWithTenLinksEachLoseNothingAndMemoryStaysFlat) {
    PosinetRun posinet;
    ASSERT_TRUE(posinet.Start());
    const std::string dir = testfs::FreshScratchDir("posinet-load");
    std::array<MapViewRun, kViewers> viewers;
    for (int i = 0; i < kViewers; ++i) {
        ASSERT_TRUE(viewers[i].Start(dir + "\\viewer" + std::to_string(i) + ".log"));
    }
    LinkedClients clients;
    const DWORD setupStart = GetTickCount();
    ASSERT_TRUE(clients.Add(kClients, kLinkTimeoutMs))
        << (clients.Failed() ? clients.Failed()->failure : "a client took too long");
    std::printf("%d clients linked in %lu ms\n", kClients,
                static_cast<unsigned long>(GetTickCount() - setupStart));

    std::vector<Sample> samples;
    const DWORD start = GetTickCount();
    for (DWORD at = 0; at <= kRunMs; at = GetTickCount() - start) {
        samples.push_back({at, UsageOf(posinet.Pid())});
        Sleep(kSampleEveryMs);
    }
    const ProcessUsage end = UsageOf(posinet.Pid());
    clients.Stop();
    size_t viewerData = 0;
    for (int i = 0; i < kViewers; ++i) {
        EXPECT_EQ(viewers[i].Close(), 0);
        const ViewerData log = ReadViewerLog(dir + "\\viewer" + std::to_string(i) + ".log");
        EXPECT_EQ(log.notRecords, 0u) << "viewer " << i;
        viewerData += log.data;
    }
    EXPECT_EQ(posinet.ExitCode(), -1) << "posinet ended under load";

    // Every client: whole cycles in element order, one tick after the other, from its last
    // link to its end; together they cover the same ticks.
    long commonFirst = 0;
    long commonLast = LONG_MAX;
    size_t allData = 0;
    for (size_t c = 0; c < clients.Count(); ++c) {
        const LinkedClients::Client& client = clients.At(c);
        const CycleRun run = CheckCycles(client.data, client.firstLinkedDatum);
        EXPECT_EQ(run.fault, "") << "client " << c;
        EXPECT_GT(run.completeCycles, 0u) << "client " << c;
        commonFirst = std::max(commonFirst, run.firstTick);
        commonLast = std::min(commonLast, run.lastTick);
        allData += client.data.size();
    }
    // A minute at one tick per 300 ms is 200 ticks; half of them rules out a stalled service
    // without timing it.
    std::printf("every client received ticks %ld to %ld; %zu data in all, %zu more to the "
                "viewers\n",
                commonFirst, commonLast, allData, viewerData);
    EXPECT_GE(commonLast - commonFirst + 1, 100) << "ticks every client received";
    EXPECT_GT(allData + viewerData, 65536u) << "posinet must pass a Wine process's handles";

    // Memory: from the early part of the run to its end.
    auto privateBytes = [](const ProcessUsage& usage) { return usage.privateBytes; };
    auto workingSet = [](const ProcessUsage& usage) { return usage.workingSet; };
    const size_t earlyPrivate = MedianOver(samples, kEarlyFromMs, kEarlyToMs, privateBytes);
    const size_t latePrivate = MedianOver(samples, kLateFromMs, kRunMs + 1, privateBytes);
    const size_t earlyWorkingSet = MedianOver(samples, kEarlyFromMs, kEarlyToMs, workingSet);
    const size_t lateWorkingSet = MedianOver(samples, kLateFromMs, kRunMs + 1, workingSet);
    std::printf("posinet private bytes %zu KiB early, %zu KiB late; working set %zu KiB early, "
                "%zu KiB late; %llu ms processor time in all\n",
                earlyPrivate / 1024, latePrivate / 1024, earlyWorkingSet / 1024,
                lateWorkingSet / 1024, static_cast<unsigned long long>(end.cpuTime / 10000));
    ASSERT_GT(earlyPrivate, 0u) << "Wine told nothing of posinet's memory";
    EXPECT_LE(latePrivate, earlyPrivate + kGrowthAllowance);
    EXPECT_LE(lateWorkingSet, earlyWorkingSet + kGrowthAllowance);

    EXPECT_EQ(posinet.Close(), 0);
}
