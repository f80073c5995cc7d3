// Decoder benchmark: the image library's GIF, TIFF and bitmap readers against giflib, libtiff
// and stb_image on the same files, each decoded many times from memory. Before timing, both
// readers' colours are compared at every pixel, so that the two read the same picture.
//
//   decoders_bench FIGURE OURS THEIRS FILE [FIGURE OURS THEIRS FILE...]
//     OURS: gif | tiff | bmp      THEIRS: giflib | libtiff | libtiff+rows | stb
//     (libtiff+rows: libtiff, then the picture turned into a Windows bitmap's rows)
//
// Prints one row per case, "ROW|figure|ours MB/s|theirs MB/s|ours/theirs|target", the speed
// being megabytes of input file per second (10^6 bytes) from each reader's fastest decode.
#include "reference_decoders.h"

#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/gif_reader.h"
#include "imaging/portable/tiff_reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLeastDecodes = 20;
constexpr double kRaceSeconds = 3.0;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

korva::DibBlock DecodeOurs(const std::string& reader, std::span<const std::uint8_t> file) {
    korva::MemorySource source(file);
    if (reader == "gif") {
        korva::CGif gif;
        return gif.ReadGif(source);
    }
    if (reader == "tiff") {
        korva::CTiff tiff;
        return tiff.ReadTiff(source);
    }
    korva::ImageError error;
    return korva::ReadDibFile(source, 0, error);
}

bench::Decoded DecodeTheirs(const std::string& library, std::span<const std::uint8_t> file) {
    if (library == "giflib") {
        return bench::DecodeWithGiflib(file);
    }
    if (library == "libtiff") {
        return bench::DecodeWithLibtiff(file);
    }
    if (library == "libtiff+rows") {
        bench::Decoded decoded = bench::DecodeWithLibtiff(file);
        if (!decoded.Empty()) {
            bench::AddWindowsRows(decoded);
        }
        return decoded;
    }
    return bench::DecodeWithStb(file);
}

// The first pixel whose colours differ, or an empty text.
std::string Difference(const korva::DibBlock& ours, const bench::Decoded& theirs) {
    if (ours.Empty() || theirs.Empty()) {
        return ours.Empty() ? "ours read nothing" : "theirs read nothing";
    }
    const korva::BitmapInfoHeader header = ours.Header();
    if (header.width != theirs.width || header.height != theirs.height) {
        return "sizes differ";
    }
    for (int y = 0; y < theirs.height; ++y) {
        for (int x = 0; x < theirs.width; ++x) {
            const korva::RgbQuad a = ours.Pixel(x, y);
            std::uint8_t b[3];
            theirs.Colour(x, y, b);
            if (a.red != b[0] || a.green != b[1] || a.blue != b[2]) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
            }
        }
    }
    return {};
}

// Decodes by the two in turn, one at a time, each timed: the machine's other work then
// falls on both alike. The figure of each is its fastest decode; the median goes to the log.
struct Contender {
    std::function<bool()> decode;
    std::vector<double> seconds;

    double Fastest() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double Median() {
        std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
        return seconds[seconds.size() / 2];
    }
};

bool Race(Contender& a, Contender& b) {
    const Clock::time_point raceStart = Clock::now();
    for (int turn = 0;; ++turn) {
        for (Contender* c : {&a, &b}) {
            const Clock::time_point start = Clock::now();
            if (!c->decode()) {
                return false;
            }
            c->seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - raceStart).count();
        if (turn + 1 >= kLeastDecodes && elapsed >= kRaceSeconds) {
            return true;
        }
    }
}

std::string Format(double value, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f%s", value, unit);
    return text;
}

void RunCase(const std::string& figure, const std::string& ours, const std::string& theirs,
             const std::string& path) {
    const std::vector<std::uint8_t> file = ReadFile(path);
    if (file.empty()) {
        std::printf("ROW|%s|cannot read %s|-|-|at least 1.0\n", figure.c_str(), path.c_str());
        return;
    }
    {
        const korva::DibBlock dib = DecodeOurs(ours, file);
        const bench::Decoded decoded = DecodeTheirs(theirs, file);
        const std::string difference = Difference(dib, decoded);
        if (!difference.empty()) {
            std::printf("ROW|%s|%s|-|-|at least 1.0\n", figure.c_str(), difference.c_str());
            return;
        }
        std::printf("%s: %zu bytes, %dx%d, ours %u bits per pixel, theirs %d channels\n",
                    path.c_str(), file.size(), decoded.width, decoded.height,
                    unsigned{dib.Header().bitCount}, decoded.channels);
    }
    Contender mine{[&] { return !DecodeOurs(ours, file).Empty(); }, {}};
    Contender other{[&] { return !DecodeTheirs(theirs, file).Empty(); }, {}};
    if (!Race(mine, other)) {
        std::printf("ROW|%s|a decode failed|-|-|at least 1.0\n", figure.c_str());
        return;
    }
    const double megabytes = static_cast<double>(file.size()) / 1e6;
    const double oursRate = megabytes / mine.Fastest();
    const double theirsRate = megabytes / other.Fastest();
    std::printf("%s: %zu decodes each; ours fastest %.3f ms, median %.3f ms; %s fastest %.3f ms, "
                "median %.3f ms\n",
                figure.c_str(), mine.seconds.size(), mine.Fastest() * 1e3, mine.Median() * 1e3,
                theirs.c_str(), other.Fastest() * 1e3, other.Median() * 1e3);
    std::printf("ROW|%s|%s|%s|%.2f|at least 1.0\n", figure.c_str(),
                Format(oursRate, " MB/s").c_str(), Format(theirsRate, " MB/s").c_str(),
                oursRate / theirsRate);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 1) % 4 != 0) {
        std::fprintf(stderr,
                     "usage: decoders_bench FIGURE gif|tiff|bmp giflib|libtiff|libtiff+rows|stb "
                     "FILE...\n");
        return 2;
    }
    std::printf("comparison libraries: %s\n", bench::LibraryVersions().c_str());
    for (int i = 1; i + 3 < argc; i += 4) {
        RunCase(argv[i], argv[i + 1], argv[i + 2], argv[i + 3]);
        std::fflush(stdout);
    }
    return 0;
}
