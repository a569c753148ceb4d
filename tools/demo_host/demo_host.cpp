// A small host that treats Tavik_DI.dll as an emulator would: describe the plug-in, hand it the
// window and the four controllers, open a ROM, poll every controller each frame, close.
//   demo_host                            interactive: the window shows all four controllers live
//   demo_host --self-check [READY DONE]  maps controller 1 to the keyboard, presses keys with
//                                        xdotool and exits 0 only if the polled words are right
#include "controller_view.h"
#include "module_exports.h"
#include "input/button_state.h"
#include "plugin/host_records.h"
#include "self_check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Plugin {
    HMODULE module = nullptr;
    void(__cdecl* GetDllInfo)(PluginInfo*) = nullptr;
    void(__cdecl* InitiateControllers)(HWND, ControlSlot*) = nullptr;
    void(__cdecl* GetKeys)(int32_t, ButtonState*) = nullptr;
    void(__cdecl* RomOpen)() = nullptr;
    void(__cdecl* RomClosed)() = nullptr;
    void(__cdecl* CloseDLL)() = nullptr;
    void(__cdecl* DllConfig)(HWND) = nullptr;
    void(__cdecl* DllTest)(HWND) = nullptr;
    void(__cdecl* DllAbout)(HWND) = nullptr;

    // From the program's own folder, as an emulator loads from its plug-in folder.
    bool Load() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        if (char* slash = std::strrchr(path, '\\')) slash[1] = '\0';
        std::strncat(path, "Tavik_DI.dll", MAX_PATH - std::strlen(path) - 1);
        module = LoadLibraryA(path);
        if (!module) {
            std::fprintf(stderr, "demo host: cannot load %s (error %lu)\n", path, GetLastError());
            return false;
        }
        return Bind("GetDllInfo", GetDllInfo) && Bind("InitiateControllers", InitiateControllers) &&
               Bind("GetKeys", GetKeys) && Bind("RomOpen", RomOpen) && Bind("RomClosed", RomClosed) &&
               Bind("CloseDLL", CloseDLL) && Bind("DllConfig", DllConfig) && Bind("DllTest", DllTest) &&
               Bind("DllAbout", DllAbout);
    }

    template <typename Function>
    bool Bind(const char* name, Function& target) {
        target = ExportOf<Function>(module, name);
        if (!target) std::fprintf(stderr, "demo host: Tavik_DI.dll lacks the export %s\n", name);
        return target != nullptr;
    }
};

enum : int { kConfigButton = 101, kTestButton, kAboutButton };
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kFrameMs = 16;  // about 60 polls of each controller a second
constexpr int kMargin = 10, kToolbarHeight = 56;

struct Host {
    Plugin plugin;
    HWND window = nullptr;
    ButtonState states[4] = {};
    bool romOpen = false;
} host;

RECT PanelsArea() {
    return RECT{0, kToolbarHeight, 4 * (ControllerView::kWidth + kMargin) + kMargin,
                kToolbarHeight + ControllerView::kHeight + kMargin};
}

void Poll() {
    if (!host.romOpen) return;
    bool changed = false;
    for (int i = 0; i < 4; ++i) {
        ButtonState word{};
        host.plugin.GetKeys(i, &word);
        changed |= std::memcmp(&word, &host.states[i], sizeof word) != 0;
        host.states[i] = word;
    }
    if (changed) {
        const RECT area = PanelsArea();
        InvalidateRect(host.window, &area, FALSE);
    }
}

void RunPluginDialog(void(__cdecl* entry)(HWND)) {
    // An emulator pauses its frames while the plug-in's dialogs are open.
    KillTimer(host.window, kPollTimer);
    // Under Wine (seen with Xvfb) a dialog owned by this window stays black; an unowned one draws.
    // So the dialogs get no owner, and the window is disabled by hand to keep them modal.
    EnableWindow(host.window, FALSE);
    entry(nullptr);
    EnableWindow(host.window, TRUE);
    SetTimer(host.window, kPollTimer, kFrameMs, nullptr);
    // Back to the window itself: a focused push button would take Space (Start) as a click.
    SetForegroundWindow(host.window);
    SetFocus(host.window);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen first, so 60 redraws a second do not flicker.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const char* hint = "Live GetKeys words of the four controllers. Map one with Configure...";
    TextOutA(dc, 3 * 90 + 2 * kMargin, 16, hint, static_cast<int>(std::strlen(hint)));
    for (int i = 0; i < 4; ++i)
        ControllerView::Draw(dc, POINT{kMargin + i * (ControllerView::kWidth + kMargin), kToolbarHeight}, i,
                             host.states[i]);
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(window, &ps);
}

void AddButton(HWND parent, int id, const char* text, int index) {
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kMargin + index * 90, 12,
                                  80, 26, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        AddButton(window, kConfigButton, "Configure...", 0);
        AddButton(window, kTestButton, "Test...", 1);
        AddButton(window, kAboutButton, "About...", 2);
        return 0;
    case WM_TIMER:
        if (wParam == kPollTimer) Poll();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kConfigButton: RunPluginDialog(host.plugin.DllConfig); break;
        case kTestButton: RunPluginDialog(host.plugin.DllTest); break;
        case kAboutButton: RunPluginDialog(host.plugin.DllAbout); break;
        }
        return 0;
    case WM_LBUTTONDOWN:
        // Without a window manager (Xvfb, a bare X server) a click does not activate a Wine window,
        // and the keyboard is read only while it is in front.
        SetForegroundWindow(window);
        SetFocus(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // Paint covers everything
    case WM_CLOSE:
        KillTimer(window, kPollTimer);
        if (host.romOpen) host.plugin.RomClosed();
        host.romOpen = false;
        host.plugin.CloseDLL();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHostWindow(const char* pluginName) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "TavikDemoHost";
    RegisterClassA(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = PanelsArea();
    frame.top = 0;
    AdjustWindowRect(&frame, style, FALSE);
    const std::string title = std::string("Tavik_DI demo host - ") + pluginName;
    return CreateWindowExA(0, wc.lpszClassName, title.c_str(), style, 40, 40, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const bool selfCheck = argc >= 2 && std::strcmp(argv[1], "--self-check") == 0;
    if ((!selfCheck && argc != 1) || (selfCheck && argc != 2 && argc != 4)) {
        std::fprintf(stderr, "usage: demo_host [--self-check [READY-FILE DONE-FILE]]\n");
        return 2;
    }
    if (selfCheck && !SelfCheck::MapControllerOneToKeyboard()) {
        std::fprintf(stderr, "demo host: cannot write the controller 1 setting\n");
        return 1;
    }
    if (!host.plugin.Load()) return 1;

    PluginInfo info{};
    host.plugin.GetDllInfo(&info);
    info.name[sizeof info.name - 1] = '\0';
    std::printf("Loaded %s (interface 0x%04X, type %d)\n", info.name, info.version, info.type);
    if (info.type != kControllerPluginType) {
        std::fprintf(stderr, "demo host: not a controller plug-in\n");
        return 1;
    }

    host.window = CreateHostWindow(info.name);
    ControlSlot slots[4] = {};
    host.plugin.InitiateControllers(host.window, slots);
    host.plugin.RomOpen();
    host.romOpen = true;
    ShowWindow(host.window, SW_SHOW);
    UpdateWindow(host.window);
    SetForegroundWindow(host.window);
    SetTimer(host.window, kPollTimer, kFrameMs, nullptr);

    int status = 0;
    if (selfCheck) {
        status = SelfCheck::Run(host.window, host.states[0], argc == 4 ? argv[2] : nullptr, argc == 4 ? argv[3] : nullptr);
        SendMessageA(host.window, WM_CLOSE, 0, 0);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    FreeLibrary(host.plugin.module);
    return status;
}
