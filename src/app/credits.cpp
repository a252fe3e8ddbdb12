#include "app/credits.h"

#include "game/session.h"
#include "platform/window.h"

namespace {

constexpr const char* english_credits =
    "Programming and graphics: Quillmoor Software\n"
    "Music and samples: Quillmoor Sound Studio\n"
    "\n"
    "Blokit is freeware under the MIT licence. Please pass it on to your friends.\n"
    "\n"
    "E-mail:\n"
    "\tblokit@quillmoor.example\n"
    "Mail:\n"
    "\tQuillmoor Software, Mill Lane 7, 12345 Quillmoor\n"
    "Home page:\n"
    "\thttps://www.quillmoor.example/blokit\n"
    "\n"
    "Do you want to play Blokit in fullscreen-mode?";

constexpr const char* german_credits =
    "Programmierung und Grafik: Quillmoor Software\n"
    "Musik und Samples: Quillmoor Tonstudio\n"
    "\n"
    "Blokit ist Freeware unter der MIT-Lizenz. Bitte gib es an deine Freunde weiter.\n"
    "\n"
    "E-Mail:\n"
    "\tblokit@quillmoor.example\n"
    "Post:\n"
    "\tQuillmoor Software, Mühlenweg 7, 12345 Quillmoor\n"
    "Homepage:\n"
    "\thttps://www.quillmoor.example/blokit\n"
    "\n"
    "Möchtest du das Spiel im Vollbildmodus spielen?";

constexpr const char* english_no_fullscreen =
    "This display cannot switch to full screen (640 x 480 pixels, 256 colours), "
    "so Blokit plays in a window.";

constexpr const char* german_no_fullscreen =
    "Dieser Bildschirm kann nicht in den Vollbildmodus (640 x 480 Pixel, 256 Farben) "
    "umschalten, darum spielt Blokit im Fenster.";

} // namespace

const char* credits_text(bool english) {
    return english ? english_credits : german_credits;
}

bool ask_fullscreen() {
    return platform::message_box(nullptr, credits_text(use_english), "QM-Blokit",
                                 platform::BoxButtons::YesNo,
                                 platform::BoxIcon::Information) == platform::BoxAnswer::Yes;
}

void tell_fullscreen_refused(platform::Window* window) {
    platform::message_box(window, use_english ? english_no_fullscreen : german_no_fullscreen,
                          "QM-Blokit", platform::BoxButtons::Ok, platform::BoxIcon::Information);
}
