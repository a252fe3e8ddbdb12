// The seed inputs of the fuzzing programs, made by the same builders as the tests. They are
// checked here to be files the decoders really take; with BLOKIT_SEED_CORPUS set to a
// directory they are also written there, one folder per fuzzing program.

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "formats/archive_writer.h"
#include "formats/pix_writer.h"
#include "res/jpeg_reader.h"
#include "res/picture_format.h"
#include "res/resource.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// Display choices of the picture fuzzers' first byte (see fuzz/fuzz_picture_input.h).
constexpr std::uint8_t depth8 = 0;
constexpr std::uint8_t depth16 = 1;
constexpr std::uint8_t depth32 = 3;
constexpr std::uint8_t tiny_display = 8;

Bytes with_choice(std::uint8_t choice, const Bytes& file) {
    Bytes input(file.size() + 1);
    input[0] = choice;
    std::copy(file.begin(), file.end(), input.begin() + 1);
    return input;
}

DisplayFormat display_of(std::uint8_t choice) {
    DisplayFormat format;
    format.depth = 8 * (1 + (choice & 3));
    format.green_bits = (choice & 4) != 0 ? 5 : 6;
    if ((choice & tiny_display) != 0)
        format = {17, 11, format.depth, format.green_bits};
    return format;
}

Bytes gradient_bgr(int width, int height) {
    Bytes bgr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bgr.insert(bgr.end(),
                       {static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 8),
                        static_cast<std::uint8_t>((x + y) * 4)});
    return bgr;
}

using Corpus = std::map<std::string, std::vector<Bytes>>;

Corpus picture_seeds() {
    const Palette palette = test_palette();
    Bytes pi1_planes = test_indices(320, 100);
    Bytes table(768);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<std::uint8_t>(i * 5);
    Bytes pic(17 * 11 * 2, 0x42);
    pic.insert(pic.end(), palette.begin(), palette.end());
    return {
        {"fuzz_pix",
         {with_choice(depth8, encode_pix(32, 24, test_indices(32, 24), palette)),
          with_choice(depth16, encode_pix(7, 5, Bytes(35, 9), palette)),
          with_choice(depth32 | tiny_display,
                      make_headerless_pix(pack_pix_runs(test_indices(17, 11)), palette))}},
        {"fuzz_tga",
         {with_choice(depth8, make_tga(16, 12, gradient_bgr(16, 12))),
          with_choice(tiny_display, make_tga(20, 20, gradient_bgr(20, 20)))}},
        {"fuzz_pi1", {with_choice(depth8, make_pi1({0x777, 0x700, 0x070, 0x007}, pi1_planes))}},
        {"fuzz_pcx",
         {with_choice(depth8, make_pcx(8, 4, 8, {0xC3, 5, 1, 2, 0xC4, 7, 0xF8, 3}, true, table)),
          with_choice(tiny_display, make_pcx(30, 30, 30, Bytes(300, 0xFF), false))}},
        {"fuzz_bmp",
         {with_choice(depth16, make_bmp(4, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8}, table)),
          with_choice(depth32, make_bmp(3, 3, 24, gradient_bgr(3, 3))),
          with_choice(depth16, make_bmp(2, 2, 16, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0, 0xFF, 0x7F}))}},
        {"fuzz_pic", {with_choice(depth16 | tiny_display, pic)}},
    };
}

PictureFormat format_of_target(const std::string& target) {
    return picture_format_of(("x." + target.substr(5)).c_str());
}

Corpus other_seeds() {
    Bytes grey(12 * 10, 90);
    return {
        {"fuzz_jpeg",
         {with_choice(depth16, make_jpeg(16, 8, gradient_bgr(16, 8))),
          with_choice(depth32, make_jpeg(12, 10, grey, true, 50))}},
        {"fuzz_archive",
         {build_archive(std::vector<ArchiveMember>{{"HINTERS.PIX", test_indices(10, 10)},
                                                   {"A", Bytes{1, 2, 3}}}),
          build_archive(std::vector<ArchiveMember>{{"a", {}}}, 'o')}},
    };
}

void write_corpus(const Corpus& corpus, const fs::path& directory) {
    for (const auto& [target, inputs] : corpus) {
        fs::create_directories(directory / target);
        for (std::size_t i = 0; i < inputs.size(); ++i)
            write_file(directory / target / ("seed_" + std::to_string(i)), inputs[i]);
    }
}

TEST(SeedCorpus, PictureSeedsAreWholePictures) {
    for (const auto& [target, inputs] : picture_seeds()) {
        for (const Bytes& input : inputs) {
            Image image;
            decode_picture(format_of_target(target), std::span(input).subspan(1),
                           display_of(input[0]), image);
            EXPECT_GT(image.width, 0) << target;
            EXPECT_GT(image.height, 0) << target;
        }
    }
}

TEST(SeedCorpus, JpegAndArchiveSeedsAreRead) {
    const Corpus corpus = other_seeds();
    for (const Bytes& input : corpus.at("fuzz_jpeg"))
        EXPECT_TRUE(JpegReader(std::span(input).subspan(1)).ok());
    ScratchDirectory scratch;
    for (const Bytes& archive : corpus.at("fuzz_archive")) {
        write_file("DATA.ONE", archive);
        std::FILE* member = find_archive_member("DATA.ONE", "a");
        ASSERT_NE(member, nullptr);
        std::fclose(member);
    }
}

TEST(SeedCorpus, WrittenWhenAsked) {
    const char* directory = std::getenv("BLOKIT_SEED_CORPUS");
    if (directory == nullptr)
        GTEST_SKIP() << "set BLOKIT_SEED_CORPUS to a directory to write the seeds";
    write_corpus(picture_seeds(), directory);
    write_corpus(other_seeds(), directory);
    EXPECT_TRUE(fs::exists(fs::path(directory) / "fuzz_jpeg" / "seed_0"));
}

} // namespace
