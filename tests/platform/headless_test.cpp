#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::Message;
using platform::MessageKind;

TEST(HeadlessClock, MovesOnlyWhenTheProgramWaitsAndWrapsAt32Bits) {
    headless::reset(0xFFFFFFFEull);
    EXPECT_EQ(platform::time_ms(), 0xFFFFFFFEu);
    EXPECT_EQ(platform::time_ms(), 0xFFFFFFFEu);
    platform::idle();
    platform::idle();
    platform::idle();
    EXPECT_EQ(platform::time_ms(), 1u);
    EXPECT_EQ(platform::time_ms() - 0xFFFFFFFEu, 3u);

    // Waits with a due time move the clock as idle() does, however far off
    // the due time: runs stay step for step the same.
    platform::idle_until(500);
    Message message;
    EXPECT_FALSE(platform::peek_message(message, 500));
    EXPECT_EQ(platform::time_ms(), 3u);
}

TEST(HeadlessKeys, ScriptedPressesTakeEffectAtTheirTime) {
    headless::reset();
    headless::press_at(5, 'A');
    headless::release_at(8, 'A');
    EXPECT_FALSE(platform::key_is_down('A'));
    headless::advance(4);
    EXPECT_FALSE(platform::key_is_down('A'));
    headless::advance(1);
    EXPECT_TRUE(platform::key_is_down('A'));
    headless::advance(3);
    EXPECT_FALSE(platform::key_is_down('A'));
    EXPECT_FALSE(headless::script_pending());
}

TEST(HeadlessKeys, APollingLoopWithoutWaitsStillSeesTimePass) {
    headless::reset();
    headless::press_at(0, platform::vk::Escape);
    headless::release_at(3, platform::vk::Escape);
    headless::advance(0);
    long polls = 0;
    while (platform::key_is_down(platform::vk::Escape))
        ++polls;
    EXPECT_EQ(platform::time_ms(), 3u);
    EXPECT_GT(polls, 0);
}

std::vector<MessageKind> seen;
void record(const Message& message) {
    seen.push_back(message.kind);
    platform::default_window_procedure(message);
}

TEST(HeadlessMessages, CloseIsDestroyedByDefaultAndQuitEndsGetMessage) {
    headless::reset();
    seen.clear();
    platform::set_window_procedure(record);
    headless::post_at(10, {MessageKind::Close, 0});
    Message message;
    EXPECT_FALSE(platform::peek_message(message));
    EXPECT_EQ(platform::time_ms(), 1u) << "an empty peek lets a millisecond pass";
    ASSERT_TRUE(platform::get_message(message));
    EXPECT_EQ(platform::time_ms(), 10u);
    platform::dispatch_message(message);
    EXPECT_EQ(seen, (std::vector{MessageKind::Close, MessageKind::Destroy}));

    platform::post_quit_message(0);
    ASSERT_TRUE(platform::peek_message(message));
    EXPECT_EQ(message.kind, MessageKind::Quit);
    EXPECT_FALSE(platform::get_message(message));
    EXPECT_EQ(headless::queued_messages(), 0);
    platform::set_window_procedure(nullptr);
}

// A wait that only the script could end, and the script has nothing more.
TEST(HeadlessWaits, WhatNothingScriptedCanEndFailsNamingTheWait) {
    headless::reset();
    Message message;
    {
        // Passes of a loop for the player that may yet end by its own test.
        const platform::InputWait wait{"the test's wait"};
        for (int pass = 0; pass < 900; ++pass)
            platform::peek_message(message, 100);
    }
    // Other timed waits end by themselves: time passes as long as they like.
    for (int pass = 0; pass < 2000; ++pass)
        platform::idle_until(100);
    EXPECT_DEATH(
        {
            const platform::InputWait wait{"the test's wait"};
            for (;;)
                platform::idle_until(100);
        },
        "at 3900 ms, nothing more is scripted that could end the test's wait, which waits for a "
        "key or a window message");
    // Only a message ends this wait: it fails at once.
    EXPECT_DEATH(platform::wait_message(), "at 2900 ms, .* end the program, which waits for a "
                                           "window message");
}

} // namespace
