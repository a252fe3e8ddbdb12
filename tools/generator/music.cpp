#include "music.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t sixteenth = music_ticks_per_quarter / 4;
constexpr std::uint32_t bar = 16 * sixteenth;

namespace channel {
constexpr std::uint32_t lead = 0, bass = 1, pad = 2, vibes = 3, drums = 9;
}

namespace drum {
constexpr int kick = 36, snare = 38, side_stick = 37, closed_hat = 42, open_hat = 46, crash = 49,
              ride = 51, high_tom = 50, mid_tom = 48, low_mid_tom = 47, low_tom = 45;
}

struct Chord {
    int root; // pitch class, 0 = C
    bool minor;
};

constexpr Chord Am{9, true}, Dm{2, true}, Em{4, true}, F{5, false}, G{7, false}, C{0, false},
    E{4, false}, Bb{10, false};

enum class Drums { Intro, Groove, Bridge };
enum class Counter { None, Arpeggio, Double };

struct Section {
    std::vector<Chord> chords; // one a bar
    std::string_view melody;   // notes such as "E5:4" (pitch, length in sixteenths), "r:2" rests
    Drums drums;
    Counter counter;
};

// The tunes. A: the main theme; B: its answer; C: the calmer bridge.
constexpr std::string_view theme_a =
    "E5:4 A5:2 B5:2 C6:4 B5:2 A5:2  A5:4 F5:2 A5:2 C6:6 A5:2  G5:4 E5:2 G5:2 C6:4 D6:2 E6:2 "
    "D6:6 B5:2 G5:8  E5:4 A5:2 B5:2 C6:4 E6:2 D6:2  C6:4 A5:2 C6:2 F6:4 E6:2 D6:2 "
    "D6:4 B5:2 D6:2 G6:4 F6:2 D6:2  E6:6 D6:2 B5:2 G#5:2 E5:4";
constexpr std::string_view theme_b =
    "A5:2 C6:2 A5:2 F5:2 A5:4 C6:4  B5:2 D6:2 B5:2 G5:2 B5:4 D6:4  G5:2 B5:2 E6:4 D6:2 B5:2 G5:4 "
    "A5:8 r:4 E5:2 A5:2  F5:4 A5:2 D6:2 F6:4 E6:2 D6:2  D6:4 B5:2 G5:2 B5:4 D6:2 F6:2 "
    "E6:4 G6:4 E6:2 D6:2 C6:4  B5:4 G#5:4 B5:4 E6:4";
constexpr std::string_view theme_c =
    "C6:8 B5:4 A5:4  B5:8 G5:8  A5:8 C6:4 F6:4  E6:12 r:4  F6:8 E6:4 D6:4  E6:8 C6:4 A5:4 "
    "D6:6 C6:2 Bb5:4 D6:4  E6:4 G#5:4 B5:4 E6:4";

const std::vector<Section>& sections() {
    static const std::vector<Section> all = {
        {{Am, F, G, E}, "", Drums::Intro, Counter::None},
        {{Am, F, C, G, Am, F, G, E}, theme_a, Drums::Groove, Counter::None},
        {{F, G, Em, Am, Dm, G, C, E}, theme_b, Drums::Groove, Counter::Arpeggio},
        {{Am, F, C, G, Am, F, G, E}, theme_a, Drums::Groove, Counter::Arpeggio},
        {{Am, Em, F, C, Dm, Am, Bb, E}, theme_c, Drums::Bridge, Counter::None},
        {{Am, F, C, G, Am, F, G, E}, theme_a, Drums::Groove, Counter::Double},
    };
    return all;
}

// Events are ordered by time; at the same time notes end before anything
// else happens, and set-up comes before new notes.
struct Timed {
    StreamEvent event;
    int order;
};

class Score {
  public:
    void control(std::uint32_t tick, std::uint32_t event) { events_.push_back({{tick, event}, 1}); }
    void note(std::uint32_t ch, std::uint32_t tick, std::uint32_t length, int pitch, int velocity) {
        events_.push_back(
            {{tick, short_message(0x90 | ch, std::uint32_t(pitch), std::uint32_t(velocity))}, 2});
        events_.push_back({{tick + length, short_message(0x80 | ch, std::uint32_t(pitch), 0)}, 0});
    }
    std::vector<StreamEvent> sorted() {
        std::stable_sort(events_.begin(), events_.end(), [](const Timed& a, const Timed& b) {
            return a.event.tick != b.event.tick ? a.event.tick < b.event.tick : a.order < b.order;
        });
        std::vector<StreamEvent> out;
        for (const Timed& t : events_) {
            out.push_back(t.event);
        }
        return out;
    }

  private:
    std::vector<Timed> events_;
};

int pitch_of(std::string_view name) {
    static constexpr int classes[7] = {9, 11, 0, 2, 4, 5, 7}; // A to G
    int pitch = classes[name[0] - 'A'];
    std::size_t at = 1;
    if (name[at] == '#') {
        ++pitch, ++at;
    } else if (name[at] == 'b') {
        --pitch, ++at;
    }
    return pitch + 12 * (name[at] - '0' + 1);
}

// Lays a tune into the score; returns its length in ticks.
std::uint32_t play_tune(Score& score, std::uint32_t start, std::string_view tune, std::uint32_t ch,
                        int transpose, int velocity) {
    std::uint32_t tick = start;
    std::size_t pos = 0;
    while (pos < tune.size()) {
        if (tune[pos] == ' ') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(tune.find(' ', pos), tune.size());
        const std::string_view token = tune.substr(pos, end - pos);
        const std::size_t colon = token.find(':');
        const std::uint32_t length =
            std::uint32_t(std::stoi(std::string(token.substr(colon + 1)))) * sixteenth;
        if (token[0] != 'r') {
            score.note(ch, tick, length - 4, pitch_of(token.substr(0, colon)) + transpose,
                       velocity);
        }
        tick += length;
        pos = end;
    }
    return tick - start;
}

void play_harmony(Score& score, std::uint32_t start, Chord chord, const Section& section) {
    const int third = chord.minor ? 3 : 4;
    // The pad holds the triad around middle C for the whole bar.
    for (int interval : {0, third, 7}) {
        const int pitch = 55 + (chord.root + interval + 5) % 12;
        score.note(channel::pad, start, bar, pitch, 52);
    }
    const int root = 36 + chord.root;
    if (section.drums == Drums::Bridge) {
        score.note(channel::bass, start, bar / 2 - 6, root, 96);
        score.note(channel::bass, start + bar / 2, bar / 2 - 6, root + 7, 88);
    } else {
        const int pattern[8] = {0, 0, 12, 0, 7, 0, 12, 7};
        for (int i = 0; i < 8; ++i) {
            score.note(channel::bass, start + std::uint32_t(i) * 2 * sixteenth, 2 * sixteenth - 6,
                       root + pattern[i], i % 2 == 0 ? 104 : 84);
        }
    }
    if (section.counter == Counter::Arpeggio) {
        const int steps[8] = {0, 7, 12, 7 + 12, 12 + third, 12, 7, third};
        for (int i = 0; i < 8; ++i) {
            score.note(channel::vibes, start + std::uint32_t(i) * 2 * sixteenth, 2 * sixteenth,
                       60 + chord.root + steps[i], 58);
        }
    }
}

void hit(Score& score, std::uint32_t start, int step, int instrument, int velocity) {
    score.note(channel::drums, start + std::uint32_t(step) * sixteenth, sixteenth, instrument,
               velocity);
}

void play_drums(Score& score, std::uint32_t start, Drums style, int bar_index, int bar_count) {
    const bool fill = bar_index == bar_count - 1;
    if (bar_index == 0 && style != Drums::Intro) {
        hit(score, start, 0, drum::crash, 100);
    }
    const int beats = fill ? 12 : 16;
    for (int step = 0; step < beats; ++step) {
        if (style == Drums::Bridge) {
            if (step % 4 == 0) {
                hit(score, start, step, drum::ride, step == 0 ? 84 : 64);
            }
            if (step == 0 || step == 10) {
                hit(score, start, step, drum::kick, 96);
            }
            if (step == 8) {
                hit(score, start, step, drum::side_stick, 80);
            }
            continue;
        }
        const bool full = style == Drums::Groove || bar_index >= bar_count / 2;
        if (step % 2 == 0) {
            hit(score, start, step, step == 14 && full ? drum::open_hat : drum::closed_hat,
                step % 4 == 0 ? 80 : 60);
        }
        if (step == 0 || step == 8 || (full && (step == 7 || step == 10))) {
            hit(score, start, step, drum::kick, step % 8 == 0 ? 112 : 90);
        }
        if (full && (step == 4 || step == 12)) {
            hit(score, start, step, drum::snare, 104);
        }
    }
    if (fill) {
        const int toms[4] = {drum::high_tom, drum::mid_tom, drum::low_mid_tom, drum::low_tom};
        for (int i = 0; i < 4; ++i) {
            hit(score, start, 12 + i, toms[i], 90 + 6 * i);
        }
    }
}

void set_up_channels(Score& score) {
    score.control(0, event_tempo | music_quarter_microseconds);
    const std::uint32_t programs[][2] = {
        {channel::lead, 80}, {channel::bass, 38}, {channel::pad, 89}, {channel::vibes, 11}};
    for (const auto& [ch, program] : programs) {
        score.control(0, short_message(0xC0 | ch, program, 0));
    }
    const std::uint32_t volumes[][3] = {{channel::lead, 110, 40},
                                        {channel::bass, 112, 10},
                                        {channel::pad, 84, 60},
                                        {channel::vibes, 96, 50},
                                        {channel::drums, 118, 30}};
    for (const auto& [ch, volume, reverb] : volumes) {
        score.control(0, short_message(0xB0 | ch, 7, volume));
        score.control(0, short_message(0xB0 | ch, 91, reverb));
    }
}

} // namespace

std::vector<StreamEvent> compose_music() {
    Score score;
    set_up_channels(score);
    std::uint32_t start = 0;
    for (const Section& section : sections()) {
        const int bar_count = int(section.chords.size());
        if (!section.melody.empty()) {
            const std::uint32_t length =
                play_tune(score, start, section.melody, channel::lead, 0, 100);
            if (length != bar * std::uint32_t(bar_count)) {
                throw std::logic_error("a tune does not fill its section");
            }
            if (section.counter == Counter::Double) {
                play_tune(score, start, section.melody, channel::vibes, -12, 70);
            }
        }
        for (int b = 0; b < bar_count; ++b) {
            const std::uint32_t bar_start = start + std::uint32_t(b) * bar;
            play_harmony(score, bar_start, section.chords[std::size_t(b)], section);
            play_drums(score, bar_start, section.drums, b, bar_count);
        }
        start += bar * std::uint32_t(bar_count);
    }
    // The loop point: the last event sits exactly at the end of the piece.
    score.control(start, event_nop);
    return score.sorted();
}
