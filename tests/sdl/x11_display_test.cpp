// The SDL backend on a real X server: a separate ctest entry runs these under
// xvfb-run with BLOKIT_TEST_ON_XVFB set; anywhere else they are skipped, so
// that no key is ever sent to a desktop.

#include "gfx/display.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool xdotool(const char* arguments) {
    return std::system((std::string("xdotool ") + arguments + " 2>/dev/null").c_str()) == 0;
}

// Idles as the game does, handling messages, until key A reads as `down`
// or `milliseconds` have passed; the time it stopped.
std::uint32_t idle_until_key_reads(bool down, std::uint32_t milliseconds) {
    platform::Message message;
    const std::uint32_t due = platform::time_ms() + milliseconds;
    while (platform::key_is_down('A') != down && platform::time_ms() < due)
        if (platform::peek_message(message, due))
            platform::get_message(message);
    return platform::time_ms();
}

// After the display has been quiet for longer than SDL is left unasked, a
// key pressed during a wait ends the wait at once and reads as down, and
// reads as up once let go. A wait that slept on through the key would end
// up to a tenth of a second late, which one of five presses would show.
TEST(OnX11, AKeyAfterAQuietSpellEndsTheWaitAndReadsAsDown) {
    if (std::getenv("BLOKIT_TEST_ON_XVFB") == nullptr)
        GTEST_SKIP() << "runs under xvfb-run only";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_TRUE(open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480));
    ASSERT_TRUE(xdotool("mousemove 320 240")); // keys go to the window under the pointer
    for (int press = 0; press < 5; ++press) {
        idle_until_key_reads(true, 300); // a quiet spell: no key comes
        ASSERT_FALSE(platform::key_is_down('A'));
        std::atomic<std::uint32_t> pressed{0};
        std::thread presser([&pressed] {
            std::this_thread::sleep_for(100ms);
            xdotool("keydown a");
            pressed = platform::time_ms();
        });
        const std::uint32_t seen = idle_until_key_reads(true, 2000);
        presser.join();
        EXPECT_LT(static_cast<std::int32_t>(seen - pressed), 50) << "press " << press;
        xdotool("keyup a");
        EXPECT_LT(idle_until_key_reads(false, 2000) - seen, 1000u);
    }
    close_display();
}

} // namespace
