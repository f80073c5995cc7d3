// RAII owners for the DDE management library's handles: the instance of a thread, string
// handles, client conversations and data handles. Owners that must release in a given order
// call Reset() explicitly; the destructors are the safety net.
#pragma once

#include "framework/handles.h"

#include <windows.h>
#include <ddeml.h>

#include <string>
#include <utility>
#include <vector>

namespace fw {

// The DDEML instance of the calling thread; DdeUninitialize when released.
class DdeInstance {
public:
    DdeInstance() = default;
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DdeInstance(DdeInstance&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    DdeInstance& operator=(DdeInstance&& other) noexcept {
        if (this != &other) {
            Reset();
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    ~DdeInstance() { Reset(); }

    // DdeInitializeA; DMLERR_NO_ERROR (0) on success. An instance held before is released.
    UINT Initialize(PFNCALLBACK callback, DWORD flags) {
        Reset();
        DWORD id = 0;
        UINT result = DdeInitializeA(&id, callback, flags, 0);
        if (result == DMLERR_NO_ERROR) {
            id_ = id;
        }
        return result;
    }

    DWORD Id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

    void Reset() {
        if (id_) {
            DdeUninitialize(std::exchange(id_, 0));
        }
    }

private:
    DWORD id_ = 0;
};

// A string handle of one instance, in the Windows ANSI code page; freed with
// DdeFreeStringHandle. Empty when the instance is 0 or the handle could not be made.
class DdeStringHandle {
public:
    DdeStringHandle() = default;
    DdeStringHandle(DWORD instance, const char* text)
        : instance_(instance),
          hsz_(instance ? DdeCreateStringHandleA(instance, text, CP_WINANSI) : nullptr) {}
    DdeStringHandle(const DdeStringHandle&) = delete;
    DdeStringHandle& operator=(const DdeStringHandle&) = delete;
    DdeStringHandle(DdeStringHandle&& other) noexcept
        : instance_(other.instance_), hsz_(std::exchange(other.hsz_, nullptr)) {}
    DdeStringHandle& operator=(DdeStringHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            instance_ = other.instance_;
            hsz_ = std::exchange(other.hsz_, nullptr);
        }
        return *this;
    }
    ~DdeStringHandle() { Reset(); }

    HSZ Get() const { return hsz_; }
    explicit operator bool() const { return hsz_ != nullptr; }

    void Reset() {
        if (hsz_) {
            DdeFreeStringHandle(instance_, std::exchange(hsz_, nullptr));
        }
    }

private:
    DWORD instance_ = 0;
    HSZ hsz_ = nullptr;
};

// The text of a string handle as a buffer of `bufferSize` characters holds it (at most
// bufferSize - 1 characters); empty for no handle.
inline std::string DdeQueryText(DWORD instance, HSZ hsz, DWORD bufferSize) {
    if (!hsz || bufferSize == 0) {
        return {};
    }
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD length = DdeQueryStringA(instance, hsz, buffer.data(), bufferSize, CP_WINANSI);
    if (length >= bufferSize) {
        length = bufferSize - 1;
    }
    return std::string(buffer.data(), length);
}

// A client's conversation; DdeDisconnect when released.
using UniqueDdeConversation = UniqueNullHandle<HCONV, DdeDisconnect>;
// A data handle the program owns (one returned by a client transaction, or one made with
// HDATA_APPOWNED). A handle returned from a server callback belongs to DDEML: Release() it.
using UniqueDdeData = UniqueNullHandle<HDDEDATA, DdeFreeDataHandle>;

// The bytes of a data handle, at most `maxBytes`.
inline std::vector<unsigned char> DdeDataBytes(HDDEDATA data, DWORD maxBytes) {
    std::vector<unsigned char> bytes;
    if (!data) {
        return bytes;
    }
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    if (size > maxBytes) {
        size = maxBytes;
    }
    bytes.resize(size);
    if (size) {
        bytes.resize(DdeGetData(data, bytes.data(), size, 0));
    }
    return bytes;
}

} // namespace fw
