// Writes the sample CD's pictures into a directory: cover1-3.bmp and menu.bmp in the
// bitmap kinds of the installer's own codecs, and the metafile cover korva.wmf.
#include "framework/portable/byte_stream.h"
#include "imaging/portable/bitmap_file.h"
#include "tools/mkpictures/sample_pictures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::fprintf(stderr, "usage: mkpictures --out DIR\n");
        return 2;
    }
    const std::string dir = argv[2];
    for (const korva::SampleBitmap& picture : korva::SampleBitmaps()) {
        korva::DibBlock dib =
            korva::CellPicture(picture.width, picture.height, picture.bits, picture.cells);
        korva::StdioFile file(dir + "/" + picture.name, "wb");
        korva::StdioSink sink(file.Get());
        korva::ImageError error;
        if (!file || korva::WriteDibFile(sink, dib, picture.kind, error) == 0 || !file.Close()) {
            std::fprintf(stderr, "mkpictures: cannot write %s/%s\n", dir.c_str(), picture.name);
            return 1;
        }
    }
    const std::vector<std::uint8_t> drawing = korva::CoverDrawing();
    korva::StdioFile file(dir + "/korva.wmf", "wb");
    if (!file || std::fwrite(drawing.data(), 1, drawing.size(), file.Get()) != drawing.size() ||
        !file.Close()) {
        std::fprintf(stderr, "mkpictures: cannot write %s/korva.wmf\n", dir.c_str());
        return 1;
    }
    return 0;
}
