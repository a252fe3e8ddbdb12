#include "platform/language.h"
#include "platform/sdl/backend.h"
#include "platform/sdl/box_text.h"
#include "platform/sdl/sdl_window.h"
#include "platform/window.h"

#include <cstdio>
#include <vector>

namespace platform {
namespace {

struct Button {
    BoxAnswer answer;
    const char* label;
    Uint32 flags;
};

// The buttons are labelled in the user's language, as the system's own boxes are.
std::vector<Button> buttons_of(BoxButtons buttons) {
    constexpr Uint32 on_return = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    constexpr Uint32 on_escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    const bool german = (user_default_lang_id() & primary_language_mask) == lang_german;
    switch (buttons) {
    case BoxButtons::OkCancel:
        return {{BoxAnswer::Ok, "OK", on_return},
                {BoxAnswer::Cancel, german ? "Abbrechen" : "Cancel", on_escape}};
    case BoxButtons::YesNo:
        return {{BoxAnswer::Yes, german ? "Ja" : "Yes", on_return},
                {BoxAnswer::No, german ? "Nein" : "No", on_escape}};
    case BoxButtons::Ok:
        break;
    }
    return {{BoxAnswer::Ok, "OK", on_return | on_escape}};
}

Uint32 icon_flags(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Warning:
        return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Information:
        return SDL_MESSAGEBOX_INFORMATION;
    case BoxIcon::None:
        break;
    }
    return 0;
}

} // namespace

BoxAnswer message_box(Window* owner, const std::string& text, const std::string& caption,
                      BoxButtons buttons, BoxIcon icon) {
    const std::vector<Button> choices = buttons_of(buttons);
    std::vector<SDL_MessageBoxButtonData> data;
    for (std::size_t i = 0; i < choices.size(); ++i)
        data.push_back({choices[i].flags, static_cast<int>(i), choices[i].label});
    auto* game_window = dynamic_cast<sdl::GameWindow*>(owner);
    const std::string shown_text = sdl::widen_for_caption(sdl::expand_tabs(text), caption);
    const SDL_MessageBoxData box{icon_flags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                                 game_window ? game_window->handle() : nullptr,
                                 caption.c_str(),
                                 shown_text.c_str(),
                                 static_cast<int>(data.size()),
                                 data.data(),
                                 nullptr};
    // Starting the video takes long, mostly waiting for the display; done
    // here, it is over while the player reads the box and not after the
    // answer. Without a display the box cannot show either way.
    sdl::start_video();
    int pressed = -1;
    int shown = -1;
    {
        const sdl::Utf8Locale readable_texts;
        shown = SDL_ShowMessageBox(&box, &pressed);
    }
    if (shown != 0) {
        // Nobody can see a box: the message goes to the terminal at least.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
    if (pressed < 0 || pressed >= static_cast<int>(choices.size()))
        return buttons == BoxButtons::Ok ? BoxAnswer::Ok : choices.back().answer;
    return choices[static_cast<std::size_t>(pressed)].answer;
}

} // namespace platform
