// The run-length coding of the RM and PM bitmap variants. A byte below 0x80 stands for
// itself; 0x80 + n is followed by a value byte that stands for n copies of it.
#pragma once

#include "framework/portable/byte_stream.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace korva {

// Codes `input` into `sink` through one work buffer of kMaxTransfer bytes, written out
// whenever it holds 0x7FFB bytes or more. Runs of 2 to 127 equal bytes become 0x80 + n and
// the value, a single byte below 0x80 itself, a single byte of 0x80 or above 0x81 and the
// byte. Returns false on a short write; `codedBytes` receives the bytes written.
bool EncodeRunLength(std::span<const std::uint8_t> input, ByteSink& sink,
                     std::uint64_t* codedBytes = nullptr);

// Decodes `codedLength` bytes of `source`, read in pieces of at most kMaxTransfer bytes,
// into `output`. Ends when the output is full or the coded bytes are used up (the rest of
// the output stays as it was). A marker that ends one piece takes its value from the next.
// False when the source holds fewer than `codedLength` bytes.
bool DecodeRunLength(ByteSource& source, std::uint64_t codedLength, std::span<std::uint8_t> output);

} // namespace korva
