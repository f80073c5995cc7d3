// The Program Manager commands of the product's group: their texts, their order, the
// conditions of the optional items, and the block each command travels in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korva {

// Service and topic of the shell's command interface.
constexpr const char* kProgmanService = "PROGMAN";
constexpr const char* kProgmanTopic = "PROGMAN";
// A command travels in a block of this many bytes.
constexpr std::size_t kProgmanBlockSize = 100;

struct ProgramGroupPlan {
    std::string programDir;
    std::string programSourceDir;
    bool demoPresent = false;    // the demonstration program can be read on the source
    bool editionInstall = false; // started from an edition entry of the menu
};

// The demonstration program below a program source: <dir>\kdemo\kdemo.exe.
std::string DemoProgramOf(std::string_view programSourceDir);

// The commands that create the group and its items, in the order they are sent. Every
// item is deleted before it is added, so a second installation replaces the items.
std::vector<std::string> ProgramGroupCommands(const ProgramGroupPlan& plan);

// The command the removal sends.
std::string DeleteGroupCommand();

// The bytes a command travels in: the text and its terminator in a block of
// kProgmanBlockSize bytes, the rest zero. A command too long for that block travels whole,
// terminator included, in a block of its own length rather than cut.
std::vector<char> ProgmanCommandBlock(std::string_view command);

} // namespace korva
