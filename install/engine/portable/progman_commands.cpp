#include "install/engine/portable/progman_commands.h"

#include "install/shared/portable/paths.h"

#include <algorithm>

namespace korva {

namespace {

constexpr const char* kGroupTitle = "KORVA";

std::string DeleteItem(std::string_view title) {
    return "[DeleteItem(" + std::string(title) + ")]";
}

// The same file is the item's command line and its icon file.
std::string AddItem(std::string_view path, std::string_view title) {
    const std::string file(path);
    return "[AddItem(" + file + "," + std::string(title) + "," + file + ",0)]";
}

} // namespace

std::string DemoProgramOf(std::string_view programSourceDir) {
    return JoinPath(JoinPath(programSourceDir, "kdemo"), "kdemo.exe");
}

std::vector<std::string> ProgramGroupCommands(const ProgramGroupPlan& plan) {
    const std::string removalTitle = std::string("Rimozione di ") + kGroupTitle;
    std::vector<std::string> commands = {
        std::string("[CreateGroup(\"") + kGroupTitle + "\")]",
        "[ShowGroup(\"korva.grp\")]",
        DeleteItem("KORVA '98 3.04"),
        AddItem(JoinPath(plan.programDir, "korva.exe"), "KORVA '98 3.04"),
        DeleteItem("Guida"),
        AddItem(JoinPath(plan.programDir, "korva.hlp"), "Guida"),
    };
    if (plan.demoPresent) {
        commands.push_back(DeleteItem("Edizioni Korva"));
        commands.push_back(AddItem(DemoProgramOf(plan.programSourceDir), "Edizioni Korva"));
    }
    commands.push_back(DeleteItem(removalTitle));
    commands.push_back(AddItem(JoinPath(plan.programSourceDir, "delkorva.exe"), removalTitle));
    if (plan.editionInstall) {
        commands.push_back(DeleteItem("Installazioni Korva"));
        commands.push_back(
            AddItem(JoinPath(plan.programSourceDir, "setup.exe"), "Installazioni Korva"));
    }
    return commands;
}

std::string DeleteGroupCommand() {
    return std::string("[DeleteGroup(\"") + kGroupTitle + "\")]";
}

std::vector<char> ProgmanCommandBlock(std::string_view command) {
    std::vector<char> block(std::max(kProgmanBlockSize, command.size() + 1), '\0');
    command.copy(block.data(), command.size());
    return block;
}

} // namespace korva
