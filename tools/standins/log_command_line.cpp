// Stand-in for an outside program of the CD (film player, demonstration, map program):
// appends its command line to a log file and exits. The log lies next to the program, or,
// when KORVA_STANDIN_LOGS names a directory, there: a program started from a disc in a
// CD-ROM drive cannot write beside itself, and must not try.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char logPath[MAX_PATH + 8] = {};
    DWORD length = GetModuleFileNameA(nullptr, logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    char* dot = std::strrchr(logPath, '.');
    char* slash = std::strrchr(logPath, '\\');
    if (!dot || (slash && dot < slash)) {
        dot = logPath + length;
    }
    std::strcpy(dot, ".log");

    char logDir[MAX_PATH] = {};
    const DWORD dirLength = GetEnvironmentVariableA("KORVA_STANDIN_LOGS", logDir, MAX_PATH);
    if (dirLength > 0 && dirLength < MAX_PATH && slash) {
        char elsewhere[MAX_PATH + 8] = {};
        const size_t nameLength = std::strlen(slash);
        if (dirLength + nameLength >= sizeof elsewhere) {
            return 1;
        }
        std::memcpy(elsewhere, logDir, dirLength);
        std::memcpy(elsewhere + dirLength, slash, nameLength + 1);
        std::memcpy(logPath, elsewhere, sizeof logPath);
    }

    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    WriteFile(log, commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written, nullptr);
    WriteFile(log, "\r\n", 2, &written, nullptr);
    CloseHandle(log);
    return 0;
}
