#include "platform/present.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::Rect;

TEST(ShownPicture, FindsTheBandOfRowsThatChangedWithinTheArea) {
    constexpr int width = 8;
    constexpr int height = 6;
    constexpr int pitch = 10; // wider than the picture, as surfaces may be
    std::vector<std::uint8_t> pixels(pitch * height, 0);
    platform::ShownPicture shown(width, height);
    const Rect whole{0, 0, width, height};

    EXPECT_EQ(shown.update(pixels.data(), pitch, whole).height(), 0);

    pixels[1 * pitch + 7] = 5;
    pixels[4 * pitch + 0] = 9;
    Rect changed = shown.update(pixels.data(), pitch, whole);
    EXPECT_EQ(changed.top, 1);
    EXPECT_EQ(changed.bottom, 5);
    EXPECT_EQ(changed.left, 0);
    EXPECT_EQ(changed.right, width);
    // Shown now: the same picture again changes nothing.
    EXPECT_EQ(shown.update(pixels.data(), pitch, whole).height(), 0);

    // A change outside the area's columns is neither reported nor taken
    // into the copy, so a later present of it still shows it.
    pixels[2 * pitch + 6] = 1;
    EXPECT_EQ(shown.update(pixels.data(), pitch, {0, 0, 6, height}).height(), 0);
    changed = shown.update(pixels.data(), pitch, {4, 2, 8, 3});
    EXPECT_EQ(changed.top, 2);
    EXPECT_EQ(changed.bottom, 3);
    EXPECT_EQ(changed.left, 4);
}

} // namespace
