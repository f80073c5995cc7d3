// Any bytes given to the GIF reader: an image or a failure, never a read or write outside
// the input, the DIB or the decoder's tables.
#include "imaging/portable/gif_reader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korva::MemorySource source({data, size});
    korva::CGif gif;
    // Blocks up to 256 KB: a few bytes may describe a large picture, slow to fuzz.
    korva::DibBlock dib = gif.ReadGif(source, 256u << 10);
    if (!dib.Empty()) {
        const korva::BitmapInfoHeader header = dib.Header();
        if (header.bitCount != 1 && header.bitCount != 4 && header.bitCount != 8) {
            std::abort();
        }
        if (korva::BlockSize(header) != static_cast<std::int64_t>(dib.Size())) {
            std::abort();
        }
    }
    return 0;
}
