#pragma once

// The seven sampled effects, in the order they are loaded.
enum class SoundEffect { Wurf, Reihen, Vierer, GameOver, Start, Lach, Tschau };

constexpr int sound_effect_count = 7;
