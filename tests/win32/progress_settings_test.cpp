// The progress window's percentage and bar, and the settings files an installation writes.
#include "ini_value.h"
#include "install/engine/copy_progress_dialog.h"
#include "install/engine/install_settings.h"
#include "install/engine/platform_probes.h"
#include "resources/install/resource.h"
#include "scratch.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

// The progress window's clock: it stands still until a test moves it.
DWORD now = 0;
DWORD WINAPI TestClock() {
    return now;
}

class Progress : public ::testing::Test {
protected:
    void SetUp() override {
        now = 100000;
        ASSERT_TRUE(dialog_.Open(nullptr));
        frame_ = dialog_.GetDlgItem(IDC_PROGRESS_BAR);
        ASSERT_NE(frame_, nullptr);
        GetClientRect(frame_, &client_);
    }
    std::string Percent() { return dialog_.GetItemText(IDC_PROGRESS_PERCENT); }

    CopyProgressDialog dialog_{TestClock};
    HWND frame_ = nullptr;
    RECT client_{};
};

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

} // namespace

TEST_F(Progress, OpensWithItsTitleAndAnEmptyBlackBar) {
    char title[64] = {};
    GetWindowTextA(dialog_.GetSafeHwnd(), title, sizeof title);
    EXPECT_STREQ(title, "Trasferimento");
    dialog_.SetTotal(1000);
    EXPECT_EQ(Percent(), "0%");
    EXPECT_EQ(dialog_.GetItemText(IDC_PROGRESS_CAPTION), "Copia di:");
    EXPECT_EQ(PixelOf(frame_, client_.right / 2, client_.bottom / 2), kBlack);
    EXPECT_TRUE(IsWindowVisible(dialog_.GetDlgItem(IDCANCEL)));
}

TEST_F(Progress, TheBarGrowsWithThePercentage) {
    dialog_.SetTotal(1000);
    dialog_.Advance(500);
    EXPECT_EQ(Percent(), "50%");
    const int middle = client_.bottom / 2;
    const int end = static_cast<int>((client_.right - 2) * 0.5) - 1;
    EXPECT_EQ(PixelOf(frame_, 4, middle), kRed);
    EXPECT_EQ(PixelOf(frame_, end - 2, middle), kRed);
    EXPECT_EQ(PixelOf(frame_, end + 3, middle), kBlack);
    // The bar keeps two pixels of black above and below.
    EXPECT_EQ(PixelOf(frame_, 4, 0), kBlack);
    dialog_.Advance(0);
    EXPECT_EQ(Percent(), "50%");
}

TEST_F(Progress, IgnoredFilesCountOneByteAndTheGroupMayEndShort) {
    dialog_.SetTotal(1000);
    dialog_.Advance(1);
    EXPECT_EQ(Percent(), "0%");
    dialog_.Advance(989);
    EXPECT_EQ(Percent(), "99%");
}

TEST_F(Progress, MoreBytesThanTheTotalPassAHundredAndTheBarStopsAtTheFrame) {
    dialog_.SetTotal(100);
    dialog_.Advance(150);
    EXPECT_EQ(Percent(), "150%");
    const int middle = client_.bottom / 2;
    EXPECT_EQ(PixelOf(frame_, client_.right - 1, middle), kRed);
    RECT frameRect;
    GetWindowRect(frame_, &frameRect);
    HWND dialog = dialog_.GetSafeHwnd();
    POINT beyond = {frameRect.right + 2, (frameRect.top + frameRect.bottom) / 2};
    ScreenToClient(dialog, &beyond);
    EXPECT_NE(PixelOf(dialog, beyond.x, beyond.y), kRed);
}

TEST_F(Progress, ANewTotalStartsTheBarAgain) {
    dialog_.SetTotal(100);
    dialog_.Advance(100);
    dialog_.SetTotal(100);
    EXPECT_EQ(PixelOf(frame_, client_.right / 2, client_.bottom / 2), kBlack);
    dialog_.Advance(30);
    EXPECT_EQ(Percent(), "30%");
    EXPECT_EQ(PixelOf(frame_, 10, client_.bottom / 2), kRed);
}

TEST_F(Progress, FileNamesInQuickSuccessionEndWithTheLatestShownBeforeAnyQuestion) {
    auto shown = [&] { return dialog_.GetItemText(IDC_PROGRESS_FILE); };
    const DWORD interval = CopyProgressDialog::kFileNameIntervalMs;
    dialog_.ShowFileName("primo.bmp");
    EXPECT_EQ(shown(), "primo.bmp"); // the first name at once
    // Names within the interval of the last one painted wait.
    for (int i = 0; i < 200; ++i) {
        now += i == 0 ? interval - 1 : 0;
        dialog_.ShowFileName("tile" + std::to_string(i) + ".bmp");
    }
    EXPECT_EQ(shown(), "primo.bmp");
    // Before a question the latest one is painted.
    dialog_.ShowWaitingFileName();
    EXPECT_EQ(shown(), "tile199.bmp");
    // The interval counts from that painting; once it has passed, the next name is shown at
    // once.
    now += interval - 1;
    dialog_.ShowFileName("attesa.bmp");
    EXPECT_EQ(shown(), "tile199.bmp");
    now += 1;
    dialog_.ShowFileName("dopo.bmp");
    EXPECT_EQ(shown(), "dopo.bmp");
    // Nothing waits for a window that is gone.
    dialog_.ShowFileName("ultimo.bmp");
    dialog_.Release();
    dialog_.ShowWaitingFileName();
}

// The clock of the platform wraps after some 49 days; names go on being painted across it.
TEST_F(Progress, FileNamesAreSpacedAcrossTheWrapOfTheClock) {
    auto shown = [&] { return dialog_.GetItemText(IDC_PROGRESS_FILE); };
    now = 0xFFFFFFFFu - 10;
    dialog_.ShowFileName("prima.bmp");
    now += 20; // past the wrap, within the interval
    dialog_.ShowFileName("durante.bmp");
    EXPECT_EQ(shown(), "prima.bmp");
    now += CopyProgressDialog::kFileNameIntervalMs;
    dialog_.ShowFileName("dopo.bmp");
    EXPECT_EQ(shown(), "dopo.bmp");
}

namespace {

std::uint32_t memoryGiven = 0;
std::uint32_t FakeMemory() {
    return memoryGiven;
}
const PlatformProbes kFakeMemory{PlatformFreeBytes, FakeMemory};

using testfs::IniValue;

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testfs::FreshScratchDir("settings");
        mapSet_ = dir_ + "\\roma.vgr";
        testfs::WriteFile(mapSet_, "[DB_SETTINGS]\r\nNodeMemory=1000,2001\r\n"
                                   "SegMemory=3000000, 6000000\r\nTownMemory=garbage\r\n");
    }

    std::string dir_;
    std::string mapSet_;
};

} // namespace

TEST_F(Settings, MemoryPairsStayOnSmallMachines) {
    memoryGiven = 16777216;
    const std::string before = testfs::ReadFile(mapSet_);
    ScaleDbMemorySettings(mapSet_, kFakeMemory);
    EXPECT_EQ(testfs::ReadFile(mapSet_), before);
    memoryGiven = 33500000;
    ScaleDbMemorySettings(mapSet_, kFakeMemory);
    EXPECT_EQ(testfs::ReadFile(mapSet_), before);
}

TEST_F(Settings, MemoryPairsGrowOnLargerMachinesEveryTimeTheyAreScaled) {
    memoryGiven = 33554432;
    ScaleDbMemorySettings(mapSet_, kFakeMemory);
    EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", "NodeMemory"), "1000,3001");
    EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", "SegMemory"), "3000000,9000000");
    EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", "TownMemory"), "3000000,9000000");
    for (const char* key : {"SegPointMemory", "StreetMemory", "BoroughMemory", "ShireMemory",
                            "CountyMemory", "StateMemory", "NationMemory"}) {
        EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", key), "3000000,9000000") << key;
    }
    ScaleDbMemorySettings(mapSet_, kFakeMemory);
    EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", "NodeMemory"), "1000,4501");
    EXPECT_EQ(IniValue(mapSet_, "DB_SETTINGS", "NationMemory"), "3000000,13500000");
}

TEST_F(Settings, TwoAreasOfOneMapSetListItTwiceAndTheLaterTypeWins) {
    const std::string setup = dir_ + "\\Setup.inf";
    testfs::WriteFile(setup, "[Installazione]\r\nVersione_di_KORVA=3.04\r\nCartine=ROMA.98\r\n"
                             "[ROMA]\r\nVersione_Rete=3.10\r\n");
    const std::string ini = dir_ + "\\korva.ini";
    InstallState state;
    CopyToField(state.setupDescriptionPath, setup);
    CopyToField(state.programDir, "C:\\korva");
    CopyToField(state.sourceDir, "E:\\cd_roma");
    state.installType = 3;
    EXPECT_EQ(WriteInstallSettings(state, ini), 1);
    state.installType = 2;
    WriteInstallSettings(state, ini);

    EXPECT_EQ(IniValue(ini, "Installazione", "Versione_di_KORVA"), "3.04");
    EXPECT_EQ(IniValue(ini, "Installazione", "Directory_di_KORVA"), "C:\\korva");
    EXPECT_EQ(IniValue(ini, "Installazione", "Cartine"), "ROMA,ROMA.");
    EXPECT_EQ(IniValue(ini, "ROMA", "Versione_Rete"), "3.10");
    EXPECT_EQ(IniValue(ini, "ROMA", "Versione_Cartine"), "1.0");
    EXPECT_EQ(IniValue(ini, "ROMA", "Versione_Cataloghi"), "1.0");
    EXPECT_EQ(IniValue(ini, "ROMA", "Tipo_di_installazione"), "2");
    EXPECT_EQ(IniValue(ini, "Paths", "DirOfCD"), "E:\\cd_roma");
    EXPECT_EQ(IniValue(ini, "Patc", "Version"), "3.04");
}

TEST_F(Settings, WithoutASetupDescriptionEverythingTakesItsDefault) {
    const std::string ini = dir_ + "\\korva.ini";
    InstallState state;
    CopyToField(state.setupDescriptionPath, dir_ + "\\missing.inf");
    state.installType = 1;
    WriteInstallSettings(state, ini);
    EXPECT_EQ(IniValue(ini, "Installazione", "Versione_di_KORVA"), "3.0");
    EXPECT_EQ(IniValue(ini, "Installazione", "Cartine"), ".");
    EXPECT_EQ(IniValue(ini, "", "Versione_Rete"), "3.04");
    EXPECT_EQ(IniValue(ini, "", "Tipo_di_installazione"), "1");
}

TEST_F(Settings, TheRecentFileListTakesEveryAreaNewestFirst) {
    const std::string ini = dir_ + "\\korva.ini";
    testfs::WriteFile(ini, "[Recent File List]\r\nFile1=a.vgr\r\nFile2=b.vgr\r\nFile3=c.vgr\r\n"
                           "File4=d.vgr\r\n");
    InstallState state;
    for (const char* name : {"uno", "due", "tre"}) {
        AreaRecord area;
        CopyToField(area.name, name);
        CopyToField(area.dataDir, std::string("c:\\maps\\") + name + "\\");
        state.areas.push_back(area);
    }
    UpdateRecentFileList(state, ini);
    EXPECT_EQ(IniValue(ini, "Recent File List", "File1"), "c:\\maps\\tre\\\\tre.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File2"), "c:\\maps\\due\\\\due.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File3"), "c:\\maps\\uno\\\\uno.vgr");
    EXPECT_EQ(IniValue(ini, "Recent File List", "File4"), "a.vgr");
}
