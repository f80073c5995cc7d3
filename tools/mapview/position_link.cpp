#include "tools/mapview/position_link.h"

#include "posinet/portable/records.h"

namespace mapview {

namespace {
PositionLink* theLink = nullptr;
constexpr DWORD kTransactionTimeoutMs = 2000;
} // namespace

PositionLink::PositionLink(DatumHandler onDatum, StateHandler onState)
    : onDatum_(std::move(onDatum)), onState_(std::move(onState)) {
    theLink = this;
}

PositionLink::~PositionLink() {
    for (ItemLink& link : links_) {
        link.conversation.Reset();
        link.instance.Reset();
    }
    if (theLink == this) {
        theLink = nullptr;
    }
}

bool PositionLink::Connected() const {
    for (const ItemLink& link : links_) {
        if (!link.conversation) {
            return false;
        }
    }
    return true;
}

bool PositionLink::StartLink(int element) {
    ItemLink& link = links_[element];
    if (!link.instance &&
        link.instance.Initialize(Callback, APPCMD_CLIENTONLY | CBF_SKIP_REGISTRATIONS |
                                               CBF_SKIP_UNREGISTRATIONS) != DMLERR_NO_ERROR) {
        return false;
    }
    const DWORD instance = link.instance.Id();
    fw::DdeStringHandle service(instance, "Posinet");
    fw::DdeStringHandle topic(instance, "Posizioni");
    fw::UniqueDdeConversation conversation(
        DdeConnect(instance, service.Get(), topic.Get(), nullptr));
    if (!conversation) {
        return false;
    }
    fw::DdeStringHandle item(instance, korva::ElementItemName(element).c_str());
    DWORD result = 0;
    if (!DdeClientTransaction(nullptr, 0, conversation.Get(), item.Get(), korva::kPositionFormat,
                              XTYP_ADVSTART, kTransactionTimeoutMs, &result)) {
        return false;
    }
    link.conversation = std::move(conversation);
    return true;
}

bool PositionLink::EnsureConnected() {
    const bool wasConnected = Connected();
    for (int i = 0; i < korva::kElementCount; ++i) {
        if (!links_[i].conversation && !StartLink(i)) {
            break;
        }
    }
    const bool connected = Connected();
    if (connected != wasConnected && onState_) {
        onState_(connected);
    }
    return connected;
}

HDDEDATA CALLBACK PositionLink::Callback(UINT type, UINT, HCONV conversation, HSZ, HSZ hsz2,
                                         HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    PositionLink* self = theLink;
    if (!self) {
        return nullptr;
    }
    ItemLink* link = nullptr;
    for (ItemLink& candidate : self->links_) {
        if (candidate.conversation.Get() == conversation) {
            link = &candidate;
        }
    }
    switch (type) {
    case XTYP_ADVDATA:
        // Data can come before the transaction that started the link has returned.
        if (self->onDatum_) {
            DWORD instance = link ? link->instance.Id() : 0;
            for (ItemLink& candidate : self->links_) {
                if (!instance && candidate.instance) {
                    std::string name = fw::DdeQueryText(candidate.instance.Id(), hsz2, 256);
                    if (!name.empty()) {
                        instance = candidate.instance.Id();
                    }
                }
            }
            self->onDatum_(fw::DdeQueryText(instance, hsz2, 256), fw::DdeDataBytes(data, 256));
        }
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_DISCONNECT:
        // The server went away: the handle is dead, a new connection is tried later.
        if (link) {
            const bool wasConnected = self->Connected();
            link->conversation.Release();
            if (wasConnected && self->onState_) {
                self->onState_(false);
            }
        }
        return nullptr;
    default:
        return nullptr;
    }
}

} // namespace mapview
