#include "install/launcher/portable/launcher_logic.h"

#include "install/shared/portable/paths.h"
#include "resources/install/resource.h"

namespace korva {

StartupCommand ParseCommandLine(std::string_view commandLine) {
    StartupCommand command;
    command.removeMode = commandLine == "del";
    command.autorun = commandLine == "autorun" || commandLine == "AUTORUN";
    return command;
}

namespace {
constexpr EditionEntry kEditions[] = {
    {IDC_EDITION_MILANO, "milano", "cd_euro", false},
    {IDC_EDITION_ITALIA, "italia", "cd_ita", false},
    {IDC_EDITION_EUROPA, "europa", "cd_euro", true},
    {IDC_EDITION_TORINO, "torino", "cd_tori", false},
    {IDC_EDITION_ROMA, "roma", "cd_roma", false},
};
} // namespace

const EditionEntry* FindEdition(int commandId) {
    for (const EditionEntry& edition : kEditions) {
        if (edition.commandId == commandId) {
            return &edition;
        }
    }
    return nullptr;
}

bool IsEditionAbsent(std::string_view presence) {
    return !presence.empty() && presence[0] == '0';
}

std::string ResolveFirstDir(std::string_view installerDir, std::string_view firstDir) {
    if (!firstDir.empty() && firstDir[0] == '\\') {
        std::string path(installerDir);
        path.append(firstDir);
        return path;
    }
    if (firstDir.empty() || HasDriveLetter(firstDir)) {
        return std::string(firstDir);
    }
    // A bare directory name ("cd_ita", the default of a CD without its launcher file) is the
    // CD's: the installer is started from anywhere.
    return JoinPath(installerDir, firstDir);
}

std::string SetvarsPath(std::string_view installerDir) {
    return JoinPath(installerDir, "setvars.inf");
}

std::string FilmFilePath(std::string_view installerDir, std::string_view film) {
    return JoinPath(JoinPath(installerDir, "film"), film);
}

std::string FilmPlayerPath(std::string_view installerDir) {
    return FilmFilePath(installerDir, "ziziraz.exe");
}

std::string FilmPlayerCommand(std::string_view installerDir, std::string_view film) {
    std::string command = FilmFilePath(installerDir, "ziziraz");
    command.push_back(' ');
    command.append(film);
    return command;
}

std::string DemoProgramPath(std::string_view installerDir) {
    return JoinPath(JoinPath(installerDir, "kdemo"), "kdemo.exe");
}

unsigned FinalMessageId(const CoverOutcome& outcome) {
    if (!outcome.welcomeAccepted) {
        return 0;
    }
    if (outcome.removeMode) {
        return outcome.result ? IDS_REMOVAL_DONE : IDS_REMOVAL_NOTHING;
    }
    if (outcome.result == 0) {
        return IDS_INSTALL_NOT_COMPLETED;
    }
    if (outcome.doneMessageMode) {
        return IDS_DONE;
    }
    return outcome.incompatibleWindows ? IDS_DONE_INCOMPATIBLE : IDS_DONE_RESTART;
}

} // namespace korva
