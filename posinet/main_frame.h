// posinet's main window: the element table and its motion on the timer, the DDE service that
// publishes the positions, and the commands addressed to the map program.
#pragma once

#include "advise_block.h"
#include "dde_handles.h"
#include "element_table.h"
#include "frame.h"
#include "records.h"

#include <windows.h>

constexpr size_t kDdeNameSize = 200;
// The periodic timer started by the first accepted connection.
constexpr UINT_PTR kTickTimerId = 2;
constexpr UINT kTickPeriodMs = 300;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    // One tick: moves every element and publishes it, once a client has connected.
    void Tick();
    // Publishes element i to every advise link on its item.
    void PostAdvise(int element);
    // The hand nudge of element 0 (arrow keys of the view).
    void NudgeElement0(korva::ArrowKey key);

    // Every DDE transaction of the service.
    HDDEDATA OnDdeTransaction(UINT type, HCONV conversation, HSZ hsz1, HSZ hsz2);

    // Menu commands: go to point, follow element.
    void OnGotoPoint();
    void OnFollowElement();

    // DDE state.
    fw::DdeInstance ddeInstance;
    fw::DdeStringHandle serviceHandle;
    fw::DdeStringHandle topicHandle;
    fw::DdeStringHandle allItemsHandle;
    UINT_PTR timerId = 0;
    int connected = 0;
    int advising = 0;
    char serviceName[kDdeNameSize] = {};
    char topicName[kDdeNameSize] = {};
    char allItemsName[kDdeNameSize] = {};

    korva::ElementState elements[korva::kElementCount];
    // The map program's window that receives the commands; none until a client asks for data.
    HWND targetWindow = nullptr;
    // This program's main window as recorded at the latest tick; sent with the commands.
    HWND senderWindow = nullptr;
    int elementCount = 0;

private:
    AdviseBlockReclaimer adviseBlocks;

protected:
    int OnCreate() override;
    void OnDestroy() override;
    bool OnCommand(WORD id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void StartService();
    void StopService();
    void StartTimer();
    // The element number of an item handle; -1 when it names no element.
    int ElementOfItem(HSZ item) const;
    // The datum of the item's element; for an advise, `conversation` is the link's.
    HDDEDATA PositionData(HSZ item, HCONV adviseConversation = nullptr);
    // Takes the main window of the conversation's client as the target window.
    void RecordTarget(HCONV conversation);
    bool HasTarget() const;
    // Sends a command block to the target window in WM_COPYDATA.
    void SendCommandBlock(const korva::GotoPointBlock& block);

    static HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
};

// The one frame of the process, from its construction to its destruction; null otherwise.
CMainFrame* MainFrame();
