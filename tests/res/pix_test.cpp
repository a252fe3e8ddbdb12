// The PIX format: run-length packets, raw against packed data, both length widths, the
// headerless variant, and lengths that claim more than is there.

#include <gtest/gtest.h>

#include "formats/pix_writer.h"
#include "res/picture_decoders.h"
#include "res/pixel_conversion.h"
#include "test_files.h"

namespace {

constexpr DisplayFormat display8{640, 480, 8, 6};

Bytes unpack(const Bytes& packed, std::size_t room) {
    Bytes out(room, 0xEE);
    out.resize(unpack_pix_runs(packed, out));
    return out;
}

Image decode(const Bytes& file, const DisplayFormat& format = display8) {
    Image image;
    decode_pix(file, format, image);
    return image;
}

TEST(PixRuns, PacketsOfTheFormat) {
    EXPECT_EQ(unpack({0x83, 0x07}, 16), (Bytes{7, 7, 7}));
    EXPECT_EQ(unpack({0x02, 0x0A, 0x0B}, 16), (Bytes{10, 11}));
    EXPECT_EQ(unpack({0x80, 0x55, 0x00, 0x81, 0x01}, 16), (Bytes{1}));
    EXPECT_EQ(unpack({0xFF, 0x09}, 200), Bytes(127, 9));
}

TEST(PixRuns, OutputBeyondTheBufferIsDropped) {
    EXPECT_EQ(unpack({0x85, 0x01, 0x03, 4, 5, 6}, 4), (Bytes{1, 1, 1, 1}));
    EXPECT_EQ(unpack({0x02, 9, 9, 0x03, 4, 5, 6}, 3), (Bytes{9, 9, 4}));
}

TEST(PixRuns, InputEndingInsideAPacketStopsThere) {
    EXPECT_EQ(unpack({0x05, 1, 2}, 16), (Bytes{1, 2}));
    EXPECT_EQ(unpack({0x01, 3, 0x84}, 16), (Bytes{3}));
}

TEST(PixRuns, EncoderOutputUnpacksToTheSamePixels) {
    const Bytes indices = test_indices(333, 77);
    const Bytes packed = pack_pix_runs(indices);
    EXPECT_LT(packed.size(), indices.size());
    EXPECT_EQ(unpack(packed, indices.size()), indices);
    EXPECT_EQ(unpack(pack_pix_runs(Bytes(1000, 4)), 1000), Bytes(1000, 4));
    EXPECT_EQ(pack_pix_runs(Bytes{}), Bytes{});
}

TEST(PixFile, EncodedPictureDecodesExactly) {
    const Palette palette = test_palette();
    const Bytes indices = test_indices(640, 480);
    const Image image = decode(encode_pix(640, 480, indices, palette));
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 480);
    EXPECT_EQ(image.pixels, indices);
    EXPECT_EQ(image.palette, palette);
}

TEST(PixFile, EncoderStoresRawWhenPackingDoesNotPay) {
    Bytes noise(40 * 30);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 7 + i / 3);
    const Bytes file = encode_pix(40, 30, noise, test_palette());
    EXPECT_EQ(file.size(), 11 + 4 + noise.size() + 768);
    EXPECT_EQ(decode(file).pixels, noise);
}

TEST(PixFile, LengthFieldIs16BitOnlyAt320By200) {
    const Palette palette = test_palette();
    const Bytes small = encode_pix(320, 200, Bytes(64000, 3), palette);
    const Bytes other = encode_pix(320, 201, Bytes(64320, 3), palette);
    const Bytes packed = pack_pix_runs(Bytes(64000, 3));
    EXPECT_EQ(small.size(), 11 + 2 + packed.size() + 768);
    EXPECT_EQ(small[11] | small[12] << 8, static_cast<int>(packed.size()));
    EXPECT_EQ(other.size(), 11 + 4 + pack_pix_runs(Bytes(64320, 3)).size() + 768);
    EXPECT_EQ(decode(small).pixels, Bytes(64000, 3));
    EXPECT_EQ(decode(other).pixels, Bytes(64320, 3));
}

TEST(PixFile, LengthEqualToPixelCountMeansRaw) {
    const Palette palette = test_palette();
    // 0x83 0x07 ... read raw stays as it stands; read packed it would become runs of 7.
    Bytes data(64000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = i % 2 == 0 ? 0x83 : 0x07;
    EXPECT_EQ(decode(make_pix(320, 200, 64000, data, palette)).pixels, data);

    data.resize(63999);
    const Image packed = decode(make_pix(320, 200, 63999, data, palette));
    EXPECT_EQ(Bytes(packed.pixels.begin(), packed.pixels.begin() + 6), (Bytes{7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(packed.palette, palette);
}

TEST(PixFile, HeaderlessVariantIsDisplaySizedAndAlwaysPacked) {
    const DisplayFormat small{64, 48, 8, 6};
    const Palette palette = test_palette();
    const Bytes indices = test_indices(64, 48);
    const Image image = decode(make_headerless_pix(pack_pix_runs(indices), palette), small);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    EXPECT_EQ(image.pixels, indices);
    EXPECT_EQ(image.palette, palette);

    // A length equal to the pixel count is still packed data: 4 x 2 from 8 bytes.
    const Image packed =
        decode(make_headerless_pix({0x84, 5, 0x83, 6, 0x01, 7, 0x00, 0x00}, palette), {4, 2, 8, 6});
    EXPECT_EQ(packed.pixels, (Bytes{5, 5, 5, 5, 6, 6, 6, 7}));
}

TEST(PixFile, FormatByteOtherThanZeroReadsNothing) {
    Image image;
    image.palette.fill(9);
    decode_pix(make_pix(2, 2, 4, {1, 2, 3, 4}, test_palette(), 1), display8, image);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.pixels, Bytes(4, 0));
    EXPECT_EQ(image.palette[0], 9);
}

TEST(PixFile, ExpandsToTheDisplayDepth) {
    Palette palette{};
    palette[3] = 63; // index 1: (63, 0, 0)
    palette[6] = 63; // index 2: (63, 63, 63)
    palette[7] = 63;
    palette[8] = 63;
    const Bytes file = encode_pix(3, 1, Bytes{0, 1, 2}, palette);
    EXPECT_EQ(decode(file, {640, 480, 16, 6}).pixels, (Bytes{0, 0, 0x00, 0xF8, 0xFF, 0xFF}));
    EXPECT_EQ(decode(file, {640, 480, 16, 5}).pixels, (Bytes{0, 0, 0x00, 0x7C, 0xFF, 0x7F}));
    EXPECT_EQ(decode(file, {640, 480, 24, 6}).pixels, (Bytes{0, 0, 0, 0, 0, 252, 252, 252, 252}));
    EXPECT_EQ(decode(file, {640, 480, 32, 6}).pixels,
              (Bytes{0, 0, 0, 0, 0, 0, 252, 0, 252, 252, 252, 0}));
}

// Files that claim more than they hold must neither crash nor reach past a buffer.
TEST(HostilePix, LengthLargerThanTheBufferOrTheFile) {
    const Palette palette = test_palette();
    const Image huge = decode(make_pix(4, 4, 0xFFFFFFF0u, {0x90, 1}, palette));
    EXPECT_EQ(huge.pixels, Bytes(16, 1));
    const Image longer = decode(make_pix(4, 4, 100, Bytes(100, 0x7F), palette));
    EXPECT_EQ(longer.pixels.size(), 16u);
    const Image headerless = decode(make_headerless_pix(Bytes(40, 0x85), palette), {4, 2, 8, 6});
    EXPECT_EQ(headerless.pixels.size(), 8u);
}

TEST(HostilePix, SizesThatAreNoPicture) {
    for (auto [width, height] : {std::pair{-5, 10}, {10, -5}, {0, 10}, {32767, 32767}}) {
        const Image image = decode(make_pix(width, height, 1, {0}, test_palette()));
        EXPECT_EQ(image.width, 0) << width << " x " << height;
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(HostilePix, TruncatedFilesDecodeWhatIsThere) {
    Bytes file = encode_pix(64, 64, test_indices(64, 64), test_palette());
    for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{5}, std::size_t{10},
                            std::size_t{13}, file.size() / 2, file.size() - 1}) {
        const Bytes part(file.begin(), file.begin() + static_cast<long>(cut));
        const Image image = decode(part, {640, 480, 32, 6});
        EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height * 4)
            << cut;
    }
    file[4] = 0xFF; // data offset beyond the file
    EXPECT_EQ(decode(file).width, 64);
}

} // namespace
