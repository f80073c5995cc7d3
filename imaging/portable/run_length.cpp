#include "imaging/portable/run_length.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korva {

namespace {
constexpr std::size_t kFlushAt = 0x7FFB;
constexpr std::size_t kLongestRun = 127;
} // namespace

bool EncodeRunLength(std::span<const std::uint8_t> input, ByteSink& sink,
                     std::uint64_t* codedBytes) {
    std::vector<std::uint8_t> buffer(kMaxTransfer);
    std::size_t fill = 0;
    std::uint64_t written = 0;
    auto flush = [&] {
        if (fill == 0) {
            return true;
        }
        if (!sink.Write(buffer.data(), fill)) {
            return false;
        }
        written += fill;
        fill = 0;
        return true;
    };
    for (std::size_t i = 0; i < input.size();) {
        std::uint8_t value = input[i];
        std::size_t run = 1;
        while (run < kLongestRun && i + run < input.size() && input[i + run] == value) {
            ++run;
        }
        if (run >= 2) {
            buffer[fill++] = static_cast<std::uint8_t>(0x80 + run);
            buffer[fill++] = value;
        } else if (value < 0x80) {
            buffer[fill++] = value;
        } else {
            buffer[fill++] = 0x81;
            buffer[fill++] = value;
        }
        i += run;
        if (fill >= kFlushAt && !flush()) {
            return false;
        }
    }
    bool ok = flush();
    if (codedBytes) {
        *codedBytes = written;
    }
    return ok;
}

bool DecodeRunLength(ByteSource& source, std::uint64_t codedLength,
                     std::span<std::uint8_t> output) {
    std::vector<std::uint8_t> piece(kMaxTransfer);
    std::size_t out = 0;
    bool markerPending = false;
    std::size_t count = 0;
    std::uint64_t remaining = codedLength;
    while (remaining > 0 && out < output.size()) {
        std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kMaxTransfer));
        if (source.Read(piece.data(), want) != want) {
            return false;
        }
        remaining -= want;
        for (std::size_t i = 0; i < want && out < output.size(); ++i) {
            std::uint8_t byte = piece[i];
            if (markerPending) {
                std::size_t n = std::min(count, output.size() - out);
                std::memset(output.data() + out, byte, n);
                out += n;
                markerPending = false;
            } else if (byte >= 0x80) {
                // The value may be the first byte of the next piece: keep the marker pending.
                count = byte & 0x7F;
                markerPending = true;
            } else {
                output[out++] = byte;
            }
        }
    }
    return true;
}

} // namespace korva
