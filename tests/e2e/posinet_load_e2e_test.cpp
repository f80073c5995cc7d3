// posinet under load: twenty map programs with ten hot links each for a minute. Every client
// must receive every cycle whole and in element order, and posinet's memory must stay flat.
//
// The clients are threads of this process: each has its own DDEML instances and message loop,
// which is all posinet can tell of a client (a conversation per link, each on a window of
// its own), and the test keeps every datum in memory to check it afterwards.
//
// Wine's DDEML keeps, in the server, the 16-byte moveable block of every datum it posts to
// another process, and a Wine process has 65 536 moveable handles at most: posinet can send
// about 65 000 data in its life under Wine, after which the data come empty. This run sends
// about 61 000 (20 000 while the links are started, each start being a tick for every link
// so far, then 200 links for 200 ticks). So posinet's memory is expected to grow by Wine's
// block for each datum, and by nothing more.
#include "posinet_cycles.h"
#include "posinet_driver.h"
#include "posinet_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>

using namespace e2e;

namespace {

constexpr int kClients = 20;
constexpr DWORD kRunMs = 60000;
constexpr DWORD kSampleEveryMs = 1000;
constexpr DWORD kLinkTimeoutMs = 30000;
// Memory is compared between the medians of two windows of the run (milliseconds from its
// start); the first seconds are left out while Wine's heaps settle.
constexpr DWORD kEarlyFromMs = 5000;
constexpr DWORD kEarlyToMs = 15000;
constexpr DWORD kLateFromMs = 50000;
// Growth allowed beyond Wine's blocks (with a quarter more for the heap's rounding).
constexpr size_t kGrowthAllowance = 256 * 1024;
constexpr double kBlockSlack = 1.25;
// The block Wine keeps per datum: its header and a 12-byte position record.
constexpr SIZE_T kWineDataBlockSize = 16;
constexpr int kCalibrationBlocks = 20000;

struct Sample {
    DWORD at;
    ProcessUsage usage;
};

// What one of Wine's kept blocks costs a process: measured on this process's own heap.
double BytesPerMoveableBlock() {
    std::vector<HGLOBAL> blocks;
    blocks.reserve(kCalibrationBlocks);
    const size_t before = UsageOf(GetCurrentProcessId()).privateBytes;
    for (int i = 0; i < kCalibrationBlocks; ++i) {
        blocks.push_back(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, kWineDataBlockSize));
    }
    const size_t after = UsageOf(GetCurrentProcessId()).privateBytes;
    for (HGLOBAL block : blocks) {
        GlobalFree(block);
    }
    return after > before ? static_cast<double>(after - before) / kCalibrationBlocks : 0.0;
}

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

} // namespace

TEST(PosinetLoad, TwentyClientsWithTenLinksEachForAMinuteLoseNothing) {
    const double blockCost = BytesPerMoveableBlock();
    PosinetRun posinet;
    ASSERT_TRUE(posinet.Start());
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
    EXPECT_EQ(posinet.ExitCode(), -1) << "posinet ended under load";

    // Every client: whole cycles in element order, one tick after the other, from its last
    // link to its end; together they cover the same ticks.
    long commonFirst = 0;
    long commonLast = LONG_MAX;
    size_t allData = 0;
    size_t dataBetweenWindows = 0;
    const DWORD earlyMiddle = (kEarlyFromMs + kEarlyToMs) / 2;
    const DWORD lateMiddle = (kLateFromMs + kRunMs) / 2;
    for (size_t c = 0; c < clients.Count(); ++c) {
        const LinkedClients::Client& client = clients.At(c);
        const CycleRun run = CheckCycles(client.data, client.firstLinkedDatum);
        EXPECT_EQ(run.fault, "") << "client " << c;
        EXPECT_GT(run.completeCycles, 0u) << "client " << c;
        commonFirst = std::max(commonFirst, run.firstTick);
        commonLast = std::min(commonLast, run.lastTick);
        allData += client.data.size();
        for (const DdeTestClient::Datum& datum : client.data) {
            const DWORD at = datum.tick - start;
            dataBetweenWindows += at >= earlyMiddle && at < lateMiddle && at <= kRunMs ? 1 : 0;
        }
    }
    // A minute at one tick per 300 ms is 200 ticks; half of them rules out a stalled service
    // without timing it.
    std::printf("every client received ticks %ld to %ld; %zu data in all\n", commonFirst,
                commonLast, allData);
    EXPECT_GE(commonLast - commonFirst + 1, 100) << "ticks every client received";

    // Memory: from the early part of the run to its end, no more than Wine's blocks.
    auto privateBytes = [](const ProcessUsage& usage) { return usage.privateBytes; };
    auto workingSet = [](const ProcessUsage& usage) { return usage.workingSet; };
    const size_t earlyPrivate = MedianOver(samples, kEarlyFromMs, kEarlyToMs, privateBytes);
    const size_t latePrivate = MedianOver(samples, kLateFromMs, kRunMs + 1, privateBytes);
    const size_t earlyWorkingSet = MedianOver(samples, kEarlyFromMs, kEarlyToMs, workingSet);
    const size_t lateWorkingSet = MedianOver(samples, kLateFromMs, kRunMs + 1, workingSet);
    const double wineBlocks = blockCost * static_cast<double>(dataBetweenWindows);
    const size_t allowed = kGrowthAllowance + static_cast<size_t>(wineBlocks * kBlockSlack);
    std::printf("posinet private bytes %zu KiB early, %zu KiB late; working set %zu KiB early, "
                "%zu KiB late; %zu data in between, %.1f bytes per Wine block: %zu KiB "
                "expected; %llu ms processor time in all\n",
                earlyPrivate / 1024, latePrivate / 1024, earlyWorkingSet / 1024,
                lateWorkingSet / 1024, dataBetweenWindows, blockCost,
                static_cast<size_t>(wineBlocks) / 1024,
                static_cast<unsigned long long>(end.cpuTime / 10000));
    ASSERT_GT(earlyPrivate, 0u) << "Wine told nothing of posinet's memory";
    EXPECT_LE(latePrivate, earlyPrivate + allowed);
    EXPECT_LE(lateWorkingSet, earlyWorkingSet + allowed);

    EXPECT_EQ(posinet.Close(), 0);
}
