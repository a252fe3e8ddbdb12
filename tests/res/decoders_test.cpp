// TGA, PI1, PCX and BMP pictures, and the choice of decoder by name.

#include <gtest/gtest.h>

#include "formats/pix_writer.h"
#include "res/picture_decoders.h"
#include "res/picture_format.h"
#include "res/pixel_conversion.h"
#include "test_files.h"

namespace {

constexpr DisplayFormat display8{640, 480, 8, 6};

Image decode_as(PictureFormat format, const Bytes& file, const DisplayFormat& display = display8,
                const Palette& start = {}) {
    Image image;
    image.palette = start;
    decode_picture(format, file, display, image);
    return image;
}

Bytes first_bytes(const Image& image, std::size_t count) {
    return Bytes(image.pixels.begin(), image.pixels.begin() + static_cast<long>(count));
}

std::array<std::uint8_t, 3> entry(const Palette& palette, int i) {
    return {palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]};
}

using Entry = std::array<std::uint8_t, 3>;

TEST(PictureName, ExtensionFoundAnywhereInTheOrderOfTheList) {
    EXPECT_EQ(picture_format_of("titels.pix"), PictureFormat::Pix);
    EXPECT_EQ(picture_format_of("TITELS.PIX"), PictureFormat::Pix);
    EXPECT_EQ(picture_format_of("A.PI1.PIX"), PictureFormat::Pi1);
    EXPECT_EQ(picture_format_of("A.PIX.PI1"), PictureFormat::Pi1);
    EXPECT_EQ(picture_format_of("photo.jpg.tga"), PictureFormat::Jpg);
    EXPECT_EQ(picture_format_of("x.Bmp"), PictureFormat::Bmp);
    EXPECT_EQ(picture_format_of("x.pcx"), PictureFormat::Pcx);
    EXPECT_EQ(picture_format_of("x.pic"), PictureFormat::Pic);
    EXPECT_EQ(picture_format_of("x.gif"), PictureFormat::Gif);
    EXPECT_EQ(picture_format_of("README"), PictureFormat::None);
    EXPECT_EQ(picture_format_of("PIX"), PictureFormat::None);
}

TEST(Tga, ColoursGetIndicesInOrderOfFirstAppearance) {
    // Blue, green, red triples: (3, 3, 3) reduces to black, then red, green, red again.
    const Bytes bgr = {3, 3, 3, 0, 0, 255, 0, 255, 0, 0, 0, 255, 40, 80, 120, 0, 0, 0};
    const Image image = decode_as(PictureFormat::Tga, make_tga(3, 2, bgr));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(first_bytes(image, 6), (Bytes{0, 1, 2, 1, 3, 0}));
    EXPECT_EQ(entry(image.palette, 1), (Entry{63, 0, 0}));
    EXPECT_EQ(entry(image.palette, 2), (Entry{0, 63, 0}));
    EXPECT_EQ(entry(image.palette, 3), (Entry{30, 20, 10}));
    EXPECT_EQ(entry(image.palette, 4), (Entry{0, 0, 0}));
}

TEST(Tga, BlackPictureGivesZeroPixelsAndABlackPalette) {
    Palette start;
    start.fill(33);
    const Image image =
        decode_as(PictureFormat::Tga, make_tga(2, 2, Bytes(12, 3)), display8, start);
    EXPECT_EQ(first_bytes(image, 4), Bytes(4, 0));
    EXPECT_EQ(image.palette, Palette{});
}

TEST(Tga, The256thColourBecomesIndexZero) {
    Bytes bgr;
    for (int i = 1; i <= 256; ++i) {
        bgr.push_back(static_cast<std::uint8_t>(i * 4)); // blue 1..63, then 0 for i = 64...
        bgr.push_back(static_cast<std::uint8_t>((i / 64) * 4 + 4));
        bgr.push_back(0);
    }
    // Colours that have an entry still find it afterwards.
    for (int i : {200, 1})
        bgr.insert(bgr.end(), bgr.begin() + 3 * (i - 1), bgr.begin() + 3 * i);
    const Image image = decode_as(PictureFormat::Tga, make_tga(258, 1, bgr));
    for (int i = 0; i < 255; ++i)
        EXPECT_EQ(image.pixels[i], i + 1);
    EXPECT_EQ(image.pixels[255], 0);
    EXPECT_EQ(image.pixels[256], 200);
    EXPECT_EQ(image.pixels[257], 1);
}

TEST(Tga, PictureLargerThanTheDisplayIsCutToTheBuffer) {
    const DisplayFormat tiny{8, 4, 8, 6};
    const Image image = decode_as(PictureFormat::Tga, make_tga(10, 10, Bytes(300, 200)), tiny);
    EXPECT_EQ(image.pixels.size(), 32u);
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(image.height, 3);
    const Image wide = decode_as(PictureFormat::Tga, make_tga(65535, 2, Bytes(60, 9)), tiny);
    EXPECT_EQ(wide.width, 0);
    EXPECT_EQ(wide.height, 0);
}

TEST(Pi1, PaletteWordsScaleToSixBits) {
    std::array<std::uint16_t, 16> words{};
    words[0] = 0x0777;
    words[1] = 0x0700;
    words[2] = 0x0070;
    words[3] = 0x0007;
    words[4] = 0x0123;
    Palette start;
    start.fill(50);
    const Image image =
        decode_as(PictureFormat::Pi1, make_pi1(words, Bytes(32000, 0)), display8, start);
    EXPECT_EQ(entry(image.palette, 0), (Entry{63, 63, 63}));
    EXPECT_EQ(entry(image.palette, 1), (Entry{63, 0, 0}));
    EXPECT_EQ(entry(image.palette, 2), (Entry{0, 63, 0}));
    EXPECT_EQ(entry(image.palette, 3), (Entry{0, 0, 63}));
    EXPECT_EQ(entry(image.palette, 4), (Entry{9, 18, 27}));
    EXPECT_EQ(entry(image.palette, 16), (Entry{50, 50, 50}));
    EXPECT_EQ(image.width, 320);
    EXPECT_EQ(image.height, 200);
}

TEST(Pi1, BitPlanesMakeIndices) {
    Bytes planes(32000, 0);
    // First group: plane 0 = 0x8000, plane 1 = 0x8001, plane 2 = 0x0001, plane 3 = 0x4000.
    const Bytes group = {0x80, 0x00, 0x80, 0x01, 0x00, 0x01, 0x40, 0x00};
    std::copy(group.begin(), group.end(), planes.begin());
    planes[8 * 20] = 0xFF; // second row, plane 0 of the first 8 pixels
    const Image image = decode_as(PictureFormat::Pi1, make_pi1({}, planes));
    EXPECT_EQ(image.pixels[0], 3);
    EXPECT_EQ(image.pixels[1], 8);
    EXPECT_EQ(image.pixels[15], 6);
    EXPECT_EQ(image.pixels[2], 0);
    EXPECT_EQ(image.pixels[320 + 7], 1);
    EXPECT_EQ(image.pixels[320 + 8], 0);
}

TEST(Pi1, ShortFileAndSmallDisplayStayInBounds) {
    const Image shortfile = decode_as(PictureFormat::Pi1, Bytes{0, 0, 0x07, 0x77});
    EXPECT_EQ(entry(shortfile.palette, 0), (Entry{63, 63, 63}));
    EXPECT_EQ(entry(shortfile.palette, 1), (Entry{0, 0, 0}));
    // A group cut off after two of its four plane words: the others read as 0.
    Bytes cut = make_pi1({}, {});
    cut.resize(cut.size() + 4, 0xFF);
    const Image cut_image = decode_as(PictureFormat::Pi1, cut);
    EXPECT_EQ(cut_image.pixels[0], 3);
    EXPECT_EQ(cut_image.pixels[15], 3);
    EXPECT_EQ(cut_image.pixels[16], 0);
    const Image small =
        decode_as(PictureFormat::Pi1, make_pi1({}, Bytes(32000, 0xFF)), {100, 100, 8, 6});
    EXPECT_EQ(small.width, 320);
    EXPECT_EQ(small.height, 31);
    EXPECT_EQ(small.pixels[9999], 15);
}

TEST(Pcx, RunsAndLiterals) {
    Bytes rgb(768, 0);
    rgb[3] = 255;
    rgb[4] = 128;
    rgb[5] = 7;
    const Image image =
        decode_as(PictureFormat::Pcx, make_pcx(4, 1, 4, {0xC3, 0x05, 0x3F}, true, rgb));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(first_bytes(image, 4), (Bytes{5, 5, 5, 0x3F}));
    EXPECT_EQ(entry(image.palette, 1), (Entry{63, 32, 1}));
}

TEST(Pcx, ZeroCountAndOverlongRuns) {
    const Image image =
        decode_as(PictureFormat::Pcx, make_pcx(3, 2, 3, {0xC0, 9, 0xC4, 1, 0xFF, 2, 7}, false));
    EXPECT_EQ(first_bytes(image, 7), (Bytes{1, 1, 1, 1, 2, 2, 0}));
}

TEST(Pcx, WithoutMarkerThePaletteIsUntouched) {
    Palette start = test_palette();
    Bytes file = make_pcx(2, 1, 2, {1, 2}, false);
    file.resize(2000, 0);
    EXPECT_EQ(decode_as(PictureFormat::Pcx, file, display8, start).palette, start);
}

TEST(Pcx, HostileSizesStayInTheBuffer) {
    const DisplayFormat tiny{8, 8, 8, 6};
    const Image big =
        decode_as(PictureFormat::Pcx, make_pcx(32000, 32000, 32000, Bytes(900, 0xFF), false), tiny);
    EXPECT_EQ(big.width, 0);
    const Image tall =
        decode_as(PictureFormat::Pcx, make_pcx(8, 100, 8, {0xFF, 3, 0xFF, 4}, false), tiny);
    EXPECT_EQ(tall.height, 8);
    Bytes expected(63, 3);
    expected.push_back(4);
    EXPECT_EQ(tall.pixels, expected);
    const Image negative =
        decode_as(PictureFormat::Pcx, make_pcx(-3, 4, -1, {0xC5, 1}, false), tiny);
    EXPECT_EQ(negative.width, 0);
    EXPECT_EQ(decode_as(PictureFormat::Pcx, Bytes(20, 0xC1), tiny).width, 0);
}

TEST(Bmp, EightBitRowsAreStoredBottomUp) {
    Bytes table(768, 0);
    table[3 * 2 + 2] = 255; // index 2: red
    const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8};
    const Image image = decode_as(PictureFormat::Bmp, make_bmp(4, 2, 8, rows, table));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (Bytes{5, 6, 7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(entry(image.palette, 2), (Entry{63, 0, 0}));

    const Image deep =
        decode_as(PictureFormat::Bmp, make_bmp(1, 1, 8, {2}, table), {640, 480, 32, 6});
    EXPECT_EQ(deep.pixels, (Bytes{0, 0, 252, 0}));
    const Image wide =
        decode_as(PictureFormat::Bmp, make_bmp(1, 1, 8, {2}, table), {640, 480, 16, 6});
    EXPECT_EQ(wide.pixels, (Bytes{0x00, 0xF8}));
}

TEST(Bmp, TrueColourKeepsItsByteOrderOrIsNotDecoded) {
    const Bytes rows = {10, 20, 30, 40, 50, 60};
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 24, rows), {640, 480, 24, 6}).pixels,
              rows);
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 24, rows), {640, 480, 32, 6}).pixels,
              (Bytes{10, 20, 30, 0, 40, 50, 60, 0}));
    EXPECT_EQ(
        decode_as(PictureFormat::Bmp, make_bmp(2, 1, 24, {0, 0, 255, 0, 0, 0}), {640, 480, 16, 6})
            .pixels,
        (Bytes{0x00, 0xF8, 0, 0}));
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 24, rows)).pixels, Bytes(2, 0));
    Palette start = test_palette();
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 24, rows), display8, start).palette,
              start);
}

TEST(Bmp, SixteenBitWordsOnlyOnA16BitDisplay) {
    // Word 0x7C00 is pure red in 5-5-5.
    const Bytes rows = {0x00, 0x7C, 0x1F, 0x00};
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 16, rows), {640, 480, 16, 6}).pixels,
              (Bytes{0x00, 0xF8, 0x1F, 0x00}));
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 16, rows), {640, 480, 16, 5}).pixels,
              (Bytes{0x00, 0x7C, 0x1F, 0x00}));
    EXPECT_EQ(decode_as(PictureFormat::Bmp, make_bmp(2, 1, 16, rows), {640, 480, 24, 6}).pixels,
              Bytes(6, 0));
}

TEST(Bmp, WiderThanAn8BitDisplayTakesADisplayRowPerRow) {
    const Image image =
        decode_as(PictureFormat::Bmp, make_bmp(3, 2, 8, {1, 2, 3, 4, 5, 6}), {2, 2, 8, 6});
    EXPECT_EQ(image.pixels, (Bytes{3, 4, 0, 1, 2, 0}));
}

TEST(Bmp, HostileHeadersAndShortRows) {
    for (auto [width, height] :
         {std::pair{-4, 2}, {4, -2}, {0, 2}, {0x7FFFFFFF, 0x7FFFFFFF}, {1 << 20, 1 << 20}}) {
        const Image image = decode_as(PictureFormat::Bmp, make_bmp(width, height, 8, {1, 2}));
        EXPECT_EQ(image.width, 0) << width << " x " << height;
        EXPECT_TRUE(image.pixels.empty());
    }
    const Image cut =
        decode_as(PictureFormat::Bmp, make_bmp(4, 3, 24, Bytes(20, 7)), {640, 480, 24, 6});
    // 20 bytes hold six whole pixels: the bottom row and half of the middle one.
    EXPECT_EQ(first_bytes(cut, 24),
              (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(cut.pixels.begin() + 24, cut.pixels.end()), Bytes(12, 7));
    Bytes beyond = make_bmp(2, 2, 8, {1, 2, 3, 4});
    beyond[10] = 0xFF;
    beyond[13] = 0xFF; // pixel data offset far beyond the file
    EXPECT_EQ(decode_as(PictureFormat::Bmp, beyond).pixels, Bytes(4, 0));
    EXPECT_EQ(decode_as(PictureFormat::Bmp, Bytes{'B', 'M'}).width, 0);
}

TEST(Pic, DisplayFormatPixelsThenPalette) {
    const DisplayFormat small{2, 2, 16, 6};
    Bytes file = {1, 2, 3, 4, 5, 6, 7, 8};
    const Palette palette = test_palette();
    file.insert(file.end(), palette.begin(), palette.end());
    const Image image = decode_as(PictureFormat::Pic, file, small);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(image.palette, palette);
}

TEST(PictureName, NamesWithoutADecoderGiveNoPicture) {
    const Bytes file = encode_pix(2, 2, Bytes(4, 1), test_palette());
    EXPECT_EQ(decode_as(PictureFormat::Gif, file).width, 0);
    EXPECT_EQ(decode_as(PictureFormat::None, file).width, 0);
    EXPECT_EQ(decode_as(PictureFormat::Pix, file).width, 2);
}

} // namespace
