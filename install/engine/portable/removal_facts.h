// What the platform said about the directories and files a removal would touch, gathered once
// before anything is deleted: the installation directory and the directories above it, every
// directory and ordinary file the removal would enter or delete, and the folders that must
// never be emptied. The judgement (removal_guard.h) decides on this record alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korva {

// What one file or directory is. Where an open handle could be had, its volume and file index;
// its final path (every link, drive alias and network name resolved) where the platform tells
// it, else the resolved long path (Windows 95 opens no directory as a handle and tells no
// final path). Paths in canonical form ("C:\dir", "\\server\share\dir").
struct FileIdentity {
    bool exists = false;
    bool hasIndex = false;
    std::uint32_t volume = 0;
    std::uint64_t index = 0;
    std::string path;
};

// A directory with the directories above it, nearest first, up to the root of its path.
struct DirectoryChain {
    FileIdentity self;
    std::vector<FileIdentity> above;
};

// An ordinary file the listing shows in a directory of the tree.
struct TreeFile {
    std::string place;     // the directory's place and the listed name
    std::string finalPath; // where the name leads; "" when the platform cannot tell
};

// A directory the removal would enter, with what it holds.
struct TreeDirectory {
    std::string place; // the parent's place and the listed name; the installation's own path
    FileIdentity identity;
    bool reparsePoint = false;                 // the attributes say link, junction or mount point
    bool listedAsMountPoint = false;           // the system's mount table lists it
    std::vector<TreeDirectory> subdirectories; // listed only for a directory that is not a link
    std::vector<TreeFile> files;
};

// The folders no removal may touch, and no installation may go into.
struct GuardedFolders {
    // System and shell folders: no directory may be one or hold one. A folder that is a link is
    // there twice, as its own place and as the place it leads to.
    std::vector<DirectoryChain> protectedFolders;
    // The Windows directory and the system directories: nothing inside them either.
    std::vector<FileIdentity> windowsFolders;
    // The running installer's directory: neither it nor a directory above it (its medium).
    DirectoryChain installerDir;
    // The roots of the drives.
    std::vector<FileIdentity> driveRoots;
};

struct RemovalFacts {
    std::string korvaDir;       // "INFO"/"KorvaDir" as korva.ini names it
    DirectoryChain installDir;  // what that names, where it exists
    FileIdentity recordedDir;   // "Installazione"/"Directory_di_KORVA", the installer's own record
    bool markerPresent = false; // "korva.wmf" opens for reading in the installation directory
    bool settingsPlain =
        false; // korva.ini is a plain file (deleting a link would delete its target)
    bool finalPathsKnown = false; // the platform tells the final path of a file
    GuardedFolders guarded;
    TreeDirectory tree; // the installation directory, walked
};

// A destination typed at the installer's prompt, before it is created.
struct DestinationFacts {
    std::string typed;         // the absolute path
    DirectoryChain existing;   // its deepest existing level, with the levels above
    std::string missing;       // the levels below that, still to be created ("" if none)
    bool reparsePoint = false; // of the destination itself, when it exists
    bool listedAsMountPoint = false;
};

} // namespace korva
