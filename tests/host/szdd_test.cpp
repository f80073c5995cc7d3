// The SZDD compressor and expander: round trips, hand-made streams, and agreement with
// Debian's independent mscompress/msexpand.
#include "framework/portable/szdd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace korva;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Header(std::uint32_t length, char missing = 'x') {
    Bytes header = {'S',  'Z',  'D',  'D', 0x88,
                    0xF0, 0x27, 0x33, 'A', static_cast<std::uint8_t>(missing)};
    for (int i = 0; i < 4; ++i) {
        header.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    return header;
}

Bytes Stream(std::uint32_t length, std::initializer_list<std::uint8_t> body) {
    Bytes stream = Header(length);
    stream.insert(stream.end(), body);
    return stream;
}

Bytes Random(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

void ExpectRoundTrip(const Bytes& data, const char* what) {
    Bytes compressed = CompressSzdd(data, 'l');
    SzddExpansion expanded = ExpandSzdd(compressed);
    ASSERT_TRUE(expanded.ok) << what << ": " << expanded.error;
    EXPECT_EQ(expanded.missingChar, 'l');
    EXPECT_TRUE(expanded.data == data) << what;
}

} // namespace

TEST(Szdd, RoundTrips) {
    ExpectRoundTrip({}, "empty");
    ExpectRoundTrip({0x41}, "one byte");
    ExpectRoundTrip(Bytes(100000, 'a'), "one byte repeated");
    ExpectRoundTrip(FromText(std::string(6000, ' ') + "end"), "blanks like the window");
    Bytes pattern;
    for (int i = 0; i < 50000; ++i) {
        pattern.push_back(static_cast<std::uint8_t>(i % 4095));
        pattern.push_back(static_cast<std::uint8_t>(i % 4097));
    }
    ExpectRoundTrip(pattern, "periods around the window size");
    ExpectRoundTrip(Random(300 * 1024, 7), "300 KB random");
    Bytes mixed = Random(5000, 8);
    for (int i = 0; i < 40; ++i) {
        Bytes copy(mixed.begin() + i * 100, mixed.begin() + i * 100 + 4096);
        mixed.insert(mixed.end(), copy.begin(), copy.end());
    }
    ExpectRoundTrip(mixed, "repeats at the far end of the window");
}

TEST(Szdd, CompressesRepetitiveDataAndBoundsRandomData) {
    Bytes repetitive = Bytes(100000, 'a');
    EXPECT_LT(CompressSzdd(repetitive).size(), repetitive.size() / 8);
    Bytes noise = Random(100000, 3);
    // Incompressible data grows by one flag byte per eight bytes at most.
    EXPECT_LE(CompressSzdd(noise).size(), kSzddHeaderSize + noise.size() + noise.size() / 8 + 1);
}

TEST(Szdd, HeaderHoldsSignatureMissingCharAndLength) {
    Bytes compressed = CompressSzdd(FromText("abc"), 'p');
    ASSERT_GE(compressed.size(), kSzddHeaderSize);
    EXPECT_EQ(Bytes(compressed.begin(), compressed.begin() + 14), Header(3, 'p'));
}

TEST(Szdd, ExpandsHandMadeStreams) {
    // Three literals.
    SzddExpansion e = ExpandSzdd(Stream(3, {0x07, 'A', 'B', 'C'}));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.data, FromText("ABC"));

    // A match into the window before any output: blanks. Position 0x000, length 3 + 2.
    e = ExpandSzdd(Stream(5, {0x00, 0x00, 0x02}));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.data, FromText("     "));

    // A literal at 0xFF0, then a match of 10 from 0xFF0 overlapping its own output.
    e = ExpandSzdd(Stream(11, {0x01, 'z', 0xF0, 0xF7}));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.data, FromText("zzzzzzzzzzz"));

    // Output wraps round the window end: 16 literals fill 0xFF0-0xFFF, then a copy from 0xFFE
    // reads back what it has just written at 0x000.
    e = ExpandSzdd(Stream(21, {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g',  'h',  0xFF, 'i',
                               'j',  'k', 'l', 'm', 'n', 'o', 'p', 0x00, 0xFE, 0xF2}));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.data, FromText("abcdefghijklmnopopopo"));

    // Data beyond the declared length is ignored.
    e = ExpandSzdd(Stream(2, {0x07, 'A', 'B', 'C'}));
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.data, FromText("AB"));
}

TEST(Szdd, RefusesBadStreams) {
    EXPECT_FALSE(ExpandSzdd({}).ok);
    Bytes shortHeader = Header(0);
    shortHeader.pop_back();
    EXPECT_FALSE(ExpandSzdd(shortHeader).ok);
    Bytes badMagic = Stream(1, {0x01, 'A'});
    badMagic[4] = 0x89;
    EXPECT_FALSE(ExpandSzdd(badMagic).ok);
    Bytes badMethod = Stream(1, {0x01, 'A'});
    badMethod[8] = 'B';
    EXPECT_FALSE(ExpandSzdd(badMethod).ok);
    // Ends before the declared length: after a literal, inside a match, at a flag byte.
    EXPECT_FALSE(ExpandSzdd(Stream(3, {0x07, 'A', 'B'})).ok);
    EXPECT_FALSE(ExpandSzdd(Stream(6, {0x01, 'A', 0xF0})).ok);
    EXPECT_FALSE(ExpandSzdd(Stream(9, {0xFF, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'})).ok);
    // A huge declared length does not make it allocate ahead of the data.
    SzddExpansion huge = ExpandSzdd(Stream(0xFFFFFFFF, {0x01, 'A'}));
    EXPECT_FALSE(huge.ok);
    EXPECT_LE(huge.data.capacity(), 64u);
}

TEST(Szdd, RecognisesAStreamByItsWholeSignature) {
    const Bytes header = Header(0);
    EXPECT_TRUE(IsSzddStream(header));
    EXPECT_TRUE(IsSzddStream(Bytes(header.begin(), header.begin() + 8)));
    EXPECT_FALSE(IsSzddStream({}));
    EXPECT_FALSE(IsSzddStream(Bytes(header.begin(), header.begin() + 7)));
    for (std::size_t i = 0; i < 8; ++i) {
        Bytes changed = header;
        changed[i] ^= 0x20;
        EXPECT_FALSE(IsSzddStream(changed)) << "byte " << i;
    }
    // A plain library begins with "MZ".
    EXPECT_FALSE(IsSzddStream(FromText("MZ plain program file")));
}

// Debian's msexpand and mscompress implement the format independently of this project.
TEST(Szdd, AgreesWithDebiansMsexpandAndMscompress) {
    fs::path dir = fs::temp_directory_path() / ("korva-szdd-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    Bytes data = Random(20000, 5);
    Bytes text = FromText(std::string(3000, ' ') + "rete stradale, rete stradale, rete");
    data.insert(data.end(), text.begin(), text.end());
    {
        Bytes compressed = CompressSzdd(data, 't');
        std::ofstream(dir / "ours.tx_", std::ios::binary)
            .write(reinterpret_cast<const char*>(compressed.data()),
                   static_cast<std::streamsize>(compressed.size()));
        std::ofstream(dir / "plain.txt", std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
    std::string d = dir.string();
    ASSERT_EQ(std::system(("msexpand < '" + d + "/ours.tx_' > '" + d + "/theirs.txt'").c_str()), 0);
    ASSERT_EQ(std::system(("cd '" + d + "' && mscompress plain.txt").c_str()), 0);

    auto read = [](const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(file), {});
    };
    EXPECT_TRUE(read(dir / "theirs.txt") == data) << "msexpand disagrees with our compressor";
    SzddExpansion expanded = ExpandSzdd(read(dir / "plain.txt_"));
    ASSERT_TRUE(expanded.ok) << expanded.error;
    EXPECT_TRUE(expanded.data == data) << "we disagree with mscompress";
    fs::remove_all(dir);
}
