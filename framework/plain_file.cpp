#include "framework/plain_file.h"

#include "framework/file_identity.h"

namespace fw {

namespace {

constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// The disposition class and record of SetFileInformationByHandle (Vista and later).
constexpr int kFileDispositionInfo = 4;
struct DispositionInfo {
    BOOLEAN deleteFile;
};
using SetInformationFunction = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);

SetInformationFunction SetInformationService() {
    static const SetInformationFunction function =
        reinterpret_cast<SetInformationFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetFileInformationByHandle")));
    return function;
}

bool IsAbsenceError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Gone, or going: Windows keeps a file that another program holds open (sharing deletion) until
// it is closed, and refuses access to it meanwhile.
bool NameIsGone(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = GetLastError();
    return IsAbsenceError(error) || error == ERROR_ACCESS_DENIED;
}

// Deletes through a handle whose facts were checked: the file deleted is the file checked.
DeleteOutcome DeleteThroughHandle(const std::string& path, SetInformationFunction setInformation) {
    {
        UniqueFileHandle file(CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                          nullptr));
        if (!file) {
            return IsAbsenceError(GetLastError()) ? DeleteOutcome::deleted : DeleteOutcome::failed;
        }
        const HandleFacts facts = FactsOfHandle(file.Get());
        if (!facts.opened || (facts.attributes & kNotAFile) || !FinalPathIs(facts, path)) {
            return DeleteOutcome::notPlain;
        }
        DispositionInfo disposition{TRUE};
        if (!setInformation(file.Get(), kFileDispositionInfo, &disposition, sizeof disposition)) {
            return DeleteOutcome::failed;
        }
    }
    // The file goes when its handle is closed; a file system that refuses (an immutable file)
    // leaves it there without a word.
    if (!NameIsGone(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return DeleteOutcome::failed;
    }
    return DeleteOutcome::deleted;
}

} // namespace

NameState StateOfName(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return IsAbsenceError(GetLastError()) ? NameState::absent : NameState::other;
    }
    if (attributes & kNotAFile) {
        return NameState::other;
    }
    if (!TellsFinalPaths()) {
        return NameState::plainFile;
    }
    const HandleFacts facts = FactsOf(path);
    return facts.opened && !(facts.attributes & kNotAFile) && FinalPathIs(facts, path)
               ? NameState::plainFile
               : NameState::other;
}

DeleteOutcome DeletePlainFile(const std::string& path) {
    switch (StateOfName(path)) {
    case NameState::absent:
        return DeleteOutcome::deleted;
    case NameState::other:
        return DeleteOutcome::notPlain;
    case NameState::plainFile:
        break;
    }
    if (TellsFinalPaths()) {
        if (SetInformationFunction setInformation = SetInformationService()) {
            return DeleteThroughHandle(path, setInformation);
        }
    }
    // No links to files on these systems: the name checked is the file deleted.
    return DeleteFileA(path.c_str()) ? DeleteOutcome::deleted : DeleteOutcome::failed;
}

FreshName FreeNameForFreshFile(const std::string& path) {
    switch (DeletePlainFile(path)) {
    case DeleteOutcome::deleted:
        return FreshName::free;
    case DeleteOutcome::notPlain:
        return FreshName::taken;
    case DeleteOutcome::failed:
        break;
    }
    return FreshName::stuck;
}

UniqueFileHandle CreateFreshFile(const std::string& path, DWORD access, DWORD share) {
    return UniqueFileHandle(CreateFileA(path.c_str(), access, share, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace fw
