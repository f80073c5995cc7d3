// The map viewer's DDE client of posinet: connects to "Posinet"/"Posizioni", keeps hot links
// on the ten element items and hands every datum on.
//
// Each item has a conversation of its own, in a DDEML instance of its own: Wine's DDEML ends a
// synchronous transaction early when data of another link on the same conversation arrive
// while it waits, and it allows one conversation per service and topic in an instance.
#pragma once

#include "framework/dde_handles.h"
#include "posinet/portable/element_table.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mapview {

class PositionLink {
public:
    using DatumHandler = std::function<void(const std::string& item, const std::vector<uint8_t>&)>;
    using StateHandler = std::function<void(bool connected)>;

    // One link per process: the DDEML callback finds it through a process-wide pointer.
    PositionLink(DatumHandler onDatum, StateHandler onState);
    ~PositionLink();
    PositionLink(const PositionLink&) = delete;
    PositionLink& operator=(const PositionLink&) = delete;

    // Connects and starts the link of every element that has none; true while all are linked.
    bool EnsureConnected();
    bool Connected() const;

private:
    struct ItemLink {
        fw::DdeInstance instance; // released after its conversation
        fw::UniqueDdeConversation conversation;
    };

    bool StartLink(int element);
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                      HSZ hsz2, HDDEDATA data, ULONG_PTR, ULONG_PTR);

    DatumHandler onDatum_;
    StateHandler onState_;
    ItemLink links_[korva::kElementCount];
};

} // namespace mapview
