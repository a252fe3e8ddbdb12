// Pictures into surfaces: the whole way from encoder and archive through the lookup and the
// decoder to the surface, on displays of every depth.

#include <algorithm>

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "formats/archive_writer.h"
#include "formats/pix_writer.h"
#include "platform/headless/headless.h"
#include "platform/headless/screen.h"
#include "res/picture.h"
#include "test_files.h"

namespace {

using platform::Result;

// The pixels of a surface, `width` pixels of depth / 8 bytes a row, without the pitch slack.
Bytes surface_bytes(const Surface& surface, int width, int height) {
    platform::LockedPixels locked;
    if (surface->lock(locked) != Result::Ok)
        return {};
    const std::size_t row = static_cast<std::size_t>(width) * (locked.depth / 8);
    Bytes out;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* start = locked.pixels + static_cast<std::size_t>(y) * locked.pitch;
        out.insert(out.end(), start, start + row);
    }
    surface->unlock();
    return out;
}

Bytes surface_bytes(const Surface& surface) {
    return surface_bytes(surface, surface->width(), surface->height());
}

class PictureLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        headless::reset();
    }
    void TearDown() override { close_display(); }
    void open(int depth) {
        ASSERT_TRUE(open_display(mode_fullscreen, "QM - Blokit", depth, 640, 480, 640, 480));
    }
    ScratchDirectory scratch;
};

TEST_F(PictureLoading, EncodedPictureTravelsThroughAnArchiveIntoASurface) {
    open(8);
    const Palette palette = test_palette();
    const Bytes indices = test_indices(640, 480);
    const Bytes title_indices = test_indices(320, 200);
    const std::vector<ArchiveMember> members = {
        {"QMLOGO.PIX", encode_pix(320, 200, title_indices, palette)},
        {"Hinters.Pix", encode_pix(640, 480, indices, palette)}};
    write_file("DATA.ONE", build_archive(members));

    Surface surface;
    Palette delivered{};
    EXPECT_EQ(load_picture("hinters.pix", surface, &delivered), 1);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->width(), 640);
    EXPECT_EQ(surface->height(), 480);
    EXPECT_EQ(surface_bytes(surface), indices);
    EXPECT_EQ(delivered, palette);

    Surface logo;
    EXPECT_EQ(load_picture("QMLOGO.PIX", logo, nullptr), 1);
    ASSERT_TRUE(logo);
    EXPECT_EQ(surface_bytes(logo), title_indices);
}

TEST_F(PictureLoading, MissingFileLeavesSurfaceAndPaletteAlone) {
    open(8);
    Surface surface;
    Palette palette = test_palette();
    EXPECT_EQ(load_picture("NOWHERE.PIX", surface, &palette), 0);
    EXPECT_FALSE(surface);
    EXPECT_EQ(palette, test_palette());
}

TEST_F(PictureLoading, ExistingSurfaceIsReusedAndFilledFromItsTopLeft) {
    open(8);
    write_file("SMALL.PIX", encode_pix(2, 2, Bytes{1, 2, 3, 4}, test_palette()));
    Surface surface;
    ASSERT_EQ(display.direct_draw->create_surface(3, 3, surface), Result::Ok);
    surface->color_fill({0, 0, 3, 3}, 9);
    const platform::Surface* before = surface.get();
    EXPECT_EQ(load_picture("SMALL.PIX", surface, nullptr), 1);
    EXPECT_EQ(surface.get(), before);
    EXPECT_EQ(surface_bytes(surface), (Bytes{1, 2, 9, 3, 4, 9, 9, 9, 9}));
}

TEST_F(PictureLoading, PictureLargerThanTheSurfaceIsCutToIt) {
    open(8);
    write_file("BIG.PIX",
               encode_pix(4, 4, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
                          test_palette()));
    Surface surface;
    ASSERT_EQ(display.direct_draw->create_surface(2, 3, surface), Result::Ok);
    EXPECT_EQ(load_picture("BIG.PIX", surface, nullptr), 1);
    EXPECT_EQ(surface_bytes(surface), (Bytes{1, 2, 5, 6, 9, 10}));
}

TEST_F(PictureLoading, SurfaceThatCannotBeCreatedGivesMinusTwo) {
    open(8);
    write_file("A.PIX", encode_pix(2, 1, Bytes{1, 2}, test_palette()));
    Surface surface;
    Palette palette{};
    headless::fail_video_call(headless::VideoCall::CreateSurface, Result::OutOfMemory);
    EXPECT_EQ(load_picture("A.PIX", surface, &palette), -2);
    EXPECT_FALSE(surface);
    EXPECT_EQ(palette, Palette{});

    // No picture in the file, nothing to make a surface of.
    write_file("A.GIF", Bytes(100, 1));
    EXPECT_EQ(load_picture("A.GIF", surface, &palette), -2);
    write_file("BAD.PIX", make_pix(-1, 5, 0, {}, test_palette()));
    EXPECT_EQ(load_picture("BAD.PIX", surface, &palette), -2);
    EXPECT_FALSE(surface);
}

TEST_F(PictureLoading, LockFailureLeavesTheSurfaceAsItWas) {
    open(8);
    write_file("A.PIX", encode_pix(2, 1, Bytes{1, 2}, test_palette()));
    Surface surface;
    ASSERT_EQ(display.direct_draw->create_surface(2, 1, surface), Result::Ok);
    surface->color_fill({0, 0, 2, 1}, 7);
    ASSERT_TRUE(headless::fail_next(*surface, Result::SurfaceLost, 1));
    Palette palette{};
    EXPECT_EQ(load_picture("A.PIX", surface, &palette), 1);
    EXPECT_EQ(surface_bytes(surface), (Bytes{7, 7}));
    EXPECT_EQ(palette, test_palette());
}

TEST_F(PictureLoading, SixteenBitDisplayGetsFiveSixFivePixels) {
    open(16);
    ASSERT_EQ(display.green_bits, 6);
    Palette palette{};
    palette[3] = 63; // index 1: (63, 0, 0)
    palette[6] = palette[7] = palette[8] = 63;
    write_file("C.PIX", encode_pix(3, 1, Bytes{1, 2, 0}, palette));
    Surface surface;
    EXPECT_EQ(load_picture("C.PIX", surface, nullptr), 1);
    EXPECT_EQ(surface->depth(), 16);
    EXPECT_EQ(surface_bytes(surface), (Bytes{0x00, 0xF8, 0xFF, 0xFF, 0, 0}));
}

TEST_F(PictureLoading, ThirtyTwoBitPixelsAlwaysEndInZero) {
    open(32);
    const DisplayFormat format = display_format();
    Bytes pic(static_cast<std::size_t>(format.width) * format.height * 4, 0xAB);
    write_file("SCREEN.PIC", pic);
    Surface surface;
    EXPECT_EQ(load_picture("SCREEN.PIC", surface, nullptr), 1);
    EXPECT_EQ(surface_bytes(surface, 2, 1), (Bytes{0xAB, 0xAB, 0xAB, 0, 0xAB, 0xAB, 0xAB, 0}));
}

TEST_F(PictureLoading, KeyedSheetLeavesIndexZeroOut) {
    open(8);
    write_file("SHEET.PIX", encode_pix(2, 1, Bytes{0, 5}, test_palette()));
    Surface sheet;
    ASSERT_EQ(load_picture("SHEET.PIX", sheet, nullptr), 1);
    set_source_color_key(sheet, 0);
    display.back_buffer->color_fill({0, 0, 2, 1}, 3);
    ASSERT_EQ(
        display.back_buffer->blt_fast(0, 0, *sheet, {0, 0, 2, 1}, platform::Copy::SourceColorKey),
        Result::Ok);
    EXPECT_EQ(surface_bytes(display.back_buffer, 2, 1), (Bytes{3, 5}));
}

TEST(PaletteHelpers, ClearPaletteBlacksEveryEntry) {
    Palette palette = test_palette();
    clear_palette(palette);
    EXPECT_EQ(palette, Palette{});
}

// JPEG pictures go straight into the surface; libjpeg's errors must not end the program.
class JpegLoading : public PictureLoading {
  protected:
    static Bytes red_and_blue() {
        Bytes rgb;
        for (int i = 0; i < 16 * 8; ++i) {
            const bool left = i % 16 < 8;
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(left ? 255 : 0), 0,
                                   static_cast<std::uint8_t>(left ? 0 : 255)});
        }
        return rgb;
    }
};

TEST_F(JpegLoading, PureRedBecomesF800OnA565Display) {
    open(16);
    write_file("RED.JPG", make_jpeg(16, 8, red_and_blue()));
    Surface surface;
    Palette palette = test_palette();
    EXPECT_EQ(load_picture("red.jpg", surface, &palette), 1);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->width(), 16);
    EXPECT_EQ(surface->height(), 8);
    const Bytes pixels = surface_bytes(surface);
    EXPECT_EQ(pixels[0] | pixels[1] << 8, 0xF800);
    EXPECT_EQ(pixels[30] | pixels[31] << 8, 0x001F);
    EXPECT_EQ(palette, test_palette());
}

TEST_F(JpegLoading, ThirtyTwoBitPixelsAreBlueGreenRedZero) {
    open(32);
    write_file("RED.JPG", make_jpeg(16, 8, red_and_blue()));
    Surface surface;
    EXPECT_EQ(load_picture("RED.JPG", surface, nullptr), 1);
    const Bytes pixels = surface_bytes(surface, 1, 1);
    EXPECT_LE(pixels[0], 2);
    EXPECT_EQ(pixels[1], 0);
    EXPECT_GE(pixels[2], 253);
    EXPECT_EQ(pixels[3], 0);
}

TEST_F(JpegLoading, ARefusedSurfaceIsAskedForOnceMore) {
    open(32);
    write_file("RED.JPG", make_jpeg(16, 8, red_and_blue()));
    Surface surface;
    headless::fail_video_call(headless::VideoCall::CreateSurface, Result::OutOfMemory);
    EXPECT_EQ(load_picture("RED.JPG", surface, nullptr), 1);
    ASSERT_TRUE(surface);
    EXPECT_GE(surface_bytes(surface, 1, 1)[2], 253);
}

TEST_F(JpegLoading, EightBitDisplayWritesNothing) {
    open(8);
    write_file("RED.JPG", make_jpeg(16, 8, red_and_blue()));
    Surface surface;
    EXPECT_EQ(load_picture("RED.JPG", surface, nullptr), 1);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface_bytes(surface), Bytes(16 * 8, 0));
}

TEST_F(JpegLoading, GreyscalePictureComesOutGrey) {
    open(24);
    write_file("GREY.JPG", make_jpeg(8, 8, Bytes(64, 128), true));
    Surface surface;
    EXPECT_EQ(load_picture("GREY.JPG", surface, nullptr), 1);
    const Bytes pixels = surface_bytes(surface, 1, 1);
    for (std::uint8_t sample : pixels)
        EXPECT_NEAR(sample, 128, 2);
}

TEST_F(JpegLoading, BrokenOrMissingFilesLeaveThePictureUndrawn) {
    open(16);
    Bytes jpeg = make_jpeg(16, 8, red_and_blue());
    Surface surface;
    EXPECT_EQ(load_picture("MISSING.JPG", surface, nullptr), 1);
    EXPECT_FALSE(surface);

    write_file("JUNK.JPG", Bytes(300, 0x5A));
    EXPECT_EQ(load_picture("JUNK.JPG", surface, nullptr), 1);
    EXPECT_FALSE(surface);

    Bytes broken = jpeg;
    std::fill(broken.begin() + static_cast<long>(broken.size()) / 2, broken.end(), 0xFF);
    write_file("BROKEN.JPG", broken);
    EXPECT_EQ(load_picture("BROKEN.JPG", surface, nullptr), 1);

    // Cut a few bytes into the scan data: the header is whole, the rows are not.
    const Bytes start_of_scan = {0xFF, 0xDA};
    const auto scan =
        std::search(jpeg.begin(), jpeg.end(), start_of_scan.begin(), start_of_scan.end());
    ASSERT_NE(scan, jpeg.end());
    Bytes cut(jpeg.begin(), scan + 20);
    write_file("CUT.JPG", cut);
    Surface cut_surface;
    EXPECT_EQ(load_picture("CUT.JPG", cut_surface, nullptr), 1);
    ASSERT_TRUE(cut_surface);
    EXPECT_EQ(cut_surface->width(), 16);
    EXPECT_EQ(cut_surface->height(), 8);
}

TEST_F(JpegLoading, SmallerExistingSurfaceIsNotOverrun) {
    open(32);
    write_file("RED.JPG", make_jpeg(16, 8, red_and_blue()));
    Surface surface;
    ASSERT_EQ(display.direct_draw->create_surface(4, 2, surface), Result::Ok);
    EXPECT_EQ(load_picture("RED.JPG", surface, nullptr), 1);
    const Bytes pixels = surface_bytes(surface);
    EXPECT_GE(pixels[4 * 4 + 2], 253);
}

} // namespace
