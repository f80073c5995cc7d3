#include "reference_decoders.h"

#include <gif_lib.h>
#include <stb_image.h>
#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace bench {

namespace {

Bytes Allocate(std::size_t size) {
    return Bytes(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
}

// A file in memory, read through the libraries' callbacks.
struct MemoryFile {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;

    std::size_t Read(void* buffer, std::size_t size) {
        const std::size_t count = std::min(size, bytes.size() - std::min(position, bytes.size()));
        std::memcpy(buffer, bytes.data() + position, count);
        position += count;
        return count;
    }
};

int GifRead(GifFileType* gif, GifByteType* buffer, int size) {
    auto* file = static_cast<MemoryFile*>(gif->UserData);
    return static_cast<int>(file->Read(buffer, static_cast<std::size_t>(size)));
}

tmsize_t TiffRead(thandle_t handle, void* buffer, tmsize_t size) {
    return static_cast<tmsize_t>(
        static_cast<MemoryFile*>(handle)->Read(buffer, static_cast<std::size_t>(size)));
}
tmsize_t TiffWrite(thandle_t, void*, tmsize_t) {
    return 0;
}
toff_t TiffSeek(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    switch (whence) {
    case SEEK_CUR:
        file->position += offset;
        break;
    case SEEK_END:
        file->position = file->bytes.size() + offset;
        break;
    default:
        file->position = offset;
        break;
    }
    return file->position;
}
int TiffClose(thandle_t) {
    return 0;
}
toff_t TiffSize(thandle_t handle) {
    return static_cast<MemoryFile*>(handle)->bytes.size();
}
// The file is already in memory: libtiff reads strips straight from it, as from a mapped file.
int TiffMap(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<MemoryFile*>(handle);
    *base = const_cast<std::uint8_t*>(file->bytes.data());
    *size = file->bytes.size();
    return 1;
}
void TiffUnmap(thandle_t, void*, toff_t) {}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

} // namespace

void Decoded::Colour(int x, int y, std::uint8_t rgb[3]) const {
    const std::uint8_t* p = pixels.get() + (static_cast<std::size_t>(y) * width + x) *
                                               static_cast<std::size_t>(channels);
    if (channels == 1) {
        const std::size_t at = 3u * *p;
        for (int i = 0; i < 3; ++i) {
            rgb[i] = at + 2 < palette.size() ? palette[at + i] : 0;
        }
        return;
    }
    std::memcpy(rgb, p, 3);
}

void AddWindowsRows(Decoded& decoded) {
    const std::size_t rowBytes =
        static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.channels);
    const std::size_t stride = (rowBytes + 3) & ~std::size_t{3};
    decoded.windowsRows.assign(stride * static_cast<std::size_t>(decoded.height), 0);
    for (int y = 0; y < decoded.height; ++y) {
        const std::uint8_t* from = decoded.pixels.get() + static_cast<std::size_t>(y) * rowBytes;
        std::uint8_t* to =
            decoded.windowsRows.data() + static_cast<std::size_t>(decoded.height - 1 - y) * stride;
        if (decoded.channels != 3) {
            std::memcpy(to, from, rowBytes);
            continue;
        }
        for (std::size_t x = 0; x < rowBytes; x += 3) {
            to[x] = from[x + 2];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x];
        }
    }
}

Decoded DecodeWithGiflib(std::span<const std::uint8_t> bytes) {
    Decoded out;
    MemoryFile file{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&file, GifRead, &error);
    if (!gif) {
        return out;
    }
    // The first image, line by line into one buffer.
    bool ok = false;
    for (GifRecordType record = UNDEFINED_RECORD_TYPE; !ok;) {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE) {
            break;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
                break;
            }
            while (block && DGifGetExtensionNext(gif, &block) != GIF_ERROR) {
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR) {
            break;
        }
        out.width = gif->Image.Width;
        out.height = gif->Image.Height;
        out.channels = 1;
        const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
        if (map) {
            out.palette.resize(3u * static_cast<std::size_t>(map->ColorCount));
            std::memcpy(out.palette.data(), map->Colors, out.palette.size());
        }
        out.pixels = Allocate(static_cast<std::size_t>(out.width) * out.height);
        ok = true;
        for (int y = 0; y < out.height && ok; ++y) {
            ok = DGifGetLine(gif, out.pixels.get() + static_cast<std::size_t>(y) * out.width,
                             out.width) != GIF_ERROR;
        }
    }
    DGifCloseFile(gif, &error);
    if (!ok) {
        out.pixels.reset();
    }
    return out;
}

Decoded DecodeWithLibtiff(std::span<const std::uint8_t> bytes) {
    Decoded out;
    MemoryFile file{bytes};
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFClientOpen("memory", "r", &file, TiffRead, TiffWrite,
                                                          TiffSeek, TiffClose, TiffSize, TiffMap,
                                                          TiffUnmap));
    if (!tiff) {
        return out;
    }
    std::uint32_t width = 0, height = 0;
    std::uint16_t samples = 1, photometric = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.channels = samples;
    if (photometric == PHOTOMETRIC_PALETTE) {
        std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue)) {
            out.palette.resize(3 * 256);
            for (std::size_t i = 0; i < 256; ++i) {
                out.palette[3 * i] = static_cast<std::uint8_t>(red[i] >> 8);
                out.palette[3 * i + 1] = static_cast<std::uint8_t>(green[i] >> 8);
                out.palette[3 * i + 2] = static_cast<std::uint8_t>(blue[i] >> 8);
            }
        }
    }
    // Strip after strip into one buffer.
    const std::size_t total = static_cast<std::size_t>(TIFFScanlineSize(tiff.get())) * height;
    out.pixels = Allocate(total);
    std::size_t filled = 0;
    const tstrip_t strips = TIFFNumberOfStrips(tiff.get());
    for (tstrip_t strip = 0; strip < strips && filled < total; ++strip) {
        const tmsize_t got = TIFFReadEncodedStrip(tiff.get(), strip, out.pixels.get() + filled,
                                                  static_cast<tmsize_t>(total - filled));
        if (got < 0) {
            out.pixels.reset();
            return out;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled != total) {
        out.pixels.reset();
    }
    return out;
}

Decoded DecodeWithStb(std::span<const std::uint8_t> bytes) {
    Decoded out;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                            &out.width, &out.height, &channels, 0);
    out.channels = channels;
    out.pixels.reset(pixels); // stb_image allocates with malloc
    return out;
}

std::string LibraryVersions() {
    return "giflib " + std::to_string(GIFLIB_MAJOR) + "." + std::to_string(GIFLIB_MINOR) + "." +
           std::to_string(GIFLIB_RELEASE) + ", " +
           std::string(TIFFGetVersion()).substr(0, std::string(TIFFGetVersion()).find('\n')) +
           ", stb_image " + std::to_string(STBI_VERSION) + " (compiled here)";
}

} // namespace bench
