#pragma once

// One round of looping music with what the music played before it, kept in
// the user's cache between runs, so that a later run plays it instead of
// making it again. A file that is damaged, short or made for other music is
// passed over; a new one replaces it whole.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sdl {

// What music the round belongs to, and where in it the round begins.
struct RoundMark {
    std::uint64_t key = 0;     // the music, the SoundFont and the synthesizer's settings
    std::uint64_t start = 0;   // frames played before the round, kept ahead of it
    std::uint64_t buffers = 0; // buffers that came back before the round

    bool operator==(const RoundMark&) const = default;
};

// The file in the user's cache directory; empty when there is no such
// directory.
std::string saved_round_path();

// The round made ahead of time, when the game was built or installed, in
// the game's data directory (the current one while it runs), for a new
// player's cache to fall back on.
inline constexpr const char* prepared_round_path = "music-round";

// Puts the round (stereo frames of 16-bit samples) in place of the file at
// `path` in one step; false when that failed, leaving what was there.
bool save_round(const std::string& path, const RoundMark& mark,
                std::span<const std::int16_t> samples);

// Reads the round saved at `path` for `key`, of at most `longest_frames`;
// false, with `samples` left as they were, when there is none, it is for
// other music, or it is damaged.
bool load_round(const std::string& path, std::uint64_t key, std::size_t longest_frames,
                RoundMark& mark, std::vector<std::int16_t>& samples);

} // namespace sdl
