// blokit-foreground-switch SECONDS: another program taking the foreground
// from the game, as a player's Alt+Tab does, for the Wine end-to-end run. It
// shows a window of its own in front for SECONDS, then hands the foreground
// back to the game's window and ends; exit code 1 when that window is not
// there.

#include <windows.h>

#include <cstdlib>

namespace {

void pump_for(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    const DWORD seconds = static_cast<DWORD>(std::strtoul(arguments, nullptr, 10));
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = L"BlokitForegroundSwitch";
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, window_class.lpszClassName, L"Another program",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                  nullptr, instance, nullptr);
    SetForegroundWindow(window);
    pump_for(seconds * 1000);
    // As the task switcher does: a minimised window is restored first.
    HWND game = FindWindowW(nullptr, L"QM - Blokit");
    if (game && IsIconic(game))
        ShowWindow(game, SW_RESTORE);
    if (game)
        SetForegroundWindow(game);
    DestroyWindow(window);
    return game ? 0 : 1;
}
