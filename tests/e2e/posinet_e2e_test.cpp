// posinet as the map program meets it: the real program from the sample CD, a real DDEML
// client in this process, a window of this process that receives the commands, and the map
// viewer with its log.
#include "tests/support/dde_test_client.h"
#include "tests/support/posinet_cycles.h"
#include "tests/support/posinet_driver.h"
#include "tests/support/posinet_load.h"
#include "scratch.h"

#include "posinet/portable/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

using namespace e2e;

namespace {

constexpr WORD kGotoPoint = 32771;
constexpr WORD kFollowElement = 32772;
constexpr WORD kAppAbout = 0xE140;
constexpr WORD kAppExit = 0xE141;
constexpr int kLongitudeEdit = 1000;
constexpr int kLatitudeEdit = 1001;
constexpr int kElementEdit = 1002;
const char* kFollowText = "Inserire il numero d'ordine dell'elemento";

std::string Item(int element) {
    return "Element" + std::to_string(element);
}

korva::PositionRecord Decode(const std::vector<uint8_t>& bytes) {
    auto record = korva::DecodePositionRecord(bytes.data(), bytes.size());
    EXPECT_TRUE(record.has_value());
    return record.value_or(korva::PositionRecord{0, 0xFFFF, 0, 0});
}

// The number of tenth-of-a-second steps of one heading between two positions; -1 when the
// offset is not such a straight run.
int StepsBetween(int32_t fromLongitude, int32_t fromLatitude, int32_t toLongitude,
                 int32_t toLatitude) {
    const int32_t dLongitude = toLongitude - fromLongitude;
    const int32_t dLatitude = toLatitude - fromLatitude;
    if (dLongitude != 0 && dLatitude != 0) {
        return -1;
    }
    const int32_t distance = std::abs(dLongitude + dLatitude);
    return distance % 100 == 0 ? distance / 100 : -1;
}

bool IsHeading(int32_t stepLongitude, int32_t stepLatitude) {
    return (stepLongitude == 0 && std::abs(stepLatitude) == 100) ||
           (stepLatitude == 0 && std::abs(stepLongitude) == 100);
}

// The colour on the screen at a point of a window's client area.
COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

class Posinet : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(posinet.Start()); }
    void TearDown() override {
        if (posinet.ExitCode() == -1) {
            EXPECT_EQ(posinet.Close(), 0);
        }
    }

    PosinetRun posinet;
};

} // namespace

TEST_F(Posinet, TheCaptionBecomesPosinetAtTheFirstPaintOnly) {
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::Text(posinet.Frame()) == "Posinet"; }));
    SendMessageTimeoutA(posinet.Frame(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Altro"),
                        SMTO_ABORTIFHUNG, 3000, nullptr);
    RedrawWindow(posinet.Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    robot::Sync(posinet.Frame());
    EXPECT_TRUE(robot::HoldsFor(
        [&] {
            robot::Sync(posinet.Frame());
            return robot::Text(posinet.Frame()) == "Altro";
        },
        500));
    EXPECT_NE(posinet.View(), nullptr);
}

TEST_F(Posinet, ConnectionsAreAcceptedOnlyForPosinetPosizioni) {
    DdeTestClient client;
    ASSERT_TRUE(client.Initialized());
    EXPECT_FALSE(client.Connect("Posinet", "Altro"));
    EXPECT_FALSE(client.Connect("Posinet", "Tutti"));
    EXPECT_FALSE(client.Connect("Posinet", nullptr));
    EXPECT_FALSE(client.Connect(nullptr, "Posizioni"));
    EXPECT_FALSE(client.Connect(nullptr, nullptr));
    EXPECT_FALSE(client.Connect("Altro", "Posizioni"));
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));

    // Executes and pokes are not processed; names that are no element item get no data.
    EXPECT_FALSE(client.Execute("[Segui(3)]"));
    EXPECT_FALSE(client.Poke("Element0", "07.39.45.281"));
    for (const char* item : {"Tutti", "Element10", "Element", "Elemento1", "Element-1"}) {
        EXPECT_FALSE(client.Request(item)) << item;
        EXPECT_FALSE(client.StartAdvise(item)) << item;
    }
    // The service goes on serving; a link can be ended.
    auto bytes = client.Request("Element0");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 12u);
    ASSERT_TRUE(client.StartAdvise("Element0"));
    // Right after a datum, so that no datum of the link comes while the stop is under way.
    ASSERT_TRUE(client.PumpUntil([&] { return !client.Data().empty(); }, 3000));
    EXPECT_TRUE(client.StopAdvise("Element0"));
    client.ClearData();
    EXPECT_TRUE(client.PumpWhileHolds([&] { return client.Data().empty(); }, 700));
    EXPECT_TRUE(client.Request("Element0"));
    EXPECT_EQ(posinet.ExitCode(), -1);
}

TEST_F(Posinet, RequestBeforeAnyLinkGivesTheTwelveByteRecord) {
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    for (UINT format : {129u, static_cast<UINT>(CF_TEXT)}) {
        auto bytes = client.Request("Element3", format);
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), 12u);
        EXPECT_EQ((*bytes)[0], 1);
        EXPECT_EQ((*bytes)[1], 0);
        EXPECT_EQ((*bytes)[2], 3);
        EXPECT_EQ((*bytes)[3], 0);
        const korva::PositionRecord record = Decode(*bytes);
        // Nothing moved before the connection; the timer it started may have run once since.
        const int steps = StepsBetween(BuiltInStart(3).longitude, BuiltInStart(3).latitude,
                                       record.longitude, record.latitude);
        EXPECT_GE(steps, 0);
        EXPECT_LE(steps, 1);
    }
}

TEST_F(Posinet, AdviseStartGivesAnImmediateDatumOneStepFurther) {
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    const korva::PositionRecord before =
        Decode(client.Request("Element0").value_or(std::vector<uint8_t>{}));
    EXPECT_EQ(before.longitude, BuiltInStart(0).longitude);
    EXPECT_EQ(before.latitude, BuiltInStart(0).latitude);

    ASSERT_TRUE(client.StartAdvise("Element0"));
    // The extra tick was posted before this request reached posinet: it has run.
    const korva::PositionRecord after =
        Decode(client.Request("Element0").value_or(std::vector<uint8_t>{}));
    EXPECT_TRUE(IsHeading(after.longitude - before.longitude, after.latitude - before.latitude))
        << after.longitude - before.longitude << " " << after.latitude - before.latitude;

    ASSERT_TRUE(client.PumpUntil([&] { return !client.Data().empty(); }, 3000));
    const DdeTestClient::Datum& first = client.Data().front();
    EXPECT_EQ(first.item, "Element0");
    EXPECT_EQ(first.format, 129u);
    const korva::PositionRecord datum = Decode(first.bytes);
    EXPECT_EQ(datum.kind, 1);
    EXPECT_EQ(datum.element, 0);
    EXPECT_EQ(datum.longitude, after.longitude);
    EXPECT_EQ(datum.latitude, after.latitude);
}

TEST_F(Posinet, TenLinksReceiveTenDataPerCycleInElementOrder) {
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(client.StartAdvise(Item(i))) << i;
    }
    // Ten cycles since the last link started: each of them ends with the last element.
    constexpr size_t kCycles = 10;
    ASSERT_TRUE(client.PumpUntil(
        [&] {
            return static_cast<size_t>(std::count_if(client.Data().begin(), client.Data().end(),
                                                     [](const DdeTestClient::Datum& datum) {
                                                         return datum.item == Item(9);
                                                     })) >= kCycles;
        },
        kCycles * 1000));

    // Every tick publishes the linked items in element order: the data are runs 0, 1, 2 ...
    // The runs of the ticks while the links were being started are shorter.
    std::vector<std::vector<korva::PositionRecord>> cycles;
    std::vector<DWORD> cycleStarts;
    for (const DdeTestClient::Datum& datum : client.Data()) {
        korva::PositionRecord record = Decode(datum.bytes);
        ASSERT_EQ(datum.item, Item(record.element));
        if (record.element == 0) {
            cycles.emplace_back();
            cycleStarts.push_back(datum.tick);
        }
        ASSERT_FALSE(cycles.empty());
        ASSERT_EQ(record.element, cycles.back().size()) << "datum out of element order";
        cycles.back().push_back(record);
    }
    size_t firstFull = 0;
    while (firstFull < cycles.size() && cycles[firstFull].size() < 10) {
        ++firstFull;
    }
    ASSERT_LT(firstFull, cycles.size());
    size_t fullCycles = 0;
    for (size_t c = firstFull; c < cycles.size(); ++c) {
        if (c + 1 < cycles.size()) {
            EXPECT_EQ(cycles[c].size(), 10u) << "cycle " << c;
        }
        fullCycles += cycles[c].size() == 10 ? 1 : 0;
    }
    // About one cycle per 300 ms, from the first timer tick after the extra tick of the
    // last link on.
    EXPECT_GE(fullCycles, kCycles);
    ASSERT_GE(cycles.size(), firstFull + 3);
    const size_t from = firstFull + 1;
    const DWORD period = (cycleStarts.back() - cycleStarts[from]) /
                         static_cast<DWORD>(cycleStarts.size() - 1 - from);
    std::printf("%zu full cycles of ten data, one every %lu ms\n", fullCycles,
                static_cast<unsigned long>(period));
    EXPECT_GE(period, 200u);
    EXPECT_LE(period, 500u);

    // Each element moves by its own step, one heading, from one cycle to the next.
    for (int i = 0; i < 10; ++i) {
        const int32_t stepLongitude =
            cycles[firstFull + 1][i].longitude - cycles[firstFull][i].longitude;
        const int32_t stepLatitude =
            cycles[firstFull + 1][i].latitude - cycles[firstFull][i].latitude;
        EXPECT_TRUE(IsHeading(stepLongitude, stepLatitude)) << "element " << i;
        for (size_t c = firstFull + 1; c < cycles.size(); ++c) {
            if (i < static_cast<int>(cycles[c].size())) {
                EXPECT_EQ(cycles[c][i].longitude - cycles[c - 1][i].longitude, stepLongitude);
                EXPECT_EQ(cycles[c][i].latitude - cycles[c - 1][i].latitude, stepLatitude);
            }
        }
    }
}

TEST_F(Posinet, SeveralClientsLinkedToTheSameItemsEachReceiveEveryDatum) {
    LinkedClients clients;
    ASSERT_TRUE(clients.Add(3, 10000))
        << (clients.Failed() ? clients.Failed()->failure : "a client took too long");
    // Six cycles' worth of data each; the first of them may come in part.
    ASSERT_TRUE(clients.WaitForLinkedData(6 * 10, 10000));
    clients.Stop();
    for (size_t c = 0; c < clients.Count(); ++c) {
        const LinkedClients::Client& client = clients.At(c);
        const CycleRun run = CheckCycles(client.data, client.firstLinkedDatum);
        EXPECT_EQ(run.fault, "") << "client " << c;
        EXPECT_GE(run.completeCycles, 4u) << "client " << c;
    }
}

TEST_F(Posinet, AfterADisconnectionTheElementsMoveOnForTheNextClient) {
    korva::PositionRecord last;
    {
        DdeTestClient client;
        ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
        ASSERT_TRUE(client.StartAdvise("Element3"));
        ASSERT_TRUE(client.PumpUntil([&] { return client.Data().size() >= 2; }, 3000));
        last = Decode(client.Data().back().bytes);
        client.Disconnect();
    }
    // The time with nobody connected is what is tested: there is nothing to wait for.
    constexpr DWORD kUnconnectedMs = 1000;
    Sleep(kUnconnectedMs);
    DdeTestClient later;
    ASSERT_TRUE(later.Connect("Posinet", "Posizioni"));
    const korva::PositionRecord now =
        Decode(later.Request("Element3").value_or(std::vector<uint8_t>{}));
    const int steps = StepsBetween(last.longitude, last.latitude, now.longitude, now.latitude);
    EXPECT_GE(steps, 2) << "the elements stood still while nobody was connected";
    EXPECT_LE(steps, 6);
}

TEST_F(Posinet, ArrowKeysMoveOnlyElementZeroAndTheNextTickPublishesIt) {
    // Before any connection: timer messages move nothing, the keys move element 0.
    for (int i = 0; i < 5; ++i) {
        PostMessageA(posinet.Frame(), WM_TIMER, 2, 0);
    }
    for (UINT key :
         std::initializer_list<UINT>{VK_RIGHT, VK_RIGHT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_DOWN,
                                     VK_UP, static_cast<UINT>('A'), VK_UP}) {
        ASSERT_TRUE(posinet.PressKey(key));
    }
    robot::Sync(posinet.Frame());

    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    korva::PositionRecord requested[10];
    for (int i = 0; i < 10; ++i) {
        requested[i] = Decode(client.Request(Item(i)).value_or(std::vector<uint8_t>{}));
    }
    EXPECT_EQ(requested[0].longitude, BuiltInStart(0).longitude + 2000);
    EXPECT_EQ(requested[0].latitude, BuiltInStart(0).latitude + 1000);
    for (int i = 1; i < 10; ++i) {
        EXPECT_EQ(requested[i].longitude, BuiltInStart(i).longitude) << i;
        EXPECT_EQ(requested[i].latitude, BuiltInStart(i).latitude) << i;
    }

    // Linked: two presses to the right between two ticks show in the next datum only.
    ASSERT_TRUE(client.StartAdvise("Element0"));
    ASSERT_TRUE(client.PumpUntil([&] { return client.Data().size() >= 3; }, 3000));
    const korva::PositionRecord a = Decode(client.Data()[client.Data().size() - 2].bytes);
    const korva::PositionRecord b = Decode(client.Data().back().bytes);
    const int32_t stepLongitude = b.longitude - a.longitude;
    const int32_t stepLatitude = b.latitude - a.latitude;
    ASSERT_TRUE(IsHeading(stepLongitude, stepLatitude));

    ASSERT_TRUE(posinet.PressKey(VK_RIGHT));
    ASSERT_TRUE(posinet.PressKey(VK_RIGHT));
    const size_t seen = client.Data().size();
    ASSERT_TRUE(client.PumpUntil([&] { return client.Data().size() >= seen + 2; }, 3000));
    const korva::PositionRecord nudged = Decode(client.Data()[seen].bytes);
    const korva::PositionRecord next = Decode(client.Data()[seen + 1].bytes);
    EXPECT_EQ(nudged.longitude - b.longitude, stepLongitude + 2000);
    EXPECT_EQ(nudged.latitude - b.latitude, stepLatitude);
    EXPECT_EQ(next.longitude - nudged.longitude, stepLongitude);
    EXPECT_EQ(next.latitude - nudged.latitude, stepLatitude);
}

TEST_F(Posinet, GotoPointWithoutATargetWindowShowsNothing) {
    // No client at all.
    EXPECT_TRUE(posinet.SendCommand(kGotoPoint));
    EXPECT_TRUE(posinet.SendCommand(kFollowElement));
    // A client with no window of its own.
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    ASSERT_TRUE(client.Request("Element0"));
    ASSERT_TRUE(client.StartAdvise("Element1"));
    // The commands returned at once: no modal dialog ran.
    EXPECT_TRUE(posinet.SendCommand(kGotoPoint));
    EXPECT_TRUE(posinet.SendCommand(kFollowElement));
    robot::WindowQuery dialogs;
    dialogs.processId = posinet.Pid();
    dialogs.className = "#32770";
    EXPECT_TRUE(robot::FindWindows(dialogs).empty());
}

TEST_F(Posinet, GotoPointSendsTheTypedPointToTheClientsWindow) {
    CopyDataWindow target;
    ASSERT_NE(target.Handle(), nullptr);
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    // A tick (element 0 has moved) records posinet's own window as the sender.
    ASSERT_TRUE(client.PumpUntil(
        [&] {
            const korva::PositionRecord now =
                Decode(client.Request("Element0").value_or(std::vector<uint8_t>{}));
            return now.longitude != BuiltInStart(0).longitude ||
                   now.latitude != BuiltInStart(0).latitude;
        },
        3000));

    // Cancel sends nothing.
    ASSERT_TRUE(posinet.PostCommand(kGotoPoint));
    HWND dialog = posinet.WaitDialog("Vai al punto");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(robot::ItemText(dialog, IDCANCEL), "Annulla");
    robot::Click(dialog, IDCANCEL);
    ASSERT_TRUE(robot::WaitForWindowGone(dialog));
    EXPECT_TRUE(client.PumpWhileHolds([&] { return target.ReceivedBlocks().empty(); }, 300));

    ASSERT_TRUE(posinet.PostCommand(kGotoPoint));
    dialog = posinet.WaitDialog("Vai al punto");
    ASSERT_NE(dialog, nullptr);
    const std::string labels = robot::StaticTexts(dialog);
    EXPECT_NE(labels.find("Longitudine:"), std::string::npos);
    EXPECT_NE(labels.find("Latitudine:"), std::string::npos);
    EXPECT_EQ(robot::ItemText(dialog, kLongitudeEdit), "");
    EXPECT_EQ(robot::ItemText(dialog, kLatitudeEdit), "");
    EXPECT_EQ(robot::ItemText(dialog, IDOK), "OK");
    DWORD_PTR limit = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, kLongitudeEdit), EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG,
                        3000, &limit);
    EXPECT_EQ(limit, 35u);
    // The application's light grey, not the system's dialog colour.
    EXPECT_EQ(ScreenPixel(dialog, 3, 3), RGB(192, 192, 192));
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    ASSERT_TRUE(robot::SetItemText(dialog, kLongitudeEdit, "07.39.45.281"));
    ASSERT_TRUE(robot::SetItemText(dialog, kLatitudeEdit, "45.04.47.500"));
    robot::Click(dialog, IDOK);
    ASSERT_TRUE(client.PumpUntil([&] { return !target.ReceivedBlocks().empty(); }, 5000));

    const CopyDataWindow::Received& received = target.ReceivedBlocks().front();
    EXPECT_EQ(received.dwData, 0u);
    EXPECT_EQ(reinterpret_cast<HWND>(received.sender), posinet.Frame());
    const std::vector<uint8_t> expected = {0x00, 0x20, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01,
                                           0xeb, 0xa4, 0x01, 0x8c, 0x4f, 0xac, 0x09, 0x00, 0x00};
    EXPECT_EQ(received.bytes, expected);
    auto block = korva::DecodeGotoPointBlock(received.bytes.data(), received.bytes.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->command.longitude, 27585281);
    EXPECT_EQ(block->command.latitude, 162287500);

    // Only the first 35 characters of a field count, however the text got there.
    ASSERT_TRUE(posinet.PostCommand(kGotoPoint));
    dialog = posinet.WaitDialog("Vai al punto");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(robot::SetItemText(dialog, kLongitudeEdit, std::string(34, ' ') + "75"));
    ASSERT_TRUE(robot::SetItemText(dialog, kLatitudeEdit, "45.04.47.5"));
    robot::Click(dialog, IDOK);
    ASSERT_TRUE(client.PumpUntil([&] { return target.ReceivedBlocks().size() == 2; }, 5000));
    block = korva::DecodeGotoPointBlock(target.ReceivedBlocks()[1].bytes.data(),
                                        target.ReceivedBlocks()[1].bytes.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->command.longitude, 7 * 3600000);
    EXPECT_EQ(block->command.latitude, 162287005);
}

TEST_F(Posinet, FollowElementSendsTheChosenElementAndRefusesOtherNumbers) {
    CopyDataWindow target;
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    ASSERT_TRUE(client.StartAdvise("Element4"));
    ASSERT_TRUE(client.PumpUntil([&] { return !client.Data().empty(); }, 3000));

    ASSERT_TRUE(posinet.PostCommand(kFollowElement));
    HWND dialog = posinet.WaitDialog("", kFollowText);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(robot::ItemText(dialog, IDCANCEL), "Cancel");

    for (const char* wrong : {"12", "x", ""}) {
        ASSERT_TRUE(robot::SetItemText(dialog, kElementEdit, wrong));
        robot::Click(dialog, IDOK);
        HWND box = robot::WaitForMessageBox(posinet.Pid(), "compreso tra 0 e 9");
        ASSERT_NE(box, nullptr) << wrong;
        EXPECT_EQ(robot::Text(box), "Posinet");
        robot::Click(box, IDOK);
        ASSERT_TRUE(robot::WaitForWindowGone(box));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays for a correction";
    }
    ASSERT_TRUE(robot::SetItemText(dialog, kElementEdit, "4"));
    robot::Click(dialog, IDOK);
    ASSERT_TRUE(client.PumpUntil([&] { return !target.ReceivedBlocks().empty(); }, 5000));
    ASSERT_EQ(target.ReceivedBlocks().size(), 1u);
    const std::vector<uint8_t>& bytes = target.ReceivedBlocks().front().bytes;
    ASSERT_EQ(bytes.size(), 18u);
    auto block = korva::DecodeGotoPointBlock(bytes.data(), bytes.size());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->status, 0x2000);
    EXPECT_EQ(block->format, 1);
    EXPECT_EQ(block->command.kind, 3);
    EXPECT_EQ(block->command.element, 4);
    EXPECT_EQ(block->trailer, 0);
    // The element's position at that moment.
    ASSERT_FALSE(client.Data().empty());
    const korva::PositionRecord latest = Decode(client.Data().back().bytes);
    const int steps = StepsBetween(block->command.longitude, block->command.latitude,
                                   latest.longitude, latest.latitude);
    EXPECT_GE(steps, 0);
    EXPECT_LE(steps, 2);
}

TEST_F(Posinet, AboutBoxAndExitFromTheMenu) {
    ASSERT_TRUE(posinet.PostCommand(kAppAbout));
    HWND about = posinet.WaitDialog("About Posinet");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(robot::StaticTexts(about).find("Posinet"), std::string::npos);
    robot::Click(about, IDOK);
    ASSERT_TRUE(robot::WaitForWindowGone(about));

    // Exit while a client is linked: the program ends cleanly and the service is gone.
    DdeTestClient client;
    ASSERT_TRUE(client.Connect("Posinet", "Posizioni"));
    ASSERT_TRUE(client.StartAdvise("Element5"));
    ASSERT_TRUE(posinet.PostCommand(kAppExit));
    long code = -1;
    ASSERT_TRUE(client.PumpUntil([&] { return (code = posinet.ExitCode()) != -1; }, 10000));
    EXPECT_EQ(code, 0);
    DdeTestClient after;
    EXPECT_FALSE(after.Connect("Posinet", "Posizioni"));
}

TEST_F(Posinet, ResourcesCarryTheMenuAndTheCommandPrompts) {
    const std::string program = testfs::SampleCd() + "\\POSINET.EXE";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    char text[256] = {};
    ASSERT_GT(LoadStringA(module, kGotoPoint, text, sizeof text), 0);
    EXPECT_STREQ(text, "Posiziona la cartina di Vantrel ");
    ASSERT_GT(LoadStringA(module, kFollowElement, text, sizeof text), 0);
    EXPECT_STREQ(text, "Ordina a Vantrel di seguire un elemento");
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(2));
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        items.push_back(text);
        HMENU popup = GetSubMenu(menu, i);
        for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
            GetMenuStringA(popup, j, text, sizeof text, MF_BYPOSITION);
            items.push_back(std::string(" ") + text + "=" +
                            std::to_string(GetMenuItemID(popup, j)));
        }
    }
    const std::vector<std::string> expected = {"&File",
                                               " E&xit=57665",
                                               "&Comandi per KorvaVANTREL",
                                               " &Vai a punto=32771",
                                               " &Segui elemento=32772",
                                               "&Help",
                                               " &About Posinet...=57664"};
    EXPECT_EQ(items, expected);
    DestroyMenu(menu);
    FreeLibrary(module);
}

TEST(PosinetMapView, TheMapViewerFollowsTheElementsAndReceivesThePoint) {
    PosinetRun posinet;
    ASSERT_TRUE(posinet.Start());
    const std::string dir = testfs::FreshScratchDir("mapview");
    const std::string log = dir + "\\mapview.log";
    MapViewRun mapview;
    ASSERT_TRUE(mapview.Start(log));

    // About three seconds of data from the first one on.
    auto dataLines = [&] {
        std::vector<std::string> lines;
        for (const std::string& line : testfs::ReadLines(log)) {
            if (line.rfind("D ", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    };
    // Ten cycles: ten data of the last element.
    ASSERT_TRUE(robot::WaitUntil([&] {
        const std::vector<std::string> lines = dataLines();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                   return line.find(" Element9 ") != std::string::npos;
               }) >= 10;
    }));

    // "D tick item size kind element longitude latitude", in element order 0 to 9 per tick.
    std::map<int, std::vector<std::pair<int32_t, int32_t>>> track;
    int expectedElement = -1;
    int cycles = 0;
    for (const std::string& line : dataLines()) {
        std::istringstream fields(line.substr(2));
        unsigned long tick = 0;
        std::string item;
        unsigned size = 0, kind = 0, element = 0;
        long longitude = 0, latitude = 0;
        fields >> tick >> item >> size >> kind >> element >> longitude >> latitude;
        ASSERT_EQ(size, 12u) << line;
        ASSERT_EQ(kind, 1u) << line;
        ASSERT_EQ(item, Item(static_cast<int>(element))) << line;
        if (element == 0) {
            ++cycles;
        } else if (expectedElement >= 0) {
            EXPECT_EQ(static_cast<int>(element), expectedElement) << line;
        }
        expectedElement = static_cast<int>(element) + 1;
        track[static_cast<int>(element)].emplace_back(longitude, latitude);
    }
    EXPECT_GE(cycles, 8);
    ASSERT_EQ(track.size(), 10u);
    for (auto& [element, positions] : track) {
        // The first data came while the links were being started; the rest one step apart.
        for (size_t n = 2; n < positions.size(); ++n) {
            EXPECT_TRUE(IsHeading(positions[n].first - positions[n - 1].first,
                                  positions[n].second - positions[n - 1].second))
                << "element " << element << " datum " << n;
        }
    }

    // The viewer is the client: "Vai a punto" reaches its main window.
    ASSERT_TRUE(posinet.PostCommand(kGotoPoint));
    HWND dialog = posinet.WaitDialog("Vai al punto");
    ASSERT_NE(dialog, nullptr);
    robot::SetItemText(dialog, kLongitudeEdit, "07.39.45.281");
    robot::SetItemText(dialog, kLatitudeEdit, "45.04.47.500");
    robot::Click(dialog, IDOK);
    std::string commandLine;
    ASSERT_TRUE(robot::WaitUntil([&] {
        for (const std::string& line : testfs::ReadLines(log)) {
            if (line.rfind("C ", 0) == 0) {
                commandLine = line;
            }
        }
        return !commandLine.empty();
    }));
    EXPECT_NE(commandLine.find(" 0 18 002001000200000001eba4018c4fac090000"), std::string::npos)
        << commandLine;

    EXPECT_EQ(mapview.Close(), 0);
    EXPECT_EQ(posinet.Close(), 0);
}
