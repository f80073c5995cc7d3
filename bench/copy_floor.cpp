// The platform's floor for copying a tree under Wine: every file read whole and written whole
// with the plain file functions, no window, no checks. Prints "copy_ms <n>".
// Usage: copy_floor <destination> <source>...
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<char> buffer;

void CopyTree(const std::string& from, const std::string& to) {
    DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
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
        return;
    }
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            CopyTree(from + "\\" + name, to + "\\" + name);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: copy_floor <destination> <source>...\n");
        return 2;
    }
    const std::string destination = argv[1];
    CreateDirectoryA(destination.c_str(), nullptr);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 2; i < argc; ++i) {
        std::string source = argv[i];
        CopyTree(source, destination + "\\" + source.substr(source.rfind('\\') + 1));
    }
    QueryPerformanceCounter(&end);
    std::printf("copy_ms %.0f\n",
                static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    return 0;
}
