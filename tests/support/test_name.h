// The name of the running test, fit to name its scratch directories: the "/" of a
// parameterised test's name becomes "_".
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testfs {

inline std::string TestName() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
        c = c == '/' ? '_' : c;
    }
    return name;
}

} // namespace testfs
