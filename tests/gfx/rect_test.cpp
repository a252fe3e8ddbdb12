#include "gfx/rect.h"
#include "gfx_fixture.h"

#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<int, int>>;

class Shapes : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        clear_back_buffer(0);
    }
    // The set pixels of the back buffer, column by column.
    static Points set_pixels() {
        Points points;
        for (int x = 0; x < 640; ++x)
            for (int y = 0; y < 480; ++y)
                if (pixel(display.back_buffer, x, y) != 0)
                    points.emplace_back(x, y);
        return points;
    }
};

TEST_F(Shapes, FilledRectanglesExcludeTheirRightAndBottomEdges) {
    draw_rect(display.back_buffer, 10, 10, 20, 15, 5, 1);
    EXPECT_EQ(count_not(display.back_buffer, 0), 10 * 5);
    EXPECT_EQ(pixel(display.back_buffer, 19, 14), 5);
    EXPECT_EQ(pixel(display.back_buffer, 20, 14), 0);
}

TEST_F(Shapes, OutlinesIncludeTheirRightAndBottomEdges) {
    draw_rect(display.back_buffer, 10, 10, 20, 15, 5, 0);
    EXPECT_EQ(count_not(display.back_buffer, 0), 2 * 11 + 2 * 4);
    EXPECT_EQ(pixel(display.back_buffer, 20, 15), 5);
    EXPECT_EQ(pixel(display.back_buffer, 15, 12), 0);
}

TEST_F(Shapes, RectanglesAreClampedToTheScreen) {
    draw_rect(display.back_buffer, -5, -5, 700, 500, 3, 1);
    EXPECT_EQ(count_not(display.back_buffer, 3), 0);
    clear_back_buffer(0);
    // The clamped right and bottom edges of an outline lie off the screen.
    draw_rect(display.back_buffer, -5, -5, 700, 500, 3, 0);
    EXPECT_EQ(count_not(display.back_buffer, 0), 640 + 480 - 1);
    clear_back_buffer(0);
    draw_rect(display.back_buffer, 700, 10, 800, 20, 3, 1);
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
}

TEST_F(Shapes, ALostFillIsRestoredAndRepeated) {
    headless::fail_next(*display.back_buffer, platform::Result::SurfaceLost, 1);
    draw_rect(display.back_buffer, 0, 0, 2, 2, 6, 1);
    EXPECT_EQ(headless::restores(),
              std::vector<const platform::Surface*>{display.back_buffer.get()});
    EXPECT_EQ(pixel(display.back_buffer, 1, 1), 6);
}

TEST_F(Shapes, ALineOfOnePointSetsOnePixel) {
    draw_line(display.back_buffer, 5, 5, 5, 5, 9);
    EXPECT_EQ(set_pixels(), (Points{{5, 5}}));
}

TEST_F(Shapes, AFlatLineStepsItsRowsInDoublePrecision) {
    draw_line(display.back_buffer, 0, 0, 4, 2, 9);
    EXPECT_EQ(set_pixels(), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
}

TEST_F(Shapes, SixAdditionsOfAThirdStayJustBelowTwoInEitherDirection) {
    const Points expected{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1},
                          {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 3}};
    draw_line(display.back_buffer, 0, 0, 9, 3, 9);
    EXPECT_EQ(set_pixels(), expected);
    clear_back_buffer(0);
    draw_line(display.back_buffer, 9, 3, 0, 0, 9);
    EXPECT_EQ(set_pixels(), expected);
}

TEST_F(Shapes, SteepLinesStepAlongTheirRows) {
    draw_line(display.back_buffer, 2, 4, 0, 0, 9);
    EXPECT_EQ(set_pixels(), (Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}));
}

TEST_F(Shapes, LinesAreClippedPixelByPixel) {
    draw_line(display.back_buffer, -10, 100, 10, 100, 9);
    Points expected;
    for (int x = 0; x <= 10; ++x)
        expected.emplace_back(x, 100);
    EXPECT_EQ(set_pixels(), expected);
    clear_back_buffer(0);
    draw_line(display.back_buffer, 700, 0, 700, 100, 9);
    draw_line(display.back_buffer, 640, 0, 640, 100, 9);
    draw_line(display.back_buffer, 0, 480, 100, 480, 9);
    draw_line(display.back_buffer, -2147483647 - 1, -5, 2147483647, -1, 9);
    EXPECT_EQ(count_not(display.back_buffer, 0), 0);
}

TEST_F(Shapes, ALineEndingPastTheScreenStopsAtTheEdge) {
    draw_line(display.back_buffer, 0, 0, 0, 2147483647, 9);
    EXPECT_EQ(count_not(display.back_buffer, 0), 480);
    EXPECT_EQ(pixel(display.back_buffer, 0, 479), 9);
}

TEST_F(Shapes, ASurfaceSmallerThanTheScreenIsNeverWrittenOutside) {
    const Surface small = make_surface(10, 10, 0);
    draw_line(small, 0, 0, 100, 100, 9);
    draw_line(small, 0, 5, 100, 5, 9);
    draw_rect(small, 5, 5, 50, 50, 9, 0);
    // The diagonal, the row but its crossing, the outline's left edge below
    // the row; its top edge lies on the row, the rest off the surface.
    EXPECT_EQ(count_not(small, 0), 10 + 9 + 4);
    EXPECT_EQ(pixel(small, 9, 9), 9);
}

TEST_F(Shapes, ALineLeavesItsSurfaceUnlockedAndALockedSurfaceGetsNoLine) {
    draw_line(display.back_buffer, 0, 0, 3, 0, 9);
    platform::LockedPixels locked;
    ASSERT_EQ(display.back_buffer->lock(locked), platform::Result::Ok);
    draw_line(display.back_buffer, 0, 1, 3, 1, 9);
    display.back_buffer->unlock();
    EXPECT_EQ(count_not(display.back_buffer, 0), 4);
}

TEST_F(Shapes, SixteenBitLinesWriteTheLowSixteenBitsOfTheColour) {
    Surface wide = std::make_shared<platform::Surface>(4, 1, 16);
    draw_line(wide, 1, 0, 1, 0, 0x12345678);
    platform::LockedPixels locked;
    ASSERT_EQ(wide->lock(locked), platform::Result::Ok);
    EXPECT_EQ(locked.pixels[2], 0x78);
    EXPECT_EQ(locked.pixels[3], 0x56);
    EXPECT_EQ(locked.pixels[4], 0);
    EXPECT_EQ(locked.pixels[1], 0);
    wide->unlock();
}

} // namespace
