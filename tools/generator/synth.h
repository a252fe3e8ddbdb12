#pragma once

#include "wave_file.h"

// Small building blocks of sound: tones, noise, envelopes and resonant
// filters, all on samples at `sample_rate`.

constexpr double pi = 3.14159265358979323846;

// A silent sound of `seconds`.
Samples silence(double seconds);
// Adds `part` into `sound` starting at `at` seconds, growing it as needed.
void mix_in(Samples& sound, const Samples& part, double at, double gain = 1.0);

// A bell-like tone: frequency modulation whose brightness dies away faster
// than its loudness.
Samples bell(double frequency, double seconds, double decay, double brightness);
// A tone of a few odd harmonics (soft square), with `vibrato` in semitones.
Samples reed(double frequency_from, double frequency_to, double seconds, double vibrato);
// A sine whose pitch glides exponentially from one frequency to another.
Samples sweep(double frequency_from, double frequency_to, double seconds);
// White noise from a fixed seed.
Samples noise(double seconds, std::uint32_t seed);

// The loudness of a sound over time: a linear rise over `attack` seconds,
// then an exponential fall with time constant `decay`, and a fade to silence
// over the last `release` seconds.
struct Envelope {
    double attack;
    double decay;
    double release = 0.0;
};
void shape(Samples& sound, const Envelope& envelope);
// Fades the last `seconds` out to silence.
void fade_out(Samples& sound, double seconds);

// A two-pole resonator (band pass) whose centre may move from `from` to `to`
// Hz over the sound, with bandwidth `width` Hz.
Samples resonate(const Samples& input, double from, double to, double width);
// A one-pole low pass at `cutoff` Hz.
Samples low_pass(const Samples& input, double cutoff);

// A voiced source for speech-like sounds: a pulse train whose pitch glides
// exponentially from `pitch_from` to `pitch_to`.
Samples glottal_pulses(double pitch_from, double pitch_to, double seconds);
