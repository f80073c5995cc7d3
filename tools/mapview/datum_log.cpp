#include "tools/mapview/datum_log.h"

#include "framework/resource_strings.h"
#include "posinet/portable/records.h"

namespace mapview {

bool DatumLog::Open(const std::string& path) {
    file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return IsOpen();
}

void DatumLog::Write(const std::string& line) {
    if (!file_) {
        return;
    }
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void DatumLog::Datum(const std::string& item, const std::vector<uint8_t>& bytes) {
    std::string line = fw::FormatText("D %lu %s %u", GetTickCount(), item.c_str(),
                                      static_cast<unsigned>(bytes.size()));
    if (auto record = korva::DecodePositionRecord(bytes.data(), bytes.size())) {
        line += fw::FormatText(" %u %u %ld %ld", record->kind, record->element,
                               static_cast<long>(record->longitude),
                               static_cast<long>(record->latitude));
    }
    Write(line);
}

void DatumLog::CopyData(uintptr_t sender, uintptr_t dwData, const uint8_t* bytes, size_t size) {
    std::string line =
        fw::FormatText("C %lu %08lx %lu %u ", GetTickCount(), static_cast<unsigned long>(sender),
                       static_cast<unsigned long>(dwData), static_cast<unsigned>(size));
    for (size_t i = 0; bytes && i < size; ++i) {
        line += fw::FormatText("%02x", bytes[i]);
    }
    Write(line);
}

void DatumLog::State(bool connected) {
    Write(fw::FormatText("S %lu %s", GetTickCount(), connected ? "connected" : "disconnected"));
}

} // namespace mapview
