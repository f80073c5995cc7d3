#include "install/launcher/portable/cover_files.h"

#include <gtest/gtest.h>

using korva::CoverCandidates;
using Names = std::vector<std::string>;

TEST(CoverFiles, TheScreenSizeChoosesTheFirstCoverTried) {
    EXPECT_EQ(CoverCandidates(640, 480),
              (Names{"cover1.bmp", "cover1.bmp", "cover2.bmp", "cover3.bmp"}));
    EXPECT_EQ(CoverCandidates(800, 600),
              (Names{"cover2.bmp", "cover1.bmp", "cover2.bmp", "cover3.bmp"}));
    EXPECT_EQ(CoverCandidates(1024, 768),
              (Names{"cover3.bmp", "cover1.bmp", "cover2.bmp", "cover3.bmp"}));
    // Any other size starts with cover1, whatever is near it.
    for (auto [w, h] : {std::pair{1280, 1024}, {800, 768}, {1024, 600}, {0, 0}, {1600, 1200}}) {
        EXPECT_EQ(CoverCandidates(w, h).front(), "cover1.bmp") << w << "x" << h;
    }
}
