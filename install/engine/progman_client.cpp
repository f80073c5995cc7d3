#include "install/engine/progman_client.h"

#include "framework/file_probe.h"
#include "framework/resource_strings.h"
#include "framework/wnd.h"
#include "install/shared/portable/paths.h"
#include "resources/install/resource.h"

namespace korva {

namespace {

// Program Manager's answers are not used: the callback handles no transaction.
HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

} // namespace

void SendProgmanCommand(DWORD instance, HCONV conversation, const std::string& command) {
    std::vector<char> block = ProgmanCommandBlock(command);
    // Owned by the program, so that it is still ours to free after the transaction.
    fw::UniqueDdeData data(DdeCreateDataHandle(instance, reinterpret_cast<LPBYTE>(block.data()),
                                               static_cast<DWORD>(block.size()), 0, nullptr,
                                               CF_TEXT, HDATA_APPOWNED));
    if (!data) {
        return;
    }
    DdeClientTransaction(reinterpret_cast<LPBYTE>(data.Get()), static_cast<DWORD>(-1), conversation,
                         nullptr, 0, XTYP_EXECUTE, kProgmanTimeoutMs, nullptr);
}

bool ProgmanConversation::Connect(const char* service) {
    if (instance_.Initialize(IgnoreTransactions, APPCMD_CLIENTONLY) != DMLERR_NO_ERROR) {
        return false;
    }
    service_ = fw::DdeStringHandle(instance_.Id(), service);
    topic_ = fw::DdeStringHandle(instance_.Id(), kProgmanTopic);
    if (!service_ || !topic_) {
        return false;
    }
    conversation_.Reset(DdeConnect(instance_.Id(), service_.Get(), topic_.Get(), nullptr));
    return static_cast<bool>(conversation_);
}

void ProgmanConversation::Send(const std::string& command) const {
    SendProgmanCommand(instance_.Id(), conversation_.Get(), command);
}

bool CreateProgramGroup(CWnd& owner, const InstallState& install, const char* service) {
    if (owner.OwnedMessageBox(fw::LoadResourceString(IDS_CREATE_ICON),
                              fw::LoadResourceString(IDS_COVER_CAPTION), MB_YESNO) != IDYES) {
        return false;
    }
    ProgmanConversation progman;
    if (!progman.Connect(service)) {
        return false;
    }
    ProgramGroupPlan plan;
    plan.programDir = install.programDir;
    plan.programSourceDir = install.programSourceDir;
    plan.demoPresent = fw::CanOpenForReading(DemoProgramOf(plan.programSourceDir));
    plan.editionInstall = install.editionInstall;
    for (const std::string& command : ProgramGroupCommands(plan)) {
        progman.Send(command);
    }
    return true;
}

int DeleteProgramGroup(const char* service) {
    ProgmanConversation progman;
    if (!progman.Connect(service)) {
        return 0;
    }
    progman.Send(DeleteGroupCommand());
    return 1;
}

} // namespace korva
