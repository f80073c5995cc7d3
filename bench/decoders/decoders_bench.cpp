// Decoder benchmark: the image library's GIF, TIFF and bitmap readers against giflib, libtiff
// and stb_image on the same files, each decoded many times from memory. Before timing, both
// readers' colours are compared at every pixel, so that the two read the same picture.
//
//   decoders_bench FIGURE TARGET OURS THEIRS FILE [FIGURE TARGET OURS THEIRS FILE...]
//     OURS: gif | tiff | bmp      THEIRS: giflib | libtiff | libtiff+rows | stb
//     (libtiff+rows: libtiff, then the picture turned into a Windows bitmap's rows)
//
// Seven rounds; each round times a batch of decodes of every case by both readers, so that
// the rounds of a case are spread over the whole run. A round in which a reader was not on the
// processor for nine tenths of its wall time is left out and run again. Prints per case
// "RACE|figure|target| ours MB/s per round|theirs MB/s per round|ours processor share|theirs
// processor share", the speed being megabytes of input file (10^6 bytes) per second of wall time;
// bench/decoders.sh makes the table's row from it. Where a case cannot run, its "ROW|..." says why.
#include "reference_decoders.h"

#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/gif_reader.h"
#include "imaging/portable/tiff_reader.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;
constexpr double kRoundSeconds = 0.25;
// A round in which either reader was off the processor for more than a tenth of its wall time
// measured the machine's other work, not the reader: it is left out and run again, up to
// kMostRounds rounds in all.
constexpr double kLeastProcessorShare = 0.9;
constexpr int kMostRounds = 3 * kRounds;

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

// One contender of a case: a decode, and per round the megabytes per second of wall time and
// the share of that wall time this thread was on a processor (below 1 when the machine gave
// the processor to others).
struct Contender {
    std::function<bool()> decode;
    std::vector<double> rates;
    std::vector<double> processorShares;
};

struct Case {
    std::string figure;
    std::string target;
    std::vector<std::uint8_t> file;
    Contender ours;
    Contender theirs;
    int decodesPerRound = 1;
    int disturbedRounds = 0;
    bool failed = false;

    int Rounds() const { return static_cast<int>(ours.rates.size()); }
    // Takes back the round just timed when the machine took the processor away from it.
    void KeepRoundIfUndisturbed() {
        if (ours.processorShares.back() >= kLeastProcessorShare &&
            theirs.processorShares.back() >= kLeastProcessorShare) {
            return;
        }
        ++disturbedRounds;
        for (Contender* c : {&ours, &theirs}) {
            c->rates.pop_back();
            c->processorShares.pop_back();
        }
    }
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// One round of a contender: its decodes of the round one after the other, timed together.
bool TimeRound(Case& c, Contender& contender) {
    const double cpuStart = ThreadSeconds();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < c.decodesPerRound; ++i) {
        if (!contender.decode()) {
            return false;
        }
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ThreadSeconds() - cpuStart;
    const double megabytes = static_cast<double>(c.file.size()) / 1e6 * c.decodesPerRound;
    contender.rates.push_back(megabytes / wall);
    contender.processorShares.push_back(cpu / wall);
    return true;
}

std::string Joined(const std::vector<double>& values) {
    if (values.empty()) {
        return "-";
    }
    std::string text;
    char number[32];
    for (double value : values) {
        std::snprintf(number, sizeof number, "%s%.2f", text.empty() ? "" : " ", value);
        text += number;
    }
    return text;
}

// Reads the case's file and compares both readers' colours at every pixel; false (with the
// reason printed as the case's row) when they do not read the same picture.
bool Prepare(Case& c, const std::string& ours, const std::string& theirs, const std::string& path) {
    c.file = ReadFile(path);
    if (c.file.empty()) {
        std::printf("ROW|%s|cannot read %s|-|-|%s\n", c.figure.c_str(), path.c_str(),
                    c.target.c_str());
        return false;
    }
    const std::span<const std::uint8_t> file(c.file);
    const korva::DibBlock dib = DecodeOurs(ours, file);
    const bench::Decoded decoded = DecodeTheirs(theirs, file);
    const std::string difference = Difference(dib, decoded);
    if (!difference.empty()) {
        std::printf("ROW|%s|%s|-|-|%s\n", c.figure.c_str(), difference.c_str(), c.target.c_str());
        return false;
    }
    std::printf("%s: %zu bytes, %dx%d, ours %u bits per pixel, theirs %d channels\n", path.c_str(),
                c.file.size(), decoded.width, decoded.height, unsigned{dib.Header().bitCount},
                decoded.channels);
    c.ours.decode = [&c, ours] { return !DecodeOurs(ours, c.file).Empty(); };
    c.theirs.decode = [&c, theirs] { return !DecodeTheirs(theirs, c.file).Empty(); };
    // As many decodes a round as take the slower reader about kRoundSeconds, so that one
    // round is not one time slice of the machine.
    const Clock::time_point start = Clock::now();
    if (!c.ours.decode() || !c.theirs.decode()) {
        return false;
    }
    const double pair = std::chrono::duration<double>(Clock::now() - start).count();
    c.decodesPerRound = std::max(1, static_cast<int>(kRoundSeconds / std::max(pair, 1e-6)));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 1) % 5 != 0) {
        std::fprintf(stderr, "usage: decoders_bench FIGURE TARGET gif|tiff|bmp "
                             "giflib|libtiff|libtiff+rows|stb FILE...\n");
        return 2;
    }
    std::printf("comparison libraries: %s\n", bench::LibraryVersions().c_str());
    std::vector<std::unique_ptr<Case>> cases;
    for (int i = 1; i + 4 < argc; i += 5) {
        auto c = std::make_unique<Case>();
        c->figure = argv[i];
        c->target = argv[i + 1];
        if (Prepare(*c, argv[i + 2], argv[i + 3], argv[i + 4])) {
            cases.push_back(std::move(c));
        }
        std::fflush(stdout);
    }
    // Every round visits every case, and in each case both readers, the first of them taking
    // turns: a drift of the machine falls on both, and on every case alike.
    for (int round = 0; round < kMostRounds; ++round) {
        bool more = false;
        for (auto& c : cases) {
            if (c->failed || c->Rounds() >= kRounds) {
                continue;
            }
            Contender* first = round % 2 ? &c->theirs : &c->ours;
            Contender* second = round % 2 ? &c->ours : &c->theirs;
            c->failed = !TimeRound(*c, *first) || !TimeRound(*c, *second);
            if (!c->failed) {
                c->KeepRoundIfUndisturbed();
                more = more || c->Rounds() < kRounds;
            }
        }
        if (!more) {
            break;
        }
    }
    for (auto& c : cases) {
        if (c->failed) {
            std::printf("ROW|%s|a decode failed|-|-|%s\n", c->figure.c_str(), c->target.c_str());
            continue;
        }
        std::printf("%s: %d rounds of %d decodes each, %d more left out (the machine took the "
                    "processor away)\n",
                    c->figure.c_str(), c->Rounds(), c->decodesPerRound, c->disturbedRounds);
        // Rounds for the script, which makes the row: figure, target, then per round ours and
        // theirs in MB/s and each one's share of processor time.
        std::printf("RACE|%s|%s|%s|%s|%s|%s\n", c->figure.c_str(), c->target.c_str(),
                    Joined(c->ours.rates).c_str(), Joined(c->theirs.rates).c_str(),
                    Joined(c->ours.processorShares).c_str(),
                    Joined(c->theirs.processorShares).c_str());
        std::fflush(stdout);
    }
    return 0;
}
