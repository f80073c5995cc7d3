// Stand-in for the map program as posinet's client: shows the ten elements moving on a
// sketch of Italy with their coordinates, and the point or element the last command named.
//
// Usage: mapview.exe [/log FILE]   (FILE gets one line per datum and command received)
#include "resources/mapview/resource.h"
#include "tools/mapview/datum_log.h"
#include "tools/mapview/italy_outline.h"
#include "tools/mapview/position_link.h"

#include "framework/handles.h"
#include "framework/resource_strings.h"
#include "framework/wnd.h"
#include "posinet/portable/coordinate.h"
#include "posinet/portable/element_table.h"
#include "posinet/portable/records.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr UINT_PTR kConnectTimerId = 1;
constexpr UINT kConnectPeriodMs = 500;
constexpr const char* kWindowClass = "KorvaMapView";
constexpr LONG kPanelWidth = 300;
constexpr double kMapAspect = 0.84;

// The file named after /log on the command line; empty when none.
std::string LogPathFromCommandLine(const char* commandLine) {
    std::string text = commandLine ? commandLine : "";
    const size_t option = text.find("/log");
    if (option == std::string::npos) {
        return {};
    }
    std::string path = text.substr(option + 4);
    const size_t first = path.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    path = path.substr(first);
    if (path.front() == '"') {
        const size_t close = path.find('"', 1);
        return path.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return path.substr(0, path.find_last_not_of(" \t") + 1);
}

double Degrees(int32_t thousandthsOfSecond) {
    return static_cast<double>(thousandthsOfSecond) / korva::kThousandthsPerDegree;
}

class MapViewWindow : public CWnd {
public:
    explicit MapViewWindow(const std::string& logPath) {
        if (!logPath.empty()) {
            log_.Open(logPath);
        }
    }

    bool Create(int showCommand) {
        if (!RegisterFrameworkClass(kWindowClass, CS_HREDRAW | CS_VREDRAW, nullptr) ||
            !CreateFrameworkWindow(kWindowClass, fw::LoadResourceString(IDS_MAPVIEW_CAPTION),
                                   WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 840, 640,
                                   nullptr, nullptr)) {
            return false;
        }
        ShowWindow(hwnd_, showCommand);
        ::UpdateWindow(hwnd_);
        return true;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            link_ = std::make_unique<mapview::PositionLink>(
                [this](const std::string& item, const std::vector<uint8_t>& bytes) {
                    OnDatum(item, bytes);
                },
                [this](bool connected) { OnLinkState(connected); });
            SetTimer(hwnd_, kConnectTimerId, kConnectPeriodMs, nullptr);
            PostMessageA(hwnd_, WM_TIMER, kConnectTimerId, 0);
            return 0;
        case WM_TIMER:
            if (wParam == kConnectTimerId && link_ && !connecting_) {
                connecting_ = true;
                link_->EnsureConnected();
                connecting_ = false;
            }
            return 0;
        case WM_COPYDATA:
            OnCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kConnectTimerId);
            link_.reset();
            PostQuitMessage(0);
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    void OnDatum(const std::string& item, const std::vector<uint8_t>& bytes) {
        log_.Datum(item, bytes);
        auto record = korva::DecodePositionRecord(bytes.data(), bytes.size());
        if (record && record->element < korva::kElementCount) {
            positions_[record->element] = *record;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
    }

    void OnLinkState(bool connected) {
        log_.State(connected);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    void OnCopyData(WPARAM sender, const COPYDATASTRUCT* copy) {
        if (!copy) {
            return;
        }
        const auto* bytes = static_cast<const uint8_t*>(copy->lpData);
        log_.CopyData(sender, copy->dwData, bytes, copy->cbData);
        if (auto block = korva::DecodeGotoPointBlock(bytes, bytes ? copy->cbData : 0)) {
            command_ = block->command;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
    }

    POINT ToScreen(double longitude, double latitude, const RECT& area) const {
        const double width = area.right - area.left;
        const double height = area.bottom - area.top;
        return POINT{area.left + static_cast<LONG>((longitude - mapview::kWest) /
                                                   (mapview::kEast - mapview::kWest) * width),
                     area.top + static_cast<LONG>((mapview::kNorth - latitude) /
                                                  (mapview::kNorth - mapview::kSouth) * height)};
    }

    template <size_t N>
    void DrawOutline(HDC dc, const mapview::GeoPoint (&outline)[N], const RECT& area) const {
        POINT points[N];
        for (size_t i = 0; i < N; ++i) {
            points[i] = ToScreen(outline[i].longitude, outline[i].latitude, area);
        }
        Polygon(dc, points, static_cast<int>(N));
    }

    void Label(HDC dc, int x, int y, const std::string& text) const {
        TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }

    void Draw(HDC dc, const RECT& client) const {
        // The map keeps the shape of the country (a degree of longitude is about 0.74 of one
        // of latitude there); the texts go in the panel to its right.
        RECT map = client;
        map.right = std::min<LONG>(client.right - kPanelWidth,
                                   static_cast<LONG>(client.bottom * kMapAspect));
        if (map.right < 0) {
            map.right = 0;
        }
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        fw::UniqueGdiObject sea(CreateSolidBrush(RGB(200, 225, 245)));
        FillRect(dc, &map, static_cast<HBRUSH>(sea.Get()));
        fw::UniqueGdiObject land(CreateSolidBrush(RGB(235, 225, 190)));
        fw::UniqueGdiObject coast(CreatePen(PS_SOLID, 1, RGB(120, 110, 80)));
        {
            fw::SelectObjectScope brush(dc, land.Get());
            fw::SelectObjectScope pen(dc, coast.Get());
            DrawOutline(dc, mapview::kMainland, map);
            DrawOutline(dc, mapview::kSicily, map);
            DrawOutline(dc, mapview::kSardinia, map);
        }

        SetBkMode(dc, TRANSPARENT);
        fw::UniqueGdiObject marker(CreateSolidBrush(RGB(200, 30, 30)));
        fw::SelectObjectScope brush(dc, marker.Get());
        const int panel = map.right + 8;
        int line = 8;
        if (!link_ || !link_->Connected()) {
            Label(dc, panel, line, fw::LoadResourceString(IDS_MAPVIEW_WAITING));
            line += 16;
        }
        for (int i = 0; i < korva::kElementCount; ++i) {
            if (!positions_[i]) {
                continue;
            }
            const korva::PositionRecord& p = *positions_[i];
            const POINT at = ToScreen(Degrees(p.longitude), Degrees(p.latitude), map);
            Ellipse(dc, at.x - 4, at.y - 4, at.x + 5, at.y + 5);
            Label(dc, at.x + 6, at.y - 8, std::to_string(i));
            Label(dc, panel, line,
                  fw::FormatText(fw::LoadResourceString(IDS_MAPVIEW_ELEMENT).c_str(), i,
                                 korva::FormatCoordinate(p.longitude).c_str(),
                                 korva::FormatCoordinate(p.latitude).c_str()));
            line += 16;
        }
        if (command_) {
            line += 8;
            if (command_->kind == korva::kFollowElementKind) {
                Label(dc, panel, line,
                      fw::FormatText(fw::LoadResourceString(IDS_MAPVIEW_FOLLOW).c_str(),
                                     command_->element));
            } else {
                Label(dc, panel, line,
                      fw::FormatText(fw::LoadResourceString(IDS_MAPVIEW_POINT).c_str(),
                                     korva::FormatCoordinate(command_->longitude).c_str(),
                                     korva::FormatCoordinate(command_->latitude).c_str()));
            }
            const POINT at =
                ToScreen(Degrees(command_->longitude), Degrees(command_->latitude), map);
            fw::UniqueGdiObject cross(CreatePen(PS_SOLID, 2, RGB(20, 40, 200)));
            fw::SelectObjectScope pen(dc, cross.Get());
            MoveToEx(dc, at.x - 8, at.y, nullptr);
            LineTo(dc, at.x + 9, at.y);
            MoveToEx(dc, at.x, at.y - 8, nullptr);
            LineTo(dc, at.x, at.y + 9);
        }
    }

    void OnPaint() {
        fw::PaintDc paint(hwnd_);
        RECT client;
        GetClientRect(hwnd_, &client);
        // Drawn off screen first: the picture changes ten times per tick.
        fw::UniqueMemoryDc memory(CreateCompatibleDC(paint.Get()));
        fw::UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
        if (!memory || !bitmap) {
            Draw(paint.Get(), client);
            return;
        }
        {
            fw::SelectObjectScope select(memory.Get(), bitmap.Get());
            Draw(memory.Get(), client);
            BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
    }

    mapview::DatumLog log_;
    std::unique_ptr<mapview::PositionLink> link_;
    bool connecting_ = false;
    std::optional<korva::PositionRecord> positions_[korva::kElementCount];
    std::optional<korva::PositionRecord> command_;
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    MapViewWindow window(LogPathFromCommandLine(commandLine));
    if (!window.Create(showCommand)) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
