// pictool: describes a picture file, or rewrites it as a Windows bitmap or one of the RM/PM
// variants, optionally reduced to 16 colours. Built from the installer's own codecs.
//
//   pictool info FILE
//   pictool convert IN OUT --kind 0|1|2|3 [--16]
#include "framework/portable/byte_stream.h"
#include "imaging/portable/bitmap_file.h"
#include "imaging/portable/metafile_header.h"
#include "imaging/portable/picture_reader.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace korva;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Usage() {
    std::fprintf(stderr, "usage: pictool info FILE\n"
                         "       pictool convert IN OUT --kind 0|1|2|3 [--16]\n"
                         "kinds: 0 Windows bitmap, 1 RM, 2 RM run-length coded, 3 PM\n");
    return kExitUsage;
}

// Describes a file none of the picture readers takes: a metafile, or the readers' error.
int DescribeUnread(const std::string& path, const ImageError& error) {
    StdioFile file(path, "rb");
    std::vector<std::uint8_t> start(64);
    start.resize(file ? std::fread(start.data(), 1, start.size(), file.Get()) : 0);
    std::optional<MetafileLayout> layout = LocateMetafileHeader(start);
    if (layout && IsMetaHeader(std::span(start).subspan(layout->headerOffset))) {
        std::printf("format: Windows metafile (%s", layout->placeable ? "placeable" : "plain");
        if (layout->placeable) {
            std::printf(", header at %u", layout->headerOffset);
        }
        std::printf(")\nsize: %u bytes of records\n", 2 * layout->sizeInWords);
        return 0;
    }
    std::fprintf(stderr, "pictool: %s: error %d: %s\n", path.c_str(), error.code,
                 error.text.c_str());
    return kExitFailure;
}

// Reads a picture; reports the failure and returns an empty result when none of the
// readers takes it.
bool ReadPictureFile(const std::string& path, PictureResult& result) {
    StdioFile file(path, "rb");
    if (!file) {
        result.error.Set(kImageFileNotFound, texts::kFileNotFound);
        return false;
    }
    StdioSource source(file.Get());
    result = ReadPicture(source);
    return !result.dib.Empty();
}

int Info(const std::string& path) {
    PictureResult picture;
    if (!ReadPictureFile(path, picture)) {
        if (picture.error.code == kImageFileNotFound) {
            std::fprintf(stderr, "pictool: %s: error %d: %s\n", path.c_str(), picture.error.code,
                         picture.error.text.c_str());
            return kExitFailure;
        }
        return DescribeUnread(path, picture.error);
    }
    const BitmapInfoHeader header = picture.dib.Header();
    std::printf("format: %s", PictureFormatName(picture.format));
    if (picture.format == PictureFormat::kVariantR) {
        std::printf(picture.bitmap.coded ? " (run-length coded)" : " (uncoded)");
    }
    if (picture.bitmap.topDown) {
        std::printf(" (top-down)");
    }
    if (picture.format == PictureFormat::kTiff) {
        std::printf(picture.tiff.compression_ == 5 ? " (LZW)" : " (uncompressed)");
    }
    if (picture.format == PictureFormat::kGif) {
        std::printf("%s%s", picture.gif.globalTable_ ? "" : " (no global colour table)",
                    picture.gif.interlaced_ ? " (interlaced, lines as stored)" : "");
    }
    std::printf("\nsize: %dx%d\ndepth: %u\ncolours: %lld\n", header.width, header.height,
                header.bitCount, static_cast<long long>(ColourCount(header)));
    return 0;
}

int Convert(const std::string& in, const std::string& out, int kind, bool sixteen) {
    PictureResult picture;
    if (!ReadPictureFile(in, picture)) {
        std::fprintf(stderr, "pictool: %s: error %d: %s\n", in.c_str(), picture.error.code,
                     picture.error.text.c_str());
        return kExitFailure;
    }
    StdioFile file(out, "wb");
    if (!file) {
        std::fprintf(stderr, "pictool: cannot create %s\n", out.c_str());
        return kExitFailure;
    }
    StdioSink sink(file.Get());
    ImageError error;
    std::uint64_t written = 0;
    if (sixteen) {
        // The picture's own first 16 colours, as the library does with a given palette.
        std::array<RgbQuad, 16> palette{};
        std::vector<RgbQuad> table = picture.dib.ColourTable();
        for (std::size_t i = 0; i < palette.size() && i < table.size(); ++i) {
            palette[i] = table[i];
        }
        written = WriteDib16File(sink, picture.dib, kind, palette, error);
        if (written == 0 && picture.dib.Header().bitCount != 8) {
            std::fprintf(stderr, "pictool: --16 needs an 8-bit picture; %s has %u bits\n",
                         in.c_str(), picture.dib.Header().bitCount);
        }
    } else {
        written = WriteDibFile(sink, picture.dib, kind, error);
    }
    if (!file.Close() || written == 0) {
        std::fprintf(stderr, "pictool: cannot write %s: error %d\n", out.c_str(), error.code);
        std::remove(out.c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "info") {
        return Info(args[1]);
    }
    if (args.size() < 5 || args[0] != "convert") {
        return Usage();
    }
    int kind = -1;
    bool sixteen = false;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--16") {
            sixteen = true;
        } else if (args[i] == "--kind" && i + 1 < args.size() && args[i + 1].size() == 1 &&
                   args[i + 1][0] >= '0' && args[i + 1][0] <= '3') {
            kind = args[++i][0] - '0';
        } else {
            return Usage();
        }
    }
    if (kind < 0) {
        return Usage();
    }
    return Convert(args[1], args[2], kind, sixteen);
}
