#include "imaging/portable/run_length.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace korva;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const Bytes& input) {
    VectorSink sink;
    std::uint64_t coded = 0;
    EXPECT_TRUE(EncodeRunLength(input, sink, &coded));
    EXPECT_EQ(coded, sink.bytes.size());
    return sink.bytes;
}

Bytes Decode(const Bytes& coded, std::size_t outputSize, bool* ok = nullptr) {
    MemorySource source(coded);
    Bytes output(outputSize, 0xEE);
    bool decoded = DecodeRunLength(source, coded.size(), output);
    if (ok) {
        *ok = decoded;
    }
    return output;
}

// Records the size of every write, to see the work buffer being flushed.
class RecordingSink : public ByteSink {
public:
    bool Write(const void* data, std::size_t size) override {
        writes.push_back(size);
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    std::vector<std::size_t> writes;
    Bytes bytes;
};

class FailingSink : public ByteSink {
public:
    bool Write(const void*, std::size_t) override { return false; }
};

} // namespace

TEST(RunLengthCoding, ExamplesOfTheFormat) {
    EXPECT_EQ(Encode(Bytes(300, 0x42)), (Bytes{0xFF, 0x42, 0xFF, 0x42, 0xAE, 0x42}));
    EXPECT_EQ(Encode({0x90}), (Bytes{0x81, 0x90}));
    EXPECT_EQ(Encode({0x05}), (Bytes{0x05}));
    EXPECT_EQ(Encode({0x05, 0x05}), (Bytes{0x82, 0x05}));
    EXPECT_EQ(Encode({0x01, 0x80, 0x7F}), (Bytes{0x01, 0x81, 0x80, 0x7F}));
    EXPECT_EQ(Encode(Bytes(127, 0)), (Bytes{0xFF, 0}));
    EXPECT_EQ(Encode(Bytes(128, 0)), (Bytes{0xFF, 0, 0}));
    EXPECT_TRUE(Encode({}).empty());
}

TEST(RunLengthCoding, RoundTripOfMixedData) {
    Bytes input;
    std::uint32_t state = 7;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        std::uint8_t value = static_cast<std::uint8_t>(state >> 16);
        int repeat = (state >> 8) % 5 == 0 ? static_cast<int>((state >> 4) % 300) : 1;
        input.insert(input.end(), static_cast<std::size_t>(repeat), value);
    }
    Bytes coded = Encode(input);
    bool ok = false;
    EXPECT_EQ(Decode(coded, input.size(), &ok), input);
    EXPECT_TRUE(ok);
}

TEST(RunLengthCoding, WorkBufferIsWrittenOutInPiecesOfAtMost0x7FFF) {
    Bytes input;
    for (int i = 0; i < 200000; ++i) {
        input.push_back(static_cast<std::uint8_t>(0x80 | (i % 2))); // every byte coded as two
    }
    RecordingSink sink;
    std::uint64_t coded = 0;
    ASSERT_TRUE(EncodeRunLength(input, sink, &coded));
    EXPECT_EQ(coded, 400000u);
    ASSERT_GT(sink.writes.size(), 1u);
    for (std::size_t i = 0; i + 1 < sink.writes.size(); ++i) {
        EXPECT_GE(sink.writes[i], 0x7FFBu);
        EXPECT_LE(sink.writes[i], 0x7FFFu);
    }
    FailingSink failing;
    EXPECT_FALSE(EncodeRunLength(input, failing));
}

TEST(RunLengthCoding, MarkerAtTheEndOfAPieceTakesItsValueFromTheNext) {
    // 0x7FFE literals, then a run marker as the last byte of the first 0x7FFF-byte piece.
    Bytes coded(0x7FFE, 0x11);
    coded.push_back(0x85);
    coded.push_back(0x22);
    coded.push_back(0x33);
    bool ok = false;
    Bytes output = Decode(coded, 0x7FFE + 6, &ok);
    EXPECT_TRUE(ok);
    Bytes expected(0x7FFE, 0x11);
    expected.insert(expected.end(), {0x22, 0x22, 0x22, 0x22, 0x22, 0x33});
    EXPECT_EQ(output, expected);

    // The same stream with the boundary elsewhere decodes the same.
    Bytes shifted(0x7FFD, 0x11);
    shifted.insert(shifted.end(), {0x11, 0x85, 0x22, 0x33});
    EXPECT_EQ(Decode(shifted, expected.size()), expected);
}

TEST(RunLengthCoding, DecodingStopsWhenTheOutputIsFullOrTheStreamEnds) {
    bool ok = false;
    // A run longer than the room left is cut; the rest of the stream is not needed.
    EXPECT_EQ(Decode({0x01, 0x8A, 0x07, 0x02}, 4, &ok), (Bytes{0x01, 0x07, 0x07, 0x07}));
    EXPECT_TRUE(ok);
    // A stream that ends early leaves the rest of the output as it was.
    EXPECT_EQ(Decode({0x83, 0x07}, 5, &ok), (Bytes{0x07, 0x07, 0x07, 0xEE, 0xEE}));
    EXPECT_TRUE(ok);
    // A marker without its value at the very end writes nothing.
    EXPECT_EQ(Decode({0x01, 0x83}, 3, &ok), (Bytes{0x01, 0xEE, 0xEE}));
    EXPECT_TRUE(ok);
    // 0x80 stands for no copies and consumes its value.
    EXPECT_EQ(Decode({0x80, 0x09, 0x01}, 2, &ok), (Bytes{0x01, 0xEE}));
}

TEST(RunLengthCoding, SourceShorterThanTheCodedLengthIsAReadFailure) {
    Bytes coded = {0x01, 0x02};
    MemorySource source(coded);
    Bytes output(10);
    EXPECT_FALSE(DecodeRunLength(source, 5, output));
}
