// Decisions of the launcher that need no operating system: the command line, the edition
// table of the main menu, the description-file values and the final message of a run.
#pragma once

#include <string>
#include <string_view>

namespace korva {

struct StartupCommand {
    bool removeMode = false; // "del": a removal run
    bool autorun = false;    // "autorun" or "AUTORUN": end at once when installed
};

// The whole command line is compared byte for byte; no other form is recognised.
StartupCommand ParseCommandLine(std::string_view commandLine);

struct EditionEntry {
    int commandId;
    const char* areaKey;
    const char* defaultFirstDir;
    bool filmOfferFirst;
};

// The edition started by a main-menu command, or nullptr for any other command.
const EditionEntry* FindEdition(int commandId);

// "Presence": a value beginning with the digit 0 means the edition is not on this CD.
bool IsEditionAbsent(std::string_view presence);

// "FirstDir": a value beginning with a backslash, or a relative one without a drive, is
// taken in the installer's directory; a value with a drive letter, or none, is used
// unchanged.
std::string ResolveFirstDir(std::string_view installerDir, std::string_view firstDir);

// Files and command lines of the demonstration programs on the CD.
std::string SetvarsPath(std::string_view installerDir);
std::string FilmFilePath(std::string_view installerDir, std::string_view film);
std::string FilmPlayerPath(std::string_view installerDir);
std::string FilmPlayerCommand(std::string_view installerDir, std::string_view film);
std::string DemoProgramPath(std::string_view installerDir);

// How a cover-window run ended, and the message it ends with.
struct CoverOutcome {
    bool welcomeAccepted = false;
    bool removeMode = false;
    int result = 0; // 1 installed/removed, 0 abandoned or nothing removed
    int doneMessageMode = 1;
    int incompatibleWindows = 0;
};

// String-table number of the final message, or 0 for none.
unsigned FinalMessageId(const CoverOutcome& outcome);

} // namespace korva
