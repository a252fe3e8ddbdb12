// Picture decoding and resource lookup costs.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "formats/archive_writer.h"
#include "formats/pix_writer.h"
#include "res/picture_decoders.h"
#include "res/resource.h"

namespace fs = std::filesystem;

namespace {

// A 640 x 480 background-like picture: horizontal bands with some speckle, so it packs.
std::vector<std::uint8_t> background_indices() {
    std::mt19937 random(7);
    std::vector<std::uint8_t> indices(640 * 480);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = random() % 16 == 0 ? static_cast<std::uint8_t>(random())
                                        : static_cast<std::uint8_t>(i / 640 / 8 + i % 640 / 64);
    return indices;
}

void decode_packed_pix(benchmark::State& state) {
    Palette palette{};
    const auto file = encode_pix(640, 480, background_indices(), palette);
    const DisplayFormat format{640, 480, static_cast<std::int32_t>(state.range(0)), 6};
    for (auto _ : state) {
        Image image;
        decode_pix(file, format, image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 640 * 480);
}
BENCHMARK(decode_packed_pix)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// Four archives of 200 entries each in a directory of their own; the name wanted is the last
// entry of the last archive.
class ArchiveDirectory {
  public:
    ArchiveDirectory() : previous_(fs::current_path()) {
        std::string pattern = (fs::temp_directory_path() / "blokit-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
        fs::current_path(path_);
        int archive = 0;
        for (const char* name : {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE", "VIDEO.ONE"}) {
            std::vector<ArchiveMember> members;
            for (int i = 0; i < 200; ++i)
                members.push_back(
                    {"MEMBER" + std::to_string(archive) + "_" + std::to_string(i) + ".PIX",
                     std::vector<std::uint8_t>(256, static_cast<std::uint8_t>(i))});
            const auto bytes = build_archive(members);
            std::ofstream(name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            ++archive;
        }
    }
    ~ArchiveDirectory() {
        fs::current_path(previous_);
        fs::remove_all(path_);
    }

  private:
    fs::path previous_;
    fs::path path_;
};

void look_up_last_member(benchmark::State& state) {
    ArchiveDirectory directory;
    for (auto _ : state) {
        std::FILE* stream = open_resource("member3_199.pix");
        if (stream == nullptr || resource_size != 256) {
            state.SkipWithError("member not found");
            break;
        }
        std::fclose(stream);
    }
}
BENCHMARK(look_up_last_member)->Unit(benchmark::kMicrosecond);

} // namespace
