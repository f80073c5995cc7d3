// Any coded stream, decoded into an output area whose size comes from the first bytes.
#include "imaging/portable/run_length.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Up to 16 KB of output: enough for every path, small enough to fuzz fast.
    const std::size_t outputSize = (static_cast<std::size_t>(data[0]) << 8 | data[1]) & 0x3FFF;
    korva::MemorySource source({data + 2, size - 2});
    std::vector<std::uint8_t> output(outputSize);
    if (!korva::DecodeRunLength(source, size - 2, output)) {
        std::abort(); // the whole stream is there
    }
    // Coding the output again and decoding it gives the output back.
    korva::VectorSink sink;
    korva::EncodeRunLength(output, sink);
    korva::MemorySource again(sink.bytes);
    std::vector<std::uint8_t> back(output.size());
    if (!korva::DecodeRunLength(again, sink.bytes.size(), back) || back != output) {
        std::abort();
    }
    return 0;
}
