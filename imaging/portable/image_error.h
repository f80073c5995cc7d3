// Error codes and texts of the image library, and ImageError, the one record through which
// every reader and writer reports a failure. Each keeps the code and the short text of its
// last failure; a success leaves them as they were.
#pragma once

#include <string>
#include <string_view>

namespace korva {

constexpr int kImageFileNotFound = -1;
constexpr int kImageReadError = -2;     // read failure, short header, unsupported coding
constexpr int kImageUnknownFormat = -3; // not this reader's format: the loader tries the next
constexpr int kImageNoMemory = -4;
constexpr int kImageConversionFailed = -5;
constexpr int kImageShortPixels = -6; // TIFF pixel data shorter than the rows need
// A bitmap file that cannot be written from the DIB given is the code table's "read or write
// failure": callers and stored expectations know that code only. The text says which it was.
constexpr int kImageWriteError = kImageReadError;

namespace texts {
inline constexpr const char* kFileNotFound = "FILE NOT FOUND";
inline constexpr const char* kNotDib = "NOT DIB";
inline constexpr const char* kReadFileError = "Read file error";
inline constexpr const char* kUnsupportedFormat = "Formato non supportato";
inline constexpr const char* kInvalidFormat = "Invalid format";
inline constexpr const char* kNoMemory = "FREE MEMORY NOT SUFFICIENT";
inline constexpr const char* kReadError = "ERROR ON READ FROM FILE";
inline constexpr const char* kCannotConvert = "IMPOSSIBILE CONVERTIRE IL BITMAP";
inline constexpr const char* kCannotWrite = "IMPOSSIBILE SCRIVERE IL FILE ";
inline constexpr const char* kEmptyRectangle = "The rectangle is empty";
} // namespace texts

struct ImageError {
    int code = 0;
    std::string text;

    void Set(int newCode, std::string_view newText) {
        code = newCode;
        text = newText;
    }
    // A failure that records a code but leaves the text of an earlier one.
    void SetCode(int newCode) { code = newCode; }
    // A failure that records a text but leaves the code of an earlier one.
    void SetText(std::string_view newText) { text = newText; }
};

} // namespace korva
