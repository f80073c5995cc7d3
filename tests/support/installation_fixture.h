// A fresh copy of the sample CD, an empty destination and no korva.ini for each
// installation scenario, with the checks of the installed settings.
#pragma once

#include "ini_value.h"
#include "tests/support/install_oracle.h"
#include "tests/support/installer_driver.h"
#include "message_boxes.h"
#include "scratch.h"
#include "test_name.h"

#include <gtest/gtest.h>

namespace e2e {

using testfs::IniValue;
using testfs::TestName;

inline const char* kDoneText = "L'installazione è terminata.";
inline const char* kNotCompletedText = "L'installazione di KORVA '98 non è stata completata.";

class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        testfs::DeleteFileIfAny(testfs::KorvaIniPath());
        // Short names: the Windows 95 family's version installation cannot read a source
        // whose full path passes 127 characters.
        cd_ = MakeFullCd(TestName().substr(0, 24));
        destination_ = FreshDestination(TestName().substr(0, 24));
    }
    void TearDown() override { testfs::DeleteFileIfAny(testfs::KorvaIniPath()); }

    InstallExpectation Expect(int type) const {
        InstallExpectation e;
        e.programSourceDir = cd_;
        e.sourceDir = cd_ + "\\cd_ita";
        e.programDir = destination_;
        e.firstAreaType = type;
        e.areas = {"italia", "sicilia"};
        return e;
    }

    // Runs an Italia edition install of the given type to the end; returns the final text.
    std::string InstallItalia(InstallerRun& run, int type) {
        EXPECT_TRUE(run.Start(""));
        EXPECT_TRUE(run.StartEditionAndContinue(kItaliaCommand));
        EXPECT_TRUE(run.AnswerPathPrompt(destination_));
        EXPECT_TRUE(run.ChooseInstallType(type));
        return FinishWithMessage(run);
    }

    // The final message of the run and the end of the program. A completed run asks first
    // whether to create the program group: the answer is `iconAnswer_`.
    std::string FinishWithMessage(InstallerRun& run) {
        HWND box = WaitIconQuestionOrFinalMessage(run);
        if (box && robot::MessageBoxText(box) == kIconQuestion) {
            EXPECT_TRUE(run.AnswerIconQuestion(iconAnswer_));
            box = WaitIconQuestionOrFinalMessage(run);
        }
        std::string text = box ? robot::MessageBoxText(box) : std::string("<no message>");
        if (box) {
            robot::Click(box, IDOK);
        }
        EXPECT_EQ(run.CloseMenuAndWait(), 0);
        return text;
    }

    // The program-group question or a final message ("L'installazione ..."); an earlier
    // question that is still closing is passed over.
    static HWND WaitIconQuestionOrFinalMessage(InstallerRun& run) {
        HWND found = robot::AnswerMessageBoxes(run.Pid(), [](HWND, const std::string& text) {
            return text == kIconQuestion || text.rfind("L'installazione", 0) == 0;
        });
        if (found) {
            robot::Sync(found);
        }
        return found;
    }

    void ExpectMapSetSettings(const std::string& area, int type, bool compensation) {
        const std::string vgr = destination_ + "\\" + area + "\\" + area + ".vgr";
        const std::string areaSource = cd_ + "\\cd_ita\\" + area;
        // Wine reports 2 GB of memory: the pairs are enlarged.
        EXPECT_EQ(IniValue(vgr, "DB_SETTINGS", "NodeMemory"), "3000000,9000000");
        EXPECT_EQ(IniValue(vgr, "DB_SETTINGS", "SegMemory"), "1000,3001");
        EXPECT_EQ(IniValue(vgr, "DB_SETTINGS", "StreetMemory"), "2000000,6000000");
        EXPECT_EQ(IniValue(vgr, "DB_SETTINGS", "NationMemory"), "3000000,9000000");
        EXPECT_EQ(IniValue(vgr, "MAPSET", "Nome"), area);
        EXPECT_EQ(IniValue(vgr, "DISKS", "Disk1"),
                  type == 3 ? destination_ + "\\" + area + "\\cartine" : areaSource + "\\cartine");
        if (type == 1) {
            EXPECT_EQ(IniValue(vgr, "PATHS", "dirOfNet"), areaSource + "\\rete");
            EXPECT_EQ(IniValue(vgr, "PATHS", "dirOfImage"), areaSource + "\\immagini");
            EXPECT_EQ(IniValue(vgr, "PATHS", "dirOfCatalog"), areaSource + "\\catalog");
        } else {
            EXPECT_EQ(IniValue(vgr, "PATHS", "dirOfNet"), "<missing>");
        }
        EXPECT_EQ(IniValue(vgr, "FLAGS", "Compensation"), compensation ? "1" : "<missing>");
    }

    void ExpectKorvaIni(int lastType) {
        const std::string ini = testfs::KorvaIniPath();
        EXPECT_EQ(IniValue(ini, "Installazione", "Versione_di_KORVA"), "3.04");
        EXPECT_EQ(IniValue(ini, "Installazione", "Directory_di_KORVA"), destination_);
        // Two areas of one map set: the set is listed twice.
        EXPECT_EQ(IniValue(ini, "Installazione", "Cartine"), "ITALIA,ITALIA.");
        EXPECT_EQ(IniValue(ini, "ITALIA", "Versione_Rete"), "3.04");
        EXPECT_EQ(IniValue(ini, "ITALIA", "Versione_Cartine"), "2.1");
        EXPECT_EQ(IniValue(ini, "ITALIA", "Versione_Cataloghi"), "1.3");
        EXPECT_EQ(IniValue(ini, "ITALIA", "Tipo_di_installazione"), std::to_string(lastType));
        EXPECT_EQ(IniValue(ini, "Paths", "DirOfCD"), cd_ + "\\cd_ita");
        EXPECT_EQ(IniValue(ini, "Patc", "Version"), "3.04");
        EXPECT_EQ(IniValue(ini, "Records", "Language"), "1");
    }

    std::string cd_;
    std::string destination_;
    int iconAnswer_ = IDNO;
};

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

} // namespace e2e
