#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "audio/wave.h"
#include "data/run_directory.h"
#include "effects.h"

namespace {

struct Pcm {
    std::uint16_t tag, channels;
    std::uint32_t rate;
    std::uint16_t bits;
};

std::uint32_t little(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | p[i];
    }
    return value;
}

std::vector<std::int16_t> samples_of(const WaveData& wave) {
    std::vector<std::int16_t> samples;
    for (std::uint32_t i = 0; i + 1 < wave.data_size; i += 2) {
        samples.push_back(std::int16_t(little(wave.samples + i, 2)));
    }
    return samples;
}

TEST(SoundTest, EveryEffectLoadsAsShortCleanPcmAndSoundsDifferent) {
    InRunDirectory in_run_directory;
    std::set<std::vector<std::int16_t>> seen;
    for (int i = 0; i < sound_effect_count; ++i) {
        const char* name = effect_file_name(SoundEffect(i));
        SCOPED_TRACE(name);
        WaveData wave;
        const std::vector<std::uint8_t> file = load_wave_file(name, wave);
        ASSERT_FALSE(file.empty());
        ASSERT_GE(wave.format.size(), 16u);
        const Pcm pcm{std::uint16_t(little(&wave.format[0], 2)),
                      std::uint16_t(little(&wave.format[2], 2)), little(&wave.format[4], 4),
                      std::uint16_t(little(&wave.format[14], 2))};
        EXPECT_EQ(pcm.tag, 1);
        EXPECT_EQ(pcm.channels, 1);
        EXPECT_EQ(pcm.rate, 22050u);
        EXPECT_EQ(pcm.bits, 16);
        const std::vector<std::int16_t> samples = samples_of(wave);
        const double seconds = double(samples.size()) / pcm.rate;
        EXPECT_GE(seconds, 0.15);
        EXPECT_LE(seconds, 2.0);
        int peak = 0;
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(int(s)));
        }
        EXPECT_LT(peak, 32767 * 9 / 10) << "no clipping";
        EXPECT_GT(peak, 32767 / 2) << "loud enough";
        EXPECT_LT(std::abs(int(samples.back())), 200) << "ends without a click";
        EXPECT_TRUE(seen.insert(samples).second);
    }
}

} // namespace
