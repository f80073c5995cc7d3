#include "imaging/cwmf.h"

#include "framework/portable/byte_stream.h"
#include "imaging/lfile_stream.h"
#include "imaging/portable/metafile_header.h"

#include <algorithm>
#include <cstddef>
#include <vector>

using namespace korva;

namespace {

constexpr int kLogicalExtent = 800;

int CALLBACK PlayEachRecord(HDC dc, HANDLETABLE* objects, METARECORD* record, int objectCount,
                            LPARAM) {
    PlayMetaFileRecord(dc, objects, record, static_cast<UINT>(objectCount));
    return 1; // go on whatever the record did
}

fw::UniquePalette SystemPalette(HDC dc) {
    const int count = std::max(GetDeviceCaps(dc, SIZEPALETTE), 0);
    std::vector<std::uint8_t> bytes(offsetof(LOGPALETTE, palPalEntry) +
                                    std::max(count, 1) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(bytes.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    if (count > 0) {
        GetSystemPaletteEntries(dc, 0, static_cast<UINT>(count), log->palPalEntry);
    }
    return fw::UniquePalette(CreatePalette(log));
}

} // namespace

CWmf::CWmf() {
    fw::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    if (memory) {
        planes_ = GetDeviceCaps(memory.Get(), PLANES);
        bitsPerPixel_ = GetDeviceCaps(memory.Get(), BITSPIXEL);
    }
}

fw::UniqueBitmap CWmf::RenderMetafile(const std::string& fileName, fw::UniquePalette& paletteOut,
                                      int width, int height) {
    fw::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    if (!memory || width <= 0 || height <= 0) {
        playResult_ = 0;
        return {};
    }
    fw::UniqueBitmap bitmap(CreateBitmap(width, height, static_cast<UINT>(planes_),
                                         static_cast<UINT>(bitsPerPixel_), nullptr));
    if (!bitmap) {
        playResult_ = 0;
        return {};
    }
    HDC dc = memory.Get();
    fw::UniquePalette palette;
    {
        fw::SelectObjectScope selected(dc, bitmap.Get());
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetWindowExtEx(dc, kLogicalExtent, kLogicalExtent, nullptr);
        SetViewportExtEx(dc, width, height, nullptr);

        fw::UniqueMetafile metafile = OpenMetafile(fileName);
        if (!metafile || !EnumMetaFile(dc, metafile.Get(), PlayEachRecord, 0)) {
            playResult_ = 0;
            return {};
        }
        SetMapMode(dc, MM_TEXT);
        palette = SystemPalette(dc);
    }
    paletteOut = std::move(palette);
    return bitmap;
}

fw::UniqueMetafile CWmf::OpenMetafile(const std::string& fileName) {
    fw::UniqueLFile file = OpenForReading(fileName);
    if (!file) {
        return {};
    }
    LFileSource source(file.Get());
    std::uint8_t key[4];
    if (ReadPieces(source, key, sizeof key) != sizeof key) {
        return {};
    }
    if (GetLe32(key) == kPlaceableKey) {
        plainFlag_ = 0;
        return OpenPlaceable(file.Get());
    }
    std::uint8_t header[kMetaHeaderSize];
    source.Seek(0);
    std::size_t got = ReadPieces(source, header, sizeof header);
    file.Reset();
    if (got < 4) {
        return {};
    }
    plainFlag_ = 1;
    return fw::UniqueMetafile(GetMetaFileA(fileName.c_str()));
}

fw::UniqueMetafile CWmf::OpenPlaceable(HFILE file) {
    LFileSource source(file);
    std::vector<std::uint8_t> start(64);
    source.Seek(0);
    start.resize(ReadPieces(source, start.data(), start.size()));
    std::optional<MetafileLayout> layout = LocateMetafileHeader(start);
    if (!layout) {
        return {};
    }
    // The whole metafile, as long as its header says, but never beyond the end of the file.
    const std::uint64_t fileLength = source.Length();
    const std::uint64_t available =
        fileLength > layout->headerOffset ? fileLength - layout->headerOffset : 0;
    const std::uint64_t size =
        std::min<std::uint64_t>(2ull * layout->sizeInWords, available) & ~std::uint64_t{1};
    if (size < kMetaHeaderSize) {
        return {};
    }
    fw::UniqueGlobal bits(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size)));
    auto* data = bits ? static_cast<std::uint8_t*>(GlobalLock(bits.Get())) : nullptr;
    if (!data) {
        return {};
    }
    HMETAFILE metafile = nullptr;
    if (source.Seek(layout->headerOffset) &&
        ReadPieces(source, data, static_cast<std::size_t>(size)) == size) {
        metafile = SetMetaFileBitsEx(static_cast<UINT>(size), data);
    }
    GlobalUnlock(bits.Get());
    return fw::UniqueMetafile(metafile);
}
