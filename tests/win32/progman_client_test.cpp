// The Program Manager client over the platform's real DDE, against a recording server of the
// test's own: the blocks the commands travel in, the commands of the group in their order,
// and the ways a conversation does not happen.
#include "framework/dde_handles.h"
#include "install/engine/engine.h"
#include "install/engine/progman_client.h"
#include "install/launcher/cover_dialog.h"
#include "scratch.h"
#include "tests/support/ui_thread.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace korva;

namespace {

constexpr const char* kTestService = "KorvaProgmanTest";

// A DDE server on a thread of its own that accepts the topic "PROGMAN" and records the
// bytes of every execute transaction.
class RecordingServer {
public:
    RecordingServer() {
        thread_ = testthread::Thread([this] { Serve(); });
        WaitForSingleObject(started_.Get(), INFINITE);
    }
    ~RecordingServer() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.Join();
    }
    bool Registered() const { return registered_; }

    std::vector<std::vector<unsigned char>> Blocks() {
        std::lock_guard lock(mutex_);
        return blocks_;
    }
    std::vector<std::string> Commands() {
        std::vector<std::string> commands;
        for (const auto& block : Blocks()) {
            commands.emplace_back(
                reinterpret_cast<const char*>(block.data()),
                strnlen(reinterpret_cast<const char*>(block.data()), block.size()));
        }
        return commands;
    }

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data,
                                      ULONG_PTR, ULONG_PTR) {
        RecordingServer* self = current_;
        switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(
                fw::DdeQueryText(self->instance_.Id(), topic, 64) == "PROGMAN"));
        case XTYP_EXECUTE: {
            std::lock_guard lock(self->mutex_);
            self->blocks_.push_back(fw::DdeDataBytes(data, 4096));
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(DDE_FACK));
        }
        default:
            return nullptr;
        }
    }

    void Serve() {
        threadId_ = GetCurrentThreadId();
        current_ = this;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue
        if (instance_.Initialize(Callback, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS) ==
            DMLERR_NO_ERROR) {
            service_ = fw::DdeStringHandle(instance_.Id(), kTestService);
            registered_ = DdeNameService(instance_.Id(), service_.Get(), nullptr, DNS_REGISTER);
        }
        SetEvent(started_.Get());
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        if (registered_) {
            DdeNameService(instance_.Id(), service_.Get(), nullptr, DNS_UNREGISTER);
        }
        service_.Reset();
        instance_.Reset();
    }

    static inline RecordingServer* current_ = nullptr;
    testthread::Thread thread_;
    DWORD threadId_ = 0;
    testthread::Mutex mutex_;
    // Set by the server's thread once its service is registered (or failed to be).
    fw::UniqueKernelHandle started_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool registered_ = false;
    fw::DdeInstance instance_;
    fw::DdeStringHandle service_;
    std::vector<std::vector<unsigned char>> blocks_;
};

class ProgmanClient : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Registered()); }

    // Runs CreateProgramGroup with the question answered by `answer`.
    bool CreateGroupAnswering(int answer, const char* service = kTestService) {
        bool created = false;
        RunWithRobot([&] { created = CreateProgramGroup(cover_, cover_.install_, service); },
                     [&] {
                         HWND box = robot::WaitForMessageBox(GetCurrentProcessId(),
                                                             "Creazione dell'icona KORVA '98 ?");
                         EXPECT_NE(box, nullptr);
                         if (box) {
                             EXPECT_EQ(robot::Text(box), "Installazione di KORVA '98 3.04");
                             robot::Click(box, answer);
                         }
                     });
        return created;
    }

    RecordingServer server_;
    korva::Engine engine_;
    CCoverDlg cover_{engine_};
};

std::string Text(const std::vector<unsigned char>& block) {
    return std::string(reinterpret_cast<const char*>(block.data()),
                       strnlen(reinterpret_cast<const char*>(block.data()), block.size()));
}

} // namespace

TEST_F(ProgmanClient, CommandsTravelInBlocksOfAHundredBytesAndLongerOnesWhole) {
    ProgmanConversation progman;
    ASSERT_TRUE(progman.Connect(kTestService));
    const std::string shortCommand = "[ShowGroup(\"korva.grp\")]";
    const std::string longCommand = "[AddItem(C:\\" + std::string(120, 'p') +
                                    "\\korva.exe,KORVA '98 3.04,C:\\" + std::string(120, 'p') +
                                    "\\korva.exe,0)]";
    progman.Send(shortCommand);
    progman.Send(longCommand);
    progman.Send("[DeleteItem(Guida)]");

    const auto blocks = server_.Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 100u);
    EXPECT_EQ(Text(blocks[0]), shortCommand);
    EXPECT_EQ(blocks[1].size(), longCommand.size() + 1);
    EXPECT_EQ(Text(blocks[1]), longCommand);
    // A short command after a long one: its own text and zeros, nothing of the long one.
    ASSERT_EQ(blocks[2].size(), 100u);
    EXPECT_EQ(Text(blocks[2]), "[DeleteItem(Guida)]");
    for (std::size_t i = Text(blocks[2]).size(); i < blocks[2].size(); ++i) {
        EXPECT_EQ(blocks[2][i], 0) << "byte " << i;
    }
}

TEST_F(ProgmanClient, TheGroupOfAnEditionInstallWithTheDemonstration) {
    const std::string source = testfs::FreshScratchDir("progman-edition");
    testfs::MakeDirs(source + "\\kdemo");
    testfs::WriteFile(source + "\\kdemo\\kdemo.exe", "demo");
    CopyToField(cover_.install_.programDir, "C:\\korva");
    CopyToField(cover_.install_.programSourceDir, source);
    cover_.install_.editionInstall = true;

    EXPECT_TRUE(CreateGroupAnswering(IDYES));
    const std::vector<std::string> expected = {
        "[CreateGroup(\"KORVA\")]",
        "[ShowGroup(\"korva.grp\")]",
        "[DeleteItem(KORVA '98 3.04)]",
        "[AddItem(C:\\korva\\korva.exe,KORVA '98 3.04,C:\\korva\\korva.exe,0)]",
        "[DeleteItem(Guida)]",
        "[AddItem(C:\\korva\\korva.hlp,Guida,C:\\korva\\korva.hlp,0)]",
        "[DeleteItem(Edizioni Korva)]",
        "[AddItem(" + source + "\\kdemo\\kdemo.exe,Edizioni Korva," + source +
            "\\kdemo\\kdemo.exe,0)]",
        "[DeleteItem(Rimozione di KORVA)]",
        "[AddItem(" + source + "\\delkorva.exe,Rimozione di KORVA," + source + "\\delkorva.exe,0)]",
        "[DeleteItem(Installazioni Korva)]",
        "[AddItem(" + source + "\\setup.exe,Installazioni Korva," + source + "\\setup.exe,0)]",
    };
    EXPECT_EQ(server_.Commands(), expected);
}

TEST_F(ProgmanClient, WithoutDemonstrationOrEditionOnlyTheFixedItems) {
    const std::string source = testfs::FreshScratchDir("progman-plain");
    CopyToField(cover_.install_.programDir, "C:\\korva");
    CopyToField(cover_.install_.programSourceDir, source);
    cover_.install_.editionInstall = false;

    EXPECT_TRUE(CreateGroupAnswering(IDYES));
    const std::vector<std::string> commands = server_.Commands();
    ASSERT_EQ(commands.size(), 8u);
    EXPECT_EQ(commands[6], "[DeleteItem(Rimozione di KORVA)]");
    EXPECT_EQ(commands[7], "[AddItem(" + source + "\\delkorva.exe,Rimozione di KORVA," + source +
                               "\\delkorva.exe,0)]");
}

TEST_F(ProgmanClient, NoSendsNothingAndNoServerMeansNoGroup) {
    EXPECT_FALSE(CreateGroupAnswering(IDNO));
    EXPECT_FALSE(CreateGroupAnswering(IDYES, "KorvaNobodyServesThis"));
    EXPECT_TRUE(server_.Blocks().empty());
    EXPECT_EQ(DeleteProgramGroup("KorvaNobodyServesThis"), 0);
}

TEST_F(ProgmanClient, TheRemovalDeletesTheGroup) {
    EXPECT_EQ(DeleteProgramGroup(kTestService), 1);
    const auto blocks = server_.Blocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].size(), 100u);
    EXPECT_EQ(Text(blocks[0]), "[DeleteGroup(\"KORVA\")]");
}
