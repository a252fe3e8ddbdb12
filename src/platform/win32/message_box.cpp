#include "platform/win32/backend.h"
#include "platform/win32/game_window.h"
#include "platform/window.h"

namespace platform {
namespace {

UINT style_of(BoxButtons buttons, BoxIcon icon) {
    UINT style = MB_SETFOREGROUND;
    if (buttons == BoxButtons::OkCancel)
        style |= MB_OKCANCEL;
    else if (buttons == BoxButtons::YesNo)
        style |= MB_YESNO;
    if (icon == BoxIcon::Information)
        style |= MB_ICONINFORMATION;
    else if (icon == BoxIcon::Warning)
        style |= MB_ICONWARNING;
    return style;
}

} // namespace

BoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                      BoxButtons buttons, BoxIcon icon) {
    auto* game_window = dynamic_cast<win32::GameWindow*>(owner);
    // The texts are UTF-8; the wide call shows every character of them.
    switch (MessageBoxW(game_window ? game_window->handle() : nullptr, win32::widen(text).c_str(),
                        win32::widen(caption).c_str(), style_of(buttons, icon))) {
    case IDOK:
        return BoxAnswer::Ok;
    case IDCANCEL:
        return BoxAnswer::Cancel;
    case IDYES:
        return BoxAnswer::Yes;
    case IDNO:
        return BoxAnswer::No;
    default: // no box could be shown
        return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
}

} // namespace platform
