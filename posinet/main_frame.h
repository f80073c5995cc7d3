// posinet's main window. It holds the element table and owns the three parts that work on
// it: the DDE service that publishes the positions, the cycle whose ticks move them, and the
// commands addressed to the map program.
#pragma once

#include "framework/frame.h"
#include "posinet/map_commands.h"
#include "posinet/portable/element_table.h"
#include "posinet/position_service.h"
#include "posinet/tick_cycle.h"

#include <windows.h>

class CMainFrame : public CFrameWnd, private PositionService::Events {
public:
    CMainFrame();
    ~CMainFrame() override;

    // One tick: moves every element and publishes it, once a client has connected.
    void Tick();
    // The hand nudge of element 0 (arrow keys of the view).
    void NudgeElement0(korva::ArrowKey key);
    // The service name, the main window's caption from its first paint on.
    const char* ServiceName() const { return service_.ServiceName(); }

    // Menu commands: go to point, follow element.
    void OnGotoPoint();
    void OnFollowElement();

protected:
    int OnCreate() override;
    void OnDestroy() override;
    bool OnCommand(WORD id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // What the service's clients did.
    void OnConnectionAccepted() override;
    void OnLinkStarted() override;
    void OnClientWindow(HWND window) override;

    korva::ElementState elements_[korva::kElementCount];
    int elementCount_ = korva::kElementCount;
    PositionService service_{elements_, elementCount_, *this};
    TickCycle cycle_;
    MapCommands commands_;
};
