#include "test_seed.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace testseed {

unsigned Seed() {
    const char* given = std::getenv("KORVA_TEST_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                : static_cast<unsigned>(GetTickCount());
    std::printf("KORVA_TEST_SEED=%u\n", seed);
    std::fflush(stdout);
    return seed;
}

} // namespace testseed
