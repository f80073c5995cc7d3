// Reads the data a client received from posinet as cycles: every tick publishes Element0 to
// Element9 in order. Since each element moves by a fixed step from its built-in start, the
// position in a datum tells how many ticks posinet has run, so a lost datum or a missing
// cycle shows as a gap in that count.
#pragma once

#include "tests/support/dde_test_client.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct CycleRun {
    // The tick numbers of the first and the last complete cycle; -1 when there was none.
    long firstTick = -1;
    long lastTick = -1;
    size_t completeCycles = 0;
    // Arrival of each complete cycle's first datum, in performance-counter microseconds.
    std::vector<int64_t> arrivals;
    // The first departure from the expected sequence; empty when there was none.
    std::string fault;
};

// Checks `data` from index `from` on, where every element is linked: whole cycles of
// Element0 to Element9, one tick apart, each element one step further per tick. Only the last
// cycle may end early (the client stopped listening within it). Elements must not have been
// moved by hand.
CycleRun CheckCycles(const std::vector<DdeTestClient::Datum>& data, size_t from = 0);

} // namespace e2e
