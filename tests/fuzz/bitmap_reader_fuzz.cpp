// Any bytes given to the bitmap file reader: a DIB whose header matches its block, or an
// error code with its text; never a read outside the input or the block.
#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/colour_reduction.h"

#include <array>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korva::MemorySource source({data, size});
    korva::ImageError error;
    // Blocks up to 256 KB: a few coded bytes may stand for a large one, slow to fuzz.
    korva::DibBlock dib = korva::ReadDibFile(source, 0, error, nullptr, 256u << 10);
    if (dib.Empty()) {
        if (error.code >= 0 || error.text.empty()) {
            std::abort();
        }
        return 0;
    }
    if (korva::BlockSize(dib.Header()) != static_cast<std::int64_t>(dib.Size())) {
        std::abort();
    }
    // What was read can be written again in every kind, and reduced to 16 colours (small
    // pictures: writing is slow under the sanitizers).
    if (dib.Size() > (16u << 10)) {
        return 0;
    }
    std::array<korva::RgbQuad, 16> greys{};
    for (int kind = 0; kind <= 3; ++kind) {
        korva::VectorSink sink;
        korva::WriteDibFile(sink, dib, kind, error);
        korva::VectorSink reduced;
        korva::WriteDib16File(reduced, dib, kind, greys, error);
    }
    return 0;
}
