// posinet's tick as a client sees it: period and jitter of the 300 ms cycle over 100 cycles
// with one client, and posinet's processor time per cycle with twenty clients against one.
// Each client links Element0 to Element9; the cycles are told apart by the positions (see
// posinet_cycles.h), so a missing cycle cannot pass for a long period.
#include "bench_report.h"
#include "linux_cpu_time.h"

#include "tests/support/dde_test_client.h"
#include "tests/support/posinet_cycles.h"
#include "tests/support/posinet_driver.h"
#include "tests/support/posinet_load.h"
#include "scratch.h"

#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <cstdio>

using namespace e2e;

namespace {

constexpr double kCycleMs = 300;
constexpr int kPeriodCycles = 100;
constexpr int kLoadedCycles = 50;
// Cycles left to pass after the last link: each link started posted a tick of its own, and
// those may still be queued.
constexpr int kSettleCycles = 5;
constexpr int kClients = 20;
constexpr DWORD kStepTimeoutMs = 60000;

// A moment right after a complete cycle.
struct Mark {
    long tick;        // the cycle's tick number
    size_t cycles;    // complete cycles this client had received
    uint64_t cpuTime; // posinet's processor time, in nanoseconds
};

class Bench {
public:
    bool Start() {
        if (!posinet_.Start() || !client_.Connect("Posinet", "Posizioni")) {
            return Fail("posinet did not start or accept the connection");
        }
        for (int i = 0; i < korva::kElementCount; ++i) {
            if (!client_.StartAdvise(korva::ElementItemName(i))) {
                return Fail("a link was refused");
            }
        }
        firstLinked_ = client_.Data().size();
        preciseCpu_ = linuxCpu_.Find(testfs::SampleCd() + "\\POSINET.EXE");
        if (!preciseCpu_) {
            std::printf("posinet: processor times from Wine, in 10-ms ticks\n");
        }
        return true;
    }

    // Waits for `cycles` more complete cycles of this client; the tick of the last one and
    // posinet's processor time right after it.
    bool WaitCycles(int cycles, Mark& mark) {
        const size_t due = completeData() + static_cast<size_t>(cycles) * korva::kElementCount;
        if (!client_.PumpUntil([&] { return client_.Data().size() >= due; }, kStepTimeoutMs)) {
            return Fail("the cycles did not come");
        }
        mark.cpuTime =
            preciseCpu_ ? linuxCpu_.Nanoseconds() : UsageOf(posinet_.Pid()).cpuTime * 100;
        const CycleRun run = Run();
        if (!run.fault.empty()) {
            return Fail(run.fault);
        }
        mark.tick = run.lastTick;
        mark.cycles = run.completeCycles;
        return true;
    }

    bool AddClients(int count) {
        if (!others_.Add(count, kStepTimeoutMs)) {
            return Fail(others_.Failed() ? others_.Failed()->failure : "a client took too long");
        }
        return true;
    }

    CycleRun Run() const { return CheckCycles(client_.Data(), firstLinked_); }

    void Stop() {
        others_.Stop();
        client_.Disconnect();
        posinet_.Close();
    }

private:
    size_t completeData() const {
        return firstLinked_ + Run().completeCycles * korva::kElementCount;
    }
    static bool Fail(const std::string& why) {
        std::fprintf(stderr, "posinet_bench: %s\n", why.c_str());
        return false;
    }

    PosinetRun posinet_;
    DdeTestClient client_;
    size_t firstLinked_ = 0;
    LinkedClients others_;
    bench::LinuxCpuTime linuxCpu_;
    bool preciseCpu_ = false;
};

// Periods in milliseconds between the arrivals of the cycles from one mark to the other.
std::vector<double> Periods(const CycleRun& run, const Mark& from, const Mark& to) {
    std::vector<double> periods;
    for (size_t i = from.cycles; i < to.cycles && i < run.arrivals.size(); ++i) {
        periods.push_back(static_cast<double>(run.arrivals[i] - run.arrivals[i - 1]) / 1000.0);
    }
    return periods;
}

double CpuMsPerCycle(const Mark& from, const Mark& to) {
    return to.tick > from.tick ? static_cast<double>(to.cpuTime - from.cpuTime) / 1e6 /
                                     static_cast<double>(to.tick - from.tick)
                               : 0;
}

} // namespace

int main() {
    Bench bench;
    if (!bench.Start()) {
        return 1;
    }
    // One client: a few cycles for its own link ticks to pass, then 100 periods.
    Mark oneStart, oneEnd;
    if (!bench.WaitCycles(kSettleCycles, oneStart) || !bench.WaitCycles(kPeriodCycles, oneEnd)) {
        return 1;
    }
    const std::vector<double> periods = Periods(bench.Run(), oneStart, oneEnd);
    if (periods.size() != kPeriodCycles) {
        std::fprintf(stderr, "posinet_bench: %zu periods instead of %d\n", periods.size(),
                     kPeriodCycles);
        return 1;
    }

    // Nineteen more: once all are linked and a few cycles have passed, 50 cycles.
    Mark loadedStart, loadedEnd;
    if (!bench.AddClients(kClients - 1) || !bench.WaitCycles(kSettleCycles, loadedStart) ||
        !bench.WaitCycles(kLoadedCycles, loadedEnd)) {
        bench.Stop();
        return 1;
    }
    const std::vector<double> loadedPeriods = Periods(bench.Run(), loadedStart, loadedEnd);
    bench.Stop();

    double maxDeviation = 0;
    for (double period : periods) {
        maxDeviation = std::max(maxDeviation, std::abs(period - kCycleMs));
    }
    auto low = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    auto high = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    std::printf("posinet: %zu periods with 1 client (ticks %ld to %ld, %.1f to %.1f ms); %zu "
                "periods with %d clients (ticks %ld to %ld, %.1f to %.1f ms)\n",
                periods.size(), oneStart.tick, oneEnd.tick, low(periods), high(periods),
                loadedPeriods.size(), kClients, loadedStart.tick, loadedEnd.tick,
                low(loadedPeriods), high(loadedPeriods));
    bench::Row("posinet period, 1 client, 100 cycles (ms)", bench::Mean(periods), kCycleMs);
    bench::Row("posinet jitter, std deviation (ms)", bench::StandardDeviation(periods), kCycleMs);
    bench::Row("posinet jitter, max deviation (ms)", maxDeviation, kCycleMs);
    bench::Row("posinet period, 20 clients, 50 cycles (ms)", bench::Mean(loadedPeriods), kCycleMs);
    bench::Row("posinet CPU per cycle, 20 clients vs 1 (ms)", CpuMsPerCycle(loadedStart, loadedEnd),
               CpuMsPerCycle(oneStart, oneEnd), "-", 2);
    return 0;
}
