#include "gfx/palette.h"
#include "gfx/rect.h"
#include "gfx_fixture.h"

namespace {

using Palettes = GfxTest;

Palette sample_palette() {
    Palette palette{};
    palette[3 * 1] = palette[3 * 1 + 1] = palette[3 * 1 + 2] = 63;
    palette[3 * 2] = 32;
    palette[3 * 2 + 1] = 16;
    palette[3 * 2 + 2] = 8;
    return palette;
}

TEST_F(Palettes, SixBitComponentsAreTimesFourInTheShownFrame) {
    set_palette(sample_palette());
    present_frame();
    const headless::Frame* frame = headless::last_frame();
    ASSERT_NE(frame, nullptr);
    const std::array<std::uint8_t, 9> first{0, 0, 0, 252, 252, 252, 128, 64, 32};
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(frame->rgb[i], first[i]) << i;
    EXPECT_EQ(palette_entries[1].flags, 2);
}

TEST_F(Palettes, ThePaletteObjectIsMadeOnceAndOnlyItsEntriesChangeAfterwards) {
    EXPECT_EQ(display.palette, nullptr);
    set_palette(sample_palette());
    const auto first = display.palette;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(display.front_buffer->palette(), first);
    Palette red{};
    red[0] = 63;
    set_palette(red);
    EXPECT_EQ(display.palette, first);
    EXPECT_EQ(display.front_buffer->palette(), first);
    EXPECT_EQ(headless::palettes_created(), 1);
    EXPECT_EQ(display.palette->entries()[0].red, 252);
    EXPECT_EQ(display.palette->entries()[1].red, 0);
}

TEST_F(Palettes, AFailedCreationIsTriedAgainNextTime) {
    headless::fail_video_call(headless::VideoCall::CreatePalette, platform::Result::OutOfMemory);
    set_palette(sample_palette());
    EXPECT_EQ(display.palette, nullptr);
    set_palette(sample_palette());
    EXPECT_NE(display.palette, nullptr);
}

TEST(PalettesAtOtherDepths, ChangeNothing) {
    headless::reset();
    ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", 16, 640, 480, 640, 480));
    EXPECT_EQ(display.green_bits, 6);
    palette_entries = {};
    Palette white{};
    white.fill(63);
    set_palette(white);
    EXPECT_EQ(display.palette, nullptr);
    EXPECT_EQ(headless::palettes_created(), 0);
    EXPECT_EQ(palette_entries[5].red, 0);
    close_display();
}

} // namespace
