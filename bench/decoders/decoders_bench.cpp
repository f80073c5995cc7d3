// Decoder benchmark: the image library's GIF, TIFF and bitmap readers against giflib, libtiff
// and stb_image on the same files, each decoded many times from memory. Before timing, both
// readers' colours are compared at every pixel, so that the two read the same picture.
//
//   decoders_bench FIGURE TARGET OURS THEIRS FILE [FIGURE TARGET OURS THEIRS FILE...]
//     OURS: gif | tiff | bmp      THEIRS: giflib | libtiff | libtiff+rows | stb
//     (libtiff+rows: libtiff, then the picture turned into a Windows bitmap's rows)
//
// Seven rounds per case; each round is a batch of decodes by the two readers taking turns
// decode by decode, and every round visits every case, so that the rounds of a case are spread
// over the whole run. Each decode's wall time and processor time (of this thread) are taken.
// A round in which a reader was off the processor for more than a tenth of its wall time is
// run again, up to three times as many rounds in all; where the machine never left the readers
// alone that long, the seven least disturbed rounds are kept and said to be disturbed.
// Prints per case "RACE|figure|target|disturbed rounds|ours MB/s per round|theirs MB/s per
// round|ours MB/s of processor time per round|theirs ...|ours processor share per round|theirs
// ...", megabytes being of input file (10^6 bytes); bench/decoders.sh makes the table's rows
// from it. Where a case cannot run, its "ROW|..." says why.
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
constexpr double kRoundSeconds = 0.5;
// A round in which either reader was off the processor for more than a tenth of its wall time
// measured the machine's other work as well as the reader: another round is run in its place,
// up to kMostRounds rounds in all.
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

// One contender of a case: a decode, and per round its wall seconds and processor seconds.
struct Contender {
    std::function<bool()> decode;
    std::vector<double> wall;
    std::vector<double> cpu;

    double Share(std::size_t round) const { return cpu[round] / wall[round]; }
};

struct Case {
    std::string figure;
    std::string target;
    std::vector<std::uint8_t> file;
    Contender ours;
    Contender theirs;
    int decodesPerRound = 1;
    bool failed = false;

    int Rounds() const { return static_cast<int>(ours.wall.size()); }
    // The lesser of the two readers' shares of a round's wall time on a processor: below 1
    // when the machine gave the processor to other work.
    double Share(std::size_t round) const {
        return std::min(ours.Share(round), theirs.Share(round));
    }
    bool Disturbed(std::size_t round) const { return Share(round) < kLeastProcessorShare; }
    int UndisturbedRounds() const {
        int n = 0;
        for (int round = 0; round < Rounds(); ++round) {
            n += Disturbed(round) ? 0 : 1;
        }
        return n;
    }
    // The rounds the figure is made of: the kRounds least disturbed, in the order they ran.
    std::vector<std::size_t> KeptRounds() const {
        std::vector<std::size_t> rounds(Rounds());
        for (std::size_t i = 0; i < rounds.size(); ++i) {
            rounds[i] = i;
        }
        std::stable_sort(rounds.begin(), rounds.end(),
                         [this](std::size_t a, std::size_t b) { return Share(a) > Share(b); });
        rounds.resize(std::min<std::size_t>(rounds.size(), kRounds));
        std::sort(rounds.begin(), rounds.end());
        return rounds;
    }
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// One round of a case: its decodes by the two readers taking turns, one decode each at a
// time, so that whatever the machine does during the round falls on both alike; each reader's
// decodes are timed together.
bool TimeRound(Case& c, bool theirsFirst) {
    double wall[2] = {};
    double cpu[2] = {};
    Contender* contenders[2] = {&c.ours, &c.theirs};
    for (int i = 0; i < c.decodesPerRound; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int which = (k + (theirsFirst ? 1 : 0) + i) % 2;
            const double cpuStart = ThreadSeconds();
            const Clock::time_point start = Clock::now();
            if (!contenders[which]->decode()) {
                return false;
            }
            wall[which] += std::chrono::duration<double>(Clock::now() - start).count();
            cpu[which] += ThreadSeconds() - cpuStart;
        }
    }
    for (int which = 0; which < 2; ++which) {
        contenders[which]->wall.push_back(wall[which]);
        contenders[which]->cpu.push_back(cpu[which]);
    }
    return true;
}

// Per kept round, "%.2f" of what `value` gives for it, separated by blanks.
std::string Joined(const std::vector<std::size_t>& rounds,
                   const std::function<double(std::size_t)>& value) {
    std::string text;
    char number[32];
    for (std::size_t round : rounds) {
        std::snprintf(number, sizeof number, "%s%.2f", text.empty() ? "" : " ", value(round));
        text += number;
    }
    return text.empty() ? "-" : text;
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
    // As many decodes a round as take the two readers about kRoundSeconds together, so that
    // one round is not one time slice of the machine.
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
    // Every round visits every case: a drift of the machine falls on every case alike.
    for (int round = 0; round < kMostRounds; ++round) {
        bool more = false;
        for (auto& c : cases) {
            if (c->failed || c->UndisturbedRounds() >= kRounds) {
                continue;
            }
            c->failed = !TimeRound(*c, round % 2 != 0);
            more = more || (!c->failed && c->UndisturbedRounds() < kRounds);
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
        const std::vector<std::size_t> kept = c->KeptRounds();
        int disturbed = 0;
        for (std::size_t round : kept) {
            disturbed += c->Disturbed(round) ? 1 : 0;
        }
        std::printf("%s: %d rounds of %d decodes each run, %d of them disturbed (the machine "
                    "took the processor away); %zu kept, %d of those disturbed\n",
                    c->figure.c_str(), c->Rounds(), c->decodesPerRound,
                    c->Rounds() - c->UndisturbedRounds(), kept.size(), disturbed);
        const double megabytes = static_cast<double>(c->file.size()) / 1e6 * c->decodesPerRound;
        auto rate = [megabytes](const std::vector<double>& seconds) {
            return [&seconds, megabytes](std::size_t round) { return megabytes / seconds[round]; };
        };
        const Contender& ours = c->ours;
        const Contender& theirs = c->theirs;
        std::printf("RACE|%s|%s|%d|%s|%s|%s|%s|%s|%s\n", c->figure.c_str(), c->target.c_str(),
                    disturbed, Joined(kept, rate(ours.wall)).c_str(),
                    Joined(kept, rate(theirs.wall)).c_str(), Joined(kept, rate(ours.cpu)).c_str(),
                    Joined(kept, rate(theirs.cpu)).c_str(),
                    Joined(kept, [&ours](std::size_t r) { return ours.Share(r); }).c_str(),
                    Joined(kept, [&theirs](std::size_t r) { return theirs.Share(r); }).c_str());
        std::fflush(stdout);
    }
    return 0;
}
