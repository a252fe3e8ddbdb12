#include "platform/sdl/saved_round.h"
#include "platform/fingerprint.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/user_paths.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace sdl {
namespace {

// The file: this magic, then the mark, the number of frames and a
// fingerprint of the samples (each a 64-bit number in the machine's own
// byte order, as the key is), then the samples.
constexpr std::array<char, 8> magic = {'B', 'L', 'K', 'R', 'N', 'D', '0', '2'};

struct Header {
    std::array<char, 8> magic;
    RoundMark mark;
    std::uint64_t frames;
    std::uint64_t check;
};
static_assert(sizeof(Header) == 48, "the header has no padding");

constexpr std::size_t channels = 2;

std::uint64_t check_of(std::span<const std::int16_t> samples) {
    platform::Fingerprint print;
    print.add(samples.data(), samples.size() * sizeof(std::int16_t));
    return print.value();
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

std::string saved_round_path() {
    const std::string cache = platform::xdg_base_directory("XDG_CACHE_HOME", ".cache");
    return cache.empty() ? cache : cache + "/blokit/music-round";
}

bool save_round(const std::string& path, const RoundMark& mark,
                std::span<const std::int16_t> samples) {
    const Header header{magic, mark, samples.size() / channels, check_of(samples)};
    std::vector<std::byte> bytes(sizeof header + samples.size_bytes());
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, samples.data(), samples.size_bytes());
    return platform::replace_file(path, bytes);
}

bool load_round(const std::string& path, std::uint64_t key, std::size_t longest_frames,
                RoundMark& mark, std::vector<std::int16_t>& samples) {
    // A pipe or a device put there must not keep the loading waiting.
    File file(platform::open_regular_file(path.c_str(), "rb"));
    Header header{};
    if (!file || std::fread(&header, sizeof header, 1, file.get()) != 1 || header.magic != magic ||
        header.mark.key != key || header.frames > longest_frames ||
        header.mark.start >= header.frames)
        return false;
    // The samples must be all that follows the header, no more and no less.
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 ||
        static_cast<std::uint64_t>(status.st_size) !=
            sizeof header + header.frames * channels * sizeof(std::int16_t))
        return false;
    std::vector<std::int16_t> read;
    try {
        read.resize(header.frames * channels);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (std::fread(read.data(), sizeof(std::int16_t), read.size(), file.get()) != read.size() ||
        check_of(read) != header.check)
        return false;
    mark = header.mark;
    samples = std::move(read);
    return true;
}

} // namespace sdl
