#include "app/app_fixture.h"

#include "app/window_proc.h"
#include "game/session.h"
#include "gfx/display.h"
#include "platform/messages.h"

using platform::MessageKind;

class WindowProcTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        platform::set_window_procedure(main_window_proc);
        ASSERT_TRUE(open_display(mode_windowed, "QM - Blokit", 8, 640, 480, 640, 480));
    }
    static void send(MessageKind kind, std::intptr_t wparam = 0) {
        platform::dispatch_message({kind, wparam});
    }
};

TEST_F(WindowProcTest, ActivationFollowsTheLastActivateAppAndRestoresOnlyAfterADeactivation) {
    send(MessageKind::ActivateApp, 1);
    EXPECT_EQ(app_active, 1);
    EXPECT_TRUE(headless::restores().empty());
    send(MessageKind::ActivateApp, 0);
    EXPECT_EQ(app_active, 0);
    EXPECT_TRUE(surfaces_need_restore);
    send(MessageKind::ActivateApp, 1);
    ASSERT_EQ(headless::restores().size(), 2u);
    EXPECT_EQ(headless::restores()[0], display.front_buffer.get());
    EXPECT_EQ(headless::restores()[1], display.back_buffer.get());
    // Once set, every later activation restores again.
    send(MessageKind::ActivateApp, 1);
    EXPECT_EQ(headless::restores().size(), 4u);
}

TEST_F(WindowProcTest, ClosingTheWindowRequestsTheQuitWithoutAQuitMessage) {
    ASSERT_FALSE(quit_requested);
    send(MessageKind::Close);
    EXPECT_TRUE(quit_requested);
    EXPECT_TRUE(window_destroyed);
    EXPECT_EQ(headless::queued_messages(), 0);
    // Before the shut-down has begun the settings are left to it.
    EXPECT_FALSE(stored_setting("Options"));
    EXPECT_TRUE(display.back_buffer);
}

TEST_F(WindowProcTest, TheWindowsEndDuringTheShutDownStoresTheSettingsAndReleasesTheDisplay) {
    shutting_down = true;
    send(MessageKind::Destroy);
    EXPECT_EQ(stored_setting("Options"), "0 0");
    EXPECT_FALSE(display.back_buffer);
}

TEST_F(WindowProcTest, ThePointerOverTheWindowHidesTheCursor) {
    platform::set_cursor(platform::Cursor::Arrow);
    send(MessageKind::SetCursor);
    EXPECT_EQ(headless::current_cursor(), platform::Cursor::None);
}

TEST_F(WindowProcTest, PaintShowsTheBackBufferInAWindow) {
    clear_back_buffer(42);
    const auto before = headless::frames_presented();
    send(MessageKind::Paint);
    ASSERT_GT(headless::frames_presented(), before);
    EXPECT_EQ(headless::last_frame()->at(320, 240), 42);
}
