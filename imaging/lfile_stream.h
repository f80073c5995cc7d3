// The codecs' byte source and sink over the 16-bit-compatible file calls (_lopen, _lcreat,
// _lread, _lwrite, _llseek, _lclose), with an owner that closes the file.
#pragma once

#include "framework/handles.h"
#include "framework/portable/byte_stream.h"

#include <string>

namespace fw {
struct LFileTraits {
    static HFILE Invalid() { return HFILE_ERROR; }
    static void Close(HFILE h) { _lclose(h); }
};
using UniqueLFile = UniqueHandle<HFILE, LFileTraits>;
} // namespace fw

namespace korva {

// Opens for reading; the invalid value when the file cannot be opened.
fw::UniqueLFile OpenForReading(const std::string& path);
// Creates (or empties) the file for writing.
fw::UniqueLFile CreateForWriting(const std::string& path);

class LFileSource : public ByteSource {
public:
    explicit LFileSource(HFILE file) : file_(file) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    bool Seek(std::uint64_t offset) override;
    std::uint64_t Position() const override;
    std::uint64_t Length() override;

private:
    HFILE file_;
};

class LFileSink : public ByteSink {
public:
    explicit LFileSink(HFILE file) : file_(file) {}
    bool Write(const void* data, std::size_t size) override;

private:
    HFILE file_;
};

} // namespace korva
