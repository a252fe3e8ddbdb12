#include "synth.h"

#include "random_source.h"

#include <algorithm>
#include <cmath>

namespace {

std::size_t length_of(double seconds) {
    return std::size_t(seconds * sample_rate);
}

double time_of(std::size_t i) {
    return double(i) / sample_rate;
}

// The running phase, in cycles, of a tone gliding exponentially from one
// frequency to another, with a vibrato of `vibrato` semitones at 5.5 Hz.
std::vector<double> glide_phases(double from, double to, double seconds, double vibrato) {
    std::vector<double> phases(length_of(seconds));
    double phase = 0.0;
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const double t = time_of(i);
        const double wobble = std::pow(2.0, vibrato * std::sin(2 * pi * 5.5 * t) / 12.0);
        phase += from * std::pow(to / from, t / seconds) * wobble / sample_rate;
        phases[i] = phase;
    }
    return phases;
}

} // namespace

Samples silence(double seconds) {
    return Samples(length_of(seconds), 0.0);
}

void mix_in(Samples& sound, const Samples& part, double at, double gain) {
    const std::size_t start = length_of(at);
    if (sound.size() < start + part.size()) {
        sound.resize(start + part.size(), 0.0);
    }
    for (std::size_t i = 0; i < part.size(); ++i) {
        sound[start + i] += gain * part[i];
    }
}

Samples bell(double frequency, double seconds, double decay, double brightness) {
    Samples out(length_of(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        const double index = brightness * std::exp(-t / (0.4 * decay));
        out[i] = std::sin(2 * pi * frequency * t + index * std::sin(2 * pi * 2.0 * frequency * t)) *
                 std::exp(-t / decay);
    }
    return out;
}

Samples reed(double frequency_from, double frequency_to, double seconds, double vibrato) {
    const std::vector<double> phases = glide_phases(frequency_from, frequency_to, seconds, vibrato);
    Samples out(phases.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double w = 2 * pi * phases[i];
        out[i] = std::sin(w) + std::sin(3 * w) / 3 + std::sin(5 * w) / 6 + std::sin(7 * w) / 12;
    }
    return out;
}

Samples sweep(double frequency_from, double frequency_to, double seconds) {
    const std::vector<double> phases = glide_phases(frequency_from, frequency_to, seconds, 0.0);
    Samples out(phases.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = std::sin(2 * pi * phases[i]);
    }
    return out;
}

Samples noise(double seconds, std::uint32_t seed) {
    RandomSource random(seed);
    Samples out(length_of(seconds));
    for (double& s : out) {
        s = random.signed_unit();
    }
    return out;
}

void shape(Samples& sound, const Envelope& envelope) {
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = time_of(i);
        const double rise =
            envelope.attack > 0.0 && t < envelope.attack ? t / envelope.attack : 1.0;
        sound[i] *= rise * std::exp(-std::max(0.0, t - envelope.attack) / envelope.decay);
    }
    fade_out(sound, envelope.release);
}

void fade_out(Samples& sound, double seconds) {
    const std::size_t n = std::min(sound.size(), length_of(seconds));
    for (std::size_t i = 0; i < n; ++i) {
        sound[sound.size() - 1 - i] *= double(i) / double(n);
    }
}

Samples resonate(const Samples& input, double from, double to, double width) {
    Samples out(input.size());
    double y1 = 0.0, y2 = 0.0;
    const double r = std::exp(-pi * width / sample_rate);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const double f =
            from + (to - from) * double(i) / double(std::max<std::size_t>(1, input.size()));
        const double c = 2 * r * std::cos(2 * pi * f / sample_rate);
        const double y = (1 - r) * input[i] + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        out[i] = y;
    }
    return out;
}

Samples low_pass(const Samples& input, double cutoff) {
    Samples out(input.size());
    const double a = 1.0 - std::exp(-2 * pi * cutoff / sample_rate);
    double y = 0.0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        y += a * (input[i] - y);
        out[i] = y;
    }
    return out;
}

Samples glottal_pulses(double pitch_from, double pitch_to, double seconds) {
    const std::vector<double> phases = glide_phases(pitch_from, pitch_to, seconds, 0.0);
    Samples out(phases.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double cycle = phases[i] - std::floor(phases[i]);
        // A rounded pulse: quick opening, slower closing, then a closed phase.
        const double open = cycle < 0.4 ? std::sin(pi * cycle / 0.4) : 0.0;
        out[i] = open * open - 0.25;
    }
    return out;
}
