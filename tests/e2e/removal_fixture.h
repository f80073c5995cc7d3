// The fixture of the removal scenarios: an installation by hand (what the removal finds after
// the map program's first start), its settings, the removal started from the CD and its
// message, and listings of everything that could be lost.
#pragma once

#include "closing_fixture.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace e2e {

inline const char* kRemovedText = "KORVA '98 è stato rimosso dal sistema.";
inline const char* kNothingText =
    "Non è stata trovata nessuna installazione di KORVA '98 da rimuovere: "
    "nulla è stato modificato.";

class Removal : public Closing {
protected:
    // Starts the removal from the CD and continues the welcome screen.
    void StartRemoval(InstallerRun& run) {
        ASSERT_TRUE(run.Start("del"));
        HWND welcome = run.WaitWelcome();
        ASSERT_NE(welcome, nullptr);
        ASSERT_TRUE(robot::Click(welcome, IDOK));
    }

    // The removal's message, checked for its caption, and the end of the program.
    static std::string RemovalMessage(DWORD pid) {
        HWND box = robot::WaitForMessageBox(pid, "KORVA '98");
        if (!box) {
            return "<no message>";
        }
        std::string text = robot::MessageBoxText(box);
        EXPECT_EQ(robot::Text(box), kCoverTitle);
        robot::Click(box, IDOK);
        return text;
    }

    // A directory that looks like an installation to the removal, and a group beside it.
    void MakeHandInstallation(bool marker) {
        testfs::MakeDirs(destination_ + "\\sub");
        for (const char* name : {"a.txt", "b.txt", "c.txt", "sub\\x.txt"}) {
            testfs::WriteFile(destination_ + "\\" + name, name);
        }
        if (marker) {
            testfs::WriteFile(destination_ + "\\korva.wmf", "marker");
        }
        testfs::MakeDirs(GroupFolder());
        testfs::WriteFile(GroupFolder() + "\\KORVA '98 3.04.lnk", "item");
    }
    void WriteSettings(const std::string& text) { testfs::WriteFile(testfs::KorvaIniPath(), text); }
    // The settings of an installation: the directory the installer recorded and the one the
    // map program recorded.
    static std::string Settings(const std::string& recorded, const std::string& korvaDir) {
        return "[Installazione]\r\nVersione_di_KORVA=3.04\r\nDirectory_di_KORVA=" + recorded +
               "\r\n[INFO]\r\nKorvaDir=" + korvaDir + "\r\n";
    }
    std::string KorvaDirSettings() const { return Settings(destination_, destination_); }
};

// Every file of drive C: (links listed, not followed), as the whole drive looks to the prefix.
inline std::vector<std::string> DriveListing() {
    return testfs::ListTree("C:");
}

// The entries of `before` that `after` lacks (names compared without regard to case).
inline std::vector<std::string> Missing(const std::vector<std::string>& before,
                                        const std::vector<std::string>& after) {
    const auto folded = [](std::string name) {
        CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
        return name;
    };
    std::unordered_set<std::string> kept;
    for (const std::string& path : after) {
        kept.insert(folded(path));
    }
    std::vector<std::string> missing;
    for (const std::string& path : before) {
        if (!kept.contains(folded(path))) {
            missing.push_back(path);
        }
    }
    return missing;
}

} // namespace e2e
