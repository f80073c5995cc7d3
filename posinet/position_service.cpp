#include "posinet/position_service.h"

#include "posinet/advise_atom.h"
#include "posinet/portable/records.h"
#include "posinet/target_window.h"

#include <cstdio>

namespace {

// The service whose DDE instance is running. DDEML calls its callback with no pointer of the
// caller's, so the callback can reach the service only through this.
PositionService* runningService = nullptr;

} // namespace

PositionService::PositionService(const korva::ElementState* elements, int elementCount,
                                 Events& events)
    : elements_(elements), elementCount_(elementCount), events_(events) {}

PositionService::~PositionService() {
    StopService();
}

void PositionService::StartService() {
    std::snprintf(serviceName_, sizeof serviceName_, "%s", "Posinet");
    std::snprintf(topicName_, sizeof topicName_, "%s", "Posizioni");
    std::snprintf(allItemsName_, sizeof allItemsName_, "%s", "Tutti");
    runningService = this;
    // Executes are refused by DDEML itself; no notifications reach the callback.
    ddeInstance_.Initialize(DdeCallback,
                            APPCLASS_STANDARD | CBF_FAIL_EXECUTES | CBF_SKIP_ALLNOTIFICATIONS);
    serviceHandle_ = fw::DdeStringHandle(ddeInstance_.Id(), serviceName_);
    topicHandle_ = fw::DdeStringHandle(ddeInstance_.Id(), topicName_);
    allItemsHandle_ = fw::DdeStringHandle(ddeInstance_.Id(), allItemsName_);
    if (ddeInstance_ && serviceHandle_) {
        DdeNameService(ddeInstance_.Id(), serviceHandle_.Get(), nullptr, DNS_REGISTER);
    }
}

void PositionService::StopService() {
    if (ddeInstance_ && serviceHandle_) {
        DdeNameService(ddeInstance_.Id(), serviceHandle_.Get(), nullptr, DNS_UNREGISTER);
    }
    serviceHandle_.Reset();
    topicHandle_.Reset();
    allItemsHandle_.Reset();
    ddeInstance_.Reset();
    if (runningService == this) {
        runningService = nullptr;
    }
}

void PositionService::PostAdvise(int element) {
    const std::string name = korva::ElementItemName(element);
    fw::DdeStringHandle item(ddeInstance_.Id(), name.c_str());
    if (item) {
        DdePostAdvise(ddeInstance_.Id(), topicHandle_.Get(), item.Get());
        adviseBlocks_.Reclaim();
    }
}

HDDEDATA CALLBACK PositionService::DdeCallback(UINT type, UINT, HCONV conversation, HSZ hsz1,
                                               HSZ hsz2, HDDEDATA, ULONG_PTR data1, ULONG_PTR) {
    return runningService ? runningService->OnDdeTransaction(type, conversation, hsz1, hsz2, data1)
                          : nullptr;
}

HDDEDATA PositionService::OnDdeTransaction(UINT type, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                           ULONG_PTR data1) {
    switch (type) {
    case XTYP_CONNECT: {
        // hsz1 is the topic, hsz2 the service; both must match exactly.
        const std::string topic = fw::DdeQueryText(ddeInstance_.Id(), hsz1, kDdeNameSize);
        const std::string service = fw::DdeQueryText(ddeInstance_.Id(), hsz2, kDdeNameSize);
        if (service != serviceName_ || topic != topicName_) {
            return reinterpret_cast<HDDEDATA>(FALSE);
        }
        connected_ = true;
        advising_ = true;
        events_.OnConnectionAccepted();
        return reinterpret_cast<HDDEDATA>(TRUE);
    }
    case XTYP_ADVSTART:
        if (ElementOfItem(hsz2) < 0) {
            return reinterpret_cast<HDDEDATA>(FALSE);
        }
        RecordClientWindow(conversation);
        events_.OnLinkStarted();
        return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_REQUEST:
        RecordClientWindow(conversation);
        return PositionData(hsz2);
    case XTYP_ADVREQ:
        KeepItemAtomForNextLink(ddeInstance_.Id(), hsz2, LOWORD(data1));
        return PositionData(hsz2, conversation);
    case XTYP_ADVSTOP:
        // Links, flags and timer stay as they are.
        return reinterpret_cast<HDDEDATA>(1);
    default:
        return nullptr;
    }
}

int PositionService::ElementOfItem(HSZ item) const {
    const int element =
        korva::ElementFromItemName(fw::DdeQueryText(ddeInstance_.Id(), item, kDdeNameSize));
    return element < elementCount_ ? element : -1;
}

HDDEDATA PositionService::PositionData(HSZ item, HCONV adviseConversation) {
    const int element = ElementOfItem(item);
    if (element < 0) {
        return nullptr;
    }
    const korva::ElementState& state = elements_[element];
    auto bytes = korva::EncodePositionRecord(
        {korva::kPositionKind, static_cast<uint16_t>(element), state.longitude, state.latitude});
    // No flags: DDEML owns the handle once the callback has returned it.
    HDDEDATA data =
        DdeCreateDataHandle(ddeInstance_.Id(), bytes.data(), static_cast<DWORD>(bytes.size()), 0,
                            item, korva::kPositionFormat, 0);
    if (data && adviseConversation) {
        adviseBlocks_.ExpectBlock(bytes, korva::kPositionFormat,
                                  PartnerProcessId(adviseConversation));
    }
    return data;
}

void PositionService::RecordClientWindow(HCONV conversation) {
    if (HWND window = MainWindowOfPartner(conversation)) {
        events_.OnClientWindow(window);
    }
}
