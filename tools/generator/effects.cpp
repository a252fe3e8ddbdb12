#include "effects.h"

#include "synth.h"

#include <cmath>

namespace {

// Loudest sample of the effects, below full scale; the dense tones peak
// lower so that all effects sound about equally loud.
constexpr double peak_level = 0.85;
constexpr double tone_peak_level = 0.6;

double note(int midi_note) {
    return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0);
}

// A formant of a voice: centre moving from `from` to `to` Hz, its bandwidth
// and its strength.
struct Formant {
    double from, to, width, gain;
};

Samples vocal_tract(const Samples& source, std::initializer_list<Formant> formants) {
    Samples out(source.size(), 0.0);
    for (const Formant& f : formants) {
        mix_in(out, resonate(source, f.from, f.to, f.width), 0.0, f.gain);
    }
    return out;
}

// A piece dropped to the floor: a low thump with a short knock.
Samples wurf() {
    Samples thump = sweep(190.0, 48.0, 0.24);
    shape(thump, 0.002, 0.07);
    Samples knock = low_pass(noise(0.03, 5), 1800.0);
    shape(knock, 0.0, 0.008);
    mix_in(thump, knock, 0.0, 2.5);
    return thump;
}

// Rows cleared: a quick rising chime.
Samples reihen() {
    Samples sound = silence(0.55);
    const int notes[] = {76, 79, 84};
    for (int i = 0; i < 3; ++i) {
        mix_in(sound, bell(note(notes[i]), 0.4, 0.14, 1.6), 0.06 * i, 0.55);
    }
    Samples swish = resonate(noise(0.25, 9), 5000.0, 9000.0, 3000.0);
    shape(swish, 0.1, 0.05);
    mix_in(sound, swish, 0.0, 1.2);
    return sound;
}

// Four rows at once: a run up two octaves into a ringing chord.
Samples vierer() {
    Samples sound = silence(1.2);
    const int run[] = {72, 76, 79, 84, 88, 91};
    for (int i = 0; i < 6; ++i) {
        mix_in(sound, bell(note(run[i]), 0.35, 0.1, 1.8), 0.05 * i, 0.4);
    }
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
        Samples tone = reed(note(falling[i]), note(falling[i]), 0.3, 0.0);
        shape(tone, 0.01, 0.25);
        fade_out(tone, 0.05);
        mix_in(sound, low_pass(tone, 2500.0), 0.32 * i, 0.5);
    }
    Samples wail = reed(note(64), note(55), 0.75, 0.35);
    shape(wail, 0.02, 0.6);
    fade_out(wail, 0.2);
    mix_in(sound, low_pass(wail, 2000.0), 0.96, 0.55);
    return sound;
}

// A game begins: two short beeps and a higher, rising one.
Samples start() {
    Samples sound = silence(0.9);
    for (int i = 0; i < 2; ++i) {
        Samples beep = reed(note(81), note(81), 0.09, 0.0);
        shape(beep, 0.004, 0.2);
        fade_out(beep, 0.01);
        mix_in(sound, low_pass(beep, 4000.0), 0.18 * i, 0.4);
    }
    Samples go = reed(note(88), note(93), 0.45, 0.1);
    shape(go, 0.004, 0.3);
    fade_out(go, 0.12);
    mix_in(sound, low_pass(go, 5000.0), 0.36, 0.45);
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
        shape(ha, 0.015, 0.07);
        fade_out(ha, 0.02);
        Samples breath = resonate(noise(0.05, 60 + std::uint32_t(i)), 1500.0, 1200.0, 900.0);
        shape(breath, 0.02, 0.02);
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
    shape(t, 0.0, 0.004);
    mix_in(sound, t, 0.0, 0.5);
    Samples hiss = low_pass(
        vocal_tract(noise(0.16, 72), {{2600, 2400, 700, 1.0}, {4200, 4000, 1200, 0.6}}), 6000.0);
    shape(hiss, 0.03, 0.2);
    fade_out(hiss, 0.04);
    mix_in(sound, hiss, 0.01, 0.5);
    Samples voiced = glottal_pulses(250.0, 165.0, 0.5);
    Samples vowel =
        vocal_tract(voiced, {{820, 460, 90, 1.0}, {1300, 800, 110, 0.6}, {2500, 2300, 170, 0.2}});
    shape(vowel, 0.03, 0.3);
    fade_out(vowel, 0.12);
    mix_in(sound, vowel, 0.15, 2.0);
    return sound;
}

} // namespace

const char* effect_file_name(SoundEffect effect) {
    switch (effect) {
    case SoundEffect::Wurf:
        return "WURF.WAV";
    case SoundEffect::Reihen:
        return "REIHEN.WAV";
    case SoundEffect::Vierer:
        return "VIERER.WAV";
    case SoundEffect::GameOver:
        return "GAMEOVER.WAV";
    case SoundEffect::Start:
        return "START.WAV";
    case SoundEffect::Lach:
        return "LACH.WAV";
    case SoundEffect::Tschau:
        return "TSCHAU.WAV";
    }
    return "";
}

Samples make_effect(SoundEffect effect) {
    Samples sound;
    switch (effect) {
    case SoundEffect::Wurf:
        sound = wurf();
        break;
    case SoundEffect::Reihen:
        sound = reihen();
        break;
    case SoundEffect::Vierer:
        sound = vierer();
        break;
    case SoundEffect::GameOver:
        sound = game_over();
        break;
    case SoundEffect::Start:
        sound = start();
        break;
    case SoundEffect::Lach:
        sound = lach();
        break;
    case SoundEffect::Tschau:
        sound = tschau();
        break;
    }
    // Every effect ends in silence, without a click.
    fade_out(sound, 0.01);
    const bool dense = effect == SoundEffect::GameOver || effect == SoundEffect::Start;
    normalise(sound, dense ? tone_peak_level : peak_level);
    return sound;
}
