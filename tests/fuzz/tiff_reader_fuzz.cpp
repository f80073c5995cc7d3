// Any bytes given to the TIFF reader: an image or a failure code, never a read outside the
// input or a write outside the DIB.
#include "imaging/portable/tiff_reader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korva::MemorySource source({data, size});
    korva::CTiff tiff;
    // Blocks up to 256 KB: a few bytes may describe a large picture, slow to fuzz.
    korva::DibBlock dib = tiff.ReadTiff(source, 256u << 10);
    if (dib.Empty() ? tiff.ErrorCode() >= 0 : tiff.ErrorCode() != 1) {
        std::abort();
    }
    return 0;
}
