// posinet's DDE service: service "Posinet", topic "Posizioni", one item per element
// (Element0 to Element9). It answers the map program's connections, links and requests from
// the element table it is given, publishes an element when asked, and tells its owner what
// the clients did.
#pragma once

#include "framework/dde_handles.h"
#include "posinet/advise_block.h"
#include "posinet/portable/element_table.h"

#include <windows.h>
#include <ddeml.h>

constexpr size_t kDdeNameSize = 200;

class PositionService {
public:
    // What the service tells its owner; called from inside the DDE callback.
    class Events {
    public:
        // A client connected to the service and topic (every time, the first included).
        virtual void OnConnectionAccepted() = 0;
        // A client started a link: the link's first datum is due at once.
        virtual void OnLinkStarted() = 0;
        // The main window of a client that started a link or made a request.
        virtual void OnClientWindow(HWND window) = 0;

    protected:
        ~Events() = default;
    };

    // `elements` (rows 0 to elementCount - 1) and `events` outlive the service.
    PositionService(const korva::ElementState* elements, int elementCount, Events& events);
    ~PositionService();
    PositionService(const PositionService&) = delete;
    PositionService& operator=(const PositionService&) = delete;

    // Registers the service; the process has one at a time.
    void StartService();
    // Unregisters the service and ends the DDE instance; safe to repeat.
    void StopService();

    // True from the first accepted connection on: the ticks move and publish the elements.
    bool IsServing() const { return connected_ && advising_; }
    // Publishes element i to every advise link on its item.
    void PostAdvise(int element);
    const char* ServiceName() const { return serviceName_; }

private:
    // Every DDE transaction of the service; `data1` is the callback's first data value.
    HDDEDATA OnDdeTransaction(UINT type, HCONV conversation, HSZ hsz1, HSZ hsz2, ULONG_PTR data1);
    // The element number of an item handle; -1 when it names no element.
    int ElementOfItem(HSZ item) const;
    // The datum of the item's element; for an advise, `conversation` is the link's.
    HDDEDATA PositionData(HSZ item, HCONV adviseConversation = nullptr);
    // Tells the owner the main window of the conversation's client, when it has one.
    void RecordClientWindow(HCONV conversation);

    static HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

    const korva::ElementState* elements_;
    int elementCount_;
    Events& events_;

    fw::DdeInstance ddeInstance_;
    fw::DdeStringHandle serviceHandle_;
    fw::DdeStringHandle topicHandle_;
    fw::DdeStringHandle allItemsHandle_;
    // Both set on the first accepted connection, never cleared.
    bool connected_ = false;
    bool advising_ = false;
    char serviceName_[kDdeNameSize] = {};
    char topicName_[kDdeNameSize] = {};
    char allItemsName_[kDdeNameSize] = {};
    AdviseBlockReclaimer adviseBlocks_;
};
