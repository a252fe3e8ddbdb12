#include "gfx_fixture.h"

#include <vector>

namespace {

using platform::Copy;
using platform::Rect;
using platform::Result;

// Source pixel (x, y) holds x + 16 y + 1, so index 0 never occurs by chance.
std::uint8_t numbered(int x, int y) {
    return static_cast<std::uint8_t>(x + 16 * y + 1);
}

using SurfaceCopies = GfxTest;

TEST_F(SurfaceCopies, RectanglesOutsideEitherSurfaceAreRejectedAndDrawNothing) {
    const Surface source = make_surface(10, 10, numbered);
    const Surface target = make_surface(20, 20, 0);
    const std::vector<std::pair<Rect, std::pair<int, int>>> refused{
        {{0, 0, 11, 10}, {0, 0}},  {{-1, 0, 5, 5}, {0, 0}},           {{0, 0, 10, 10}, {11, 0}},
        {{0, 0, 10, 10}, {-1, 5}}, {{0, 0, 10, 10}, {5, 11}},         {{5, 5, 5, 8}, {0, 0}},
        {{6, 0, 4, 4}, {0, 0}},    {{0, 0, 10, 10}, {2147483640, 0}},
    };
    for (const auto& [rect, at] : refused)
        EXPECT_EQ(target->blt_fast(at.first, at.second, *source, rect, Copy::Opaque),
                  Result::InvalidRect)
            << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << " at "
            << at.first << "," << at.second;
    EXPECT_EQ(count_not(target, 0), 0);
    EXPECT_EQ(target->color_fill({15, 15, 21, 20}, 9), Result::InvalidRect);
    EXPECT_EQ(count_not(target, 0), 0);
}

TEST_F(SurfaceCopies, ACopyTouchingTheFarEdgesIsAccepted) {
    const Surface source = make_surface(10, 10, numbered);
    const Surface target = make_surface(20, 20, 0);
    EXPECT_EQ(target->blt_fast(10, 10, *source, {0, 0, 10, 10}, Copy::Opaque), Result::Ok);
    EXPECT_EQ(pixel(target, 19, 19), numbered(9, 9));
    EXPECT_EQ(pixel(target, 10, 10), numbered(0, 0));
    EXPECT_EQ(pixel(target, 9, 10), 0);
}

TEST_F(SurfaceCopies, KeyedCopiesLeaveKeyPixelsOutAndOpaqueCopiesWriteThem) {
    const Surface source = make_surface(4, 1, [](int x, int) { return x % 2 ? 5 : 0; });
    source->set_color_key(0);
    const Surface target = make_surface(4, 2, 7);
    target->blt_fast(0, 0, *source, {0, 0, 4, 1}, Copy::SourceColorKey);
    target->blt_fast(0, 1, *source, {0, 0, 4, 1}, Copy::Opaque);
    const std::vector<std::uint8_t> keyed{7, 5, 7, 5};
    const std::vector<std::uint8_t> opaque{0, 5, 0, 5};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixel(target, x, 0), keyed[x]);
        EXPECT_EQ(pixel(target, x, 1), opaque[x]);
    }
}

TEST_F(SurfaceCopies, WiderPixelsCompareTheWholeKeyAndFillWithTheLowBits) {
    for (int depth : {16, 24, 32}) {
        platform::Surface source(2, 1, depth);
        platform::Surface target(2, 1, depth);
        platform::LockedPixels locked;
        ASSERT_EQ(source.lock(locked), Result::Ok);
        // Pixel 0 equals the key only in its low byte; pixel 1 is the key.
        locked.pixels[0] = 0x34;
        locked.pixels[1] = 0x99;
        locked.pixels[depth / 8] = 0x34;
        locked.pixels[depth / 8 + 1] = 0x12;
        source.unlock();
        source.set_color_key(0x1234);
        ASSERT_EQ(target.color_fill({0, 0, 2, 1}, 0xAABBCCDD), Result::Ok);
        ASSERT_EQ(target.blt_fast(0, 0, source, {0, 0, 2, 1}, Copy::SourceColorKey), Result::Ok);
        ASSERT_EQ(target.lock(locked), Result::Ok);
        EXPECT_EQ(locked.pixels[0], 0x34) << depth;
        EXPECT_EQ(locked.pixels[1], 0x99) << depth;
        EXPECT_EQ(locked.pixels[depth / 8], 0xDD) << depth;
        EXPECT_EQ(locked.pixels[depth / 8 + 1], 0xCC) << depth;
        if (depth == 32) {
            EXPECT_EQ(locked.pixels[7], 0xAA);
        }
        EXPECT_GE(locked.pitch, 2 * depth / 8);
        target.unlock();
    }
}

TEST_F(SurfaceCopies, OverlappingCopiesWithinOneSurfaceComeOutAsIfCopiedAtOnce) {
    const Surface surface = make_surface(8, 1, [](int x, int) { return x + 1; });
    ASSERT_EQ(surface->blt_fast(2, 0, *surface, {0, 0, 6, 1}, Copy::Opaque), Result::Ok);
    const std::vector<std::uint8_t> expected{1, 2, 1, 2, 3, 4, 5, 6};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(pixel(surface, x, 0), expected[x]);
}

TEST_F(SurfaceCopies, BltShrinksToItsDestinationByNearestPixel) {
    const Surface source = make_surface(4, 2, numbered);
    const Surface target = make_surface(2, 1, 0);
    ASSERT_EQ(target->blt({0, 0, 2, 1}, *source, {0, 0, 4, 2}, Copy::Opaque), Result::Ok);
    EXPECT_EQ(pixel(target, 0, 0), numbered(0, 0));
    EXPECT_EQ(pixel(target, 1, 0), numbered(2, 0));
}

TEST_F(SurfaceCopies, ALockedSurfaceRefusesCopiesAndASecondLock) {
    const Surface surface = make_surface(4, 4, 0);
    const Surface other = make_surface(4, 4, 3);
    platform::LockedPixels locked;
    ASSERT_EQ(surface->lock(locked), Result::Ok);
    EXPECT_EQ(surface->lock(locked), Result::SurfaceBusy);
    EXPECT_EQ(surface->blt_fast(0, 0, *other, {0, 0, 4, 4}, Copy::Opaque), Result::SurfaceBusy);
    EXPECT_EQ(other->blt_fast(0, 0, *surface, {0, 0, 4, 4}, Copy::Opaque), Result::SurfaceBusy);
    EXPECT_EQ(surface->unlock(), Result::Ok);
    EXPECT_EQ(surface->unlock(), Result::NotLocked);
    EXPECT_EQ(count_not(surface, 0), 0);
}

TEST_F(SurfaceCopies, AClipperCutsCopiesToTheSurfaceInsteadOfRefusingThem) {
    const Surface source = make_surface(10, 10, numbered);
    const Surface target = make_surface(8, 8, 0);
    target->set_clipper(std::make_shared<platform::Clipper>());
    ASSERT_EQ(target->blt({-2, -3, 8, 7}, *source, {0, 0, 10, 10}, Copy::Opaque), Result::Ok);
    EXPECT_EQ(pixel(target, 0, 0), numbered(2, 3));
    EXPECT_EQ(pixel(target, 7, 6), numbered(9, 9));
    EXPECT_EQ(pixel(target, 7, 7), 0);
    EXPECT_EQ(target->color_fill({-100, 7, 100, 100}, 4), Result::Ok);
    EXPECT_EQ(pixel(target, 0, 7), 4);
}

TEST_F(SurfaceCopies, InjectedFaultsAnswerTheNextOperationsThenClear) {
    const Surface source = make_surface(2, 2, 1);
    const Surface target = make_surface(2, 2, 0);
    ASSERT_TRUE(headless::fail_next(*source, Result::SurfaceLost, 2));
    EXPECT_EQ(target->blt_fast(0, 0, *source, {0, 0, 2, 2}, Copy::Opaque), Result::SurfaceLost);
    EXPECT_EQ(target->blt_fast(0, 0, *source, {0, 0, 2, 2}, Copy::Opaque), Result::SurfaceLost);
    EXPECT_EQ(count_not(target, 0), 0);
    EXPECT_EQ(target->blt_fast(0, 0, *source, {0, 0, 2, 2}, Copy::Opaque), Result::Ok);
    EXPECT_EQ(count_not(target, 1), 0);
    platform::Surface foreign(2, 2, 8);
    EXPECT_FALSE(headless::fail_next(foreign, Result::SurfaceLost, 1));
}

TEST_F(SurfaceCopies, SurfacesOfImpossibleSizesAreNotMade) {
    Surface surface;
    EXPECT_EQ(display.direct_draw->create_surface(0, 10, surface), Result::InvalidParams);
    EXPECT_EQ(display.direct_draw->create_surface(10, -1, surface), Result::InvalidParams);
    EXPECT_EQ(display.direct_draw->create_surface(100000, 10, surface), Result::InvalidParams);
    EXPECT_EQ(surface, nullptr);
}

} // namespace
