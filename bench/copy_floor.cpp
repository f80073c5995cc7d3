// The platform's floors for copying a tree under Wine, timed inside the program like the
// installer's run: every file read whole and written whole with the plain file functions
// (the floor of the whole-file copy), or every file given to VerInstallFileA with the flags
// the installer uses on the Windows 95 family (the floor of the version installation). No
// window, no checks. Prints "copy_ms <n>", "files <n>" and, with the Linux process id of
// Wine's server, "cpu_ms <n>": processor time of this program and of the server while it copied.
// Usage: copy_floor [--version-install] [--server-pid <pid>] <destination> <source>...
#include "processor_clock.h"
#include "tests/support/directory_entries.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Method { kWholeFile, kVersionInstall };

std::vector<char> buffer;
long filesCopied = 0;

void CopyWhole(const std::string& from, const std::string& to) {
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD length = GetFileSize(in, nullptr), read = 0, written = 0;
    if (length > buffer.size()) {
        buffer.resize(length);
    }
    ReadFile(in, buffer.data(), length, &read, nullptr);
    WriteFile(out, buffer.data(), read, &written, nullptr);
    CloseHandle(in);
    CloseHandle(out);
}

void VersionInstall(const std::string& fromDir, const std::string& toDir, const std::string& name) {
    char tempName[MAX_PATH] = {};
    UINT tempLength = MAX_PATH;
    std::string source = name, dest = name, sourceDir = fromDir, destDir = toDir;
    VerInstallFileA(VIFF_FORCEINSTALL, source.data(), dest.data(), sourceDir.data(), destDir.data(),
                    nullptr, tempName, &tempLength);
}

void CopyTree(Method method, const std::string& from, const std::string& to) {
    DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (method == Method::kWholeFile) {
            CopyWhole(from, to);
        } else {
            const size_t fromSlash = from.rfind('\\'), toSlash = to.rfind('\\');
            VersionInstall(from.substr(0, fromSlash), to.substr(0, toSlash),
                           from.substr(fromSlash + 1));
        }
        ++filesCopied;
        return;
    }
    CreateDirectoryA(to.c_str(), nullptr);
    for (const WIN32_FIND_DATAA& entry : testfs::DirectoryEntries(from)) {
        CopyTree(method, from + "\\" + entry.cFileName, to + "\\" + entry.cFileName);
    }
}

} // namespace

int main(int argc, char** argv) {
    Method method = Method::kWholeFile;
    int first = 1;
    if (argc > first && std::strcmp(argv[first], "--version-install") == 0) {
        method = Method::kVersionInstall;
        ++first;
    }
    bench::ProcessorClock cpu;
    if (argc > first + 1 && std::strcmp(argv[first], "--server-pid") == 0) {
        cpu.WatchServer(std::strtoul(argv[first + 1], nullptr, 10));
        first += 2;
    }
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: copy_floor [--version-install] [--server-pid <pid>] "
                             "<destination> <source>...\n");
        return 2;
    }
    const std::string destination = argv[first];
    CreateDirectoryA(destination.c_str(), nullptr);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    cpu.Start();
    QueryPerformanceCounter(&start);
    for (int i = first + 1; i < argc; ++i) {
        std::string source = argv[i];
        CopyTree(method, source, destination + "\\" + source.substr(source.rfind('\\') + 1));
    }
    QueryPerformanceCounter(&end);
    std::printf("copy_ms %.0f\nfiles %ld\n",
                static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart,
                filesCopied);
    cpu.Print();
    return 0;
}
