#include "effects.h"

#include "synth.h"

#include <cmath>

namespace {

double note(int midi_note) {
    return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0);
}

// A formant of a voice: centre moving from `from` to `to` Hz, its bandwidth
// and its strength.
struct Formant {
    double from, to, width, gain;
};

// A note of the soft square tone, gliding between two notes, shaped and
// softened by a low pass.
Samples reed_note(int from, int to, double seconds, double vibrato, const Envelope& envelope,
                  double cutoff) {
    Samples tone = reed(note(from), note(to), seconds, vibrato);
    shape(tone, envelope);
    return low_pass(tone, cutoff);
}

Samples vocal_tract(const Samples& source, std::initializer_list<Formant> formants) {
    Samples out(source.size(), 0.0);
    for (const Formant& f : formants) {
        mix_in(out, resonate(source, f.from, f.to, f.width), 0.0, f.gain);
    }
    return out;
}

struct BellTone {
    double seconds, decay, brightness;
};

// Bell notes one after another, `step` seconds apart, from the start.
void play_run(Samples& sound, std::initializer_list<int> notes, double step, BellTone tone,
              double gain) {
    double at = 0.0;
    for (int n : notes) {
        mix_in(sound, bell(note(n), tone.seconds, tone.decay, tone.brightness), at, gain);
        at += step;
    }
}

// A piece dropped to the floor: a low thump with a short knock.
Samples wurf() {
    Samples thump = sweep(190.0, 48.0, 0.24);
    shape(thump, {0.002, 0.07});
    Samples knock = low_pass(noise(0.03, 5), 1800.0);
    shape(knock, {0.0, 0.008});
    mix_in(thump, knock, 0.0, 2.5);
    return thump;
}

// Rows cleared: a quick rising chime.
Samples reihen() {
    Samples sound = silence(0.55);
    play_run(sound, {76, 79, 84}, 0.06, BellTone{0.4, 0.14, 1.6}, 0.55);
    Samples swish = resonate(noise(0.25, 9), 5000.0, 9000.0, 3000.0);
    shape(swish, {0.1, 0.05});
    mix_in(sound, swish, 0.0, 1.2);
    return sound;
}

// Four rows at once: a run up two octaves into a ringing chord.
Samples vierer() {
    Samples sound = silence(1.2);
    play_run(sound, {72, 76, 79, 84, 88, 91}, 0.05, BellTone{0.35, 0.1, 1.8}, 0.4);
    for (int chord_note : {84, 88, 91, 96}) {
        Samples ring = bell(note(chord_note), 0.9, 0.3, 1.2);
        // A gentle tremolo makes the chord shimmer.
        for (std::size_t i = 0; i < ring.size(); ++i) {
            ring[i] *= 0.8 + 0.2 * std::sin(2 * pi * 7.0 * double(i) / sample_rate);
        }
        mix_in(sound, ring, 0.3, 0.3);
    }
    return sound;
}

// A game lost: three falling notes and a long sinking wail.
Samples game_over() {
    Samples sound = silence(1.7);
    const int falling[] = {67, 66, 65};
    for (int i = 0; i < 3; ++i) {
        mix_in(sound, reed_note(falling[i], falling[i], 0.3, 0.0, {0.01, 0.25, 0.05}, 2500.0),
               0.32 * i, 0.5);
    }
    mix_in(sound, reed_note(64, 55, 0.75, 0.35, {0.02, 0.6, 0.2}, 2000.0), 0.96, 0.55);
    return sound;
}

// A game begins: two short beeps and a higher, rising one.
Samples start() {
    Samples sound = silence(0.9);
    for (int i = 0; i < 2; ++i) {
        mix_in(sound, reed_note(81, 81, 0.09, 0.0, {0.004, 0.2, 0.01}, 4000.0), 0.18 * i, 0.4);
    }
    mix_in(sound, reed_note(88, 93, 0.45, 0.1, {0.004, 0.3, 0.12}, 5000.0), 0.36, 0.45);
    return sound;
}

// A mocking laugh: "ha" five times, each a little lower, with a breath
// before each one.
Samples lach() {
    Samples sound = silence(1.0);
    for (int i = 0; i < 5; ++i) {
        const double at = 0.17 * i;
        const double pitch = 290.0 - 18.0 * i;
        Samples voiced = glottal_pulses(pitch, pitch * 0.85, 0.12);
        mix_in(voiced, noise(0.12, 40 + std::uint32_t(i)), 0.0, 0.08);
        Samples ha = vocal_tract(
            voiced, {{780, 720, 90, 1.0}, {1250, 1150, 110, 0.6}, {2600, 2500, 160, 0.25}});
        shape(ha, {0.015, 0.07, 0.02});
        Samples breath = resonate(noise(0.05, 60 + std::uint32_t(i)), 1500.0, 1200.0, 900.0);
        shape(breath, {0.02, 0.02});
        mix_in(sound, breath, at, 0.6);
        mix_in(sound, ha, at + 0.035);
    }
    return sound;
}

// A farewell call, "ciao": a hissed "tsch" that opens into a vowel gliding
// from "a" to "o", the pitch falling.
Samples tschau() {
    Samples sound = silence(0.8);
    Samples t = noise(0.012, 71);
    shape(t, {0.0, 0.004});
    mix_in(sound, t, 0.0, 0.5);
    Samples hiss = low_pass(
        vocal_tract(noise(0.16, 72), {{2600, 2400, 700, 1.0}, {4200, 4000, 1200, 0.6}}), 6000.0);
    shape(hiss, {0.03, 0.2, 0.04});
    mix_in(sound, hiss, 0.01, 0.5);
    Samples voiced = glottal_pulses(250.0, 165.0, 0.5);
    Samples vowel =
        vocal_tract(voiced, {{820, 460, 90, 1.0}, {1300, 800, 110, 0.6}, {2500, 2300, 170, 0.2}});
    shape(vowel, {0.03, 0.3, 0.12});
    mix_in(sound, vowel, 0.15, 2.0);
    return sound;
}

struct Recipe {
    const char* file_name;
    Samples (*make)();
    double peak;
};

// In the order of SoundEffect. The dense tones peak lower so that all effects
// sound about equally loud; none comes near full scale.
constexpr Recipe recipes[sound_effect_count] = {
    {"WURF.WAV", wurf, 0.85},         {"REIHEN.WAV", reihen, 0.85}, {"VIERER.WAV", vierer, 0.85},
    {"GAMEOVER.WAV", game_over, 0.6}, {"START.WAV", start, 0.6},    {"LACH.WAV", lach, 0.85},
    {"TSCHAU.WAV", tschau, 0.85},
};

} // namespace

const char* effect_file_name(SoundEffect effect) {
    return recipes[int(effect)].file_name;
}

Samples make_effect(SoundEffect effect) {
    const Recipe& recipe = recipes[int(effect)];
    Samples sound = recipe.make();
    // Every effect ends in silence, without a click.
    fade_out(sound, 0.01);
    normalise(sound, recipe.peak);
    return sound;
}
