#include "posinet/map_commands.h"

#include "posinet/point_dialogs.h"

#include "framework/handles.h"
#include "posinet/portable/coordinate.h"

#include <cstring>

bool MapCommands::HasTarget() const {
    return targetWindow_ && IsWindow(targetWindow_);
}

void MapCommands::GotoPoint(HWND owner, const DialogColors* colors) {
    CGotoPointDlg dialog(owner);
    dialog.SetColors(colors);
    if (!HasTarget()) {
        return;
    }
    if (dialog.DoModal() != IDOK) {
        return;
    }
    korva::GotoPointBlock block;
    block.command.kind = korva::kGotoPointKind;
    block.command.element = 0;
    block.command.longitude = korva::ParseCoordinate(dialog.longitude_.c_str());
    block.command.latitude = korva::ParseCoordinate(dialog.latitude_.c_str());
    SendCommandBlock(block);
}

void MapCommands::FollowElement(HWND owner, const DialogColors* colors,
                                const korva::ElementState* elements, int elementCount) {
    CFollowElementDlg dialog(owner, elementCount);
    dialog.SetColors(colors);
    if (!HasTarget()) {
        return;
    }
    if (dialog.DoModal() != IDOK || dialog.element_ < 0 || dialog.element_ >= elementCount) {
        return;
    }
    korva::GotoPointBlock block;
    block.command.kind = korva::kFollowElementKind;
    block.command.element = static_cast<uint16_t>(dialog.element_);
    block.command.longitude = elements[dialog.element_].longitude;
    block.command.latitude = elements[dialog.element_].latitude;
    SendCommandBlock(block);
}

void MapCommands::SendCommandBlock(const korva::GotoPointBlock& block) {
    const auto bytes = korva::EncodeGotoPointBlock(block);
    fw::UniqueGlobal memory(
        GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
    if (!memory) {
        return;
    }
    void* data = GlobalLock(memory.Get());
    if (!data) {
        return;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    COPYDATASTRUCT copy{};
    copy.dwData = 0;
    copy.cbData = static_cast<DWORD>(bytes.size());
    copy.lpData = data;
    // Synchronous, but a map program that stopped answering does not stop this one.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(targetWindow_, WM_COPYDATA, reinterpret_cast<WPARAM>(senderWindow_),
                        reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 5000, &ignored);
    GlobalUnlock(memory.Get());
}
