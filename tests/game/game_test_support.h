#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "audio/sound_effect.h"
#include "game/game_output.h"
#include "game/player.h"

// What the rules showed and sounded, in order.
struct OutputEvent {
    enum class Kind {
        ErasePiece,
        DrawPiece,
        RedrawPlayfield,
        DrawGameOver,
        DrawPaused,
        PresentFrame,
        ShowGamePalette,
        PlayEffect
    } kind;
    int player = -1;
    SoundEffect effect = SoundEffect::Wurf;
};

class RecordingOutput : public GameOutput {
  public:
    std::vector<OutputEvent> events;

    void erase_piece(const PlayerRecord& p) override {
        add(OutputEvent::Kind::ErasePiece, p.index);
    }
    void draw_piece(const PlayerRecord& p) override { add(OutputEvent::Kind::DrawPiece, p.index); }
    void redraw_playfield() override { add(OutputEvent::Kind::RedrawPlayfield); }
    void draw_game_over(const PlayerRecord& p) override {
        add(OutputEvent::Kind::DrawGameOver, p.index);
    }
    void draw_paused() override { add(OutputEvent::Kind::DrawPaused); }
    void present_frame() override { add(OutputEvent::Kind::PresentFrame); }
    void show_game_palette() override { add(OutputEvent::Kind::ShowGamePalette); }
    void play_effect(SoundEffect effect) override {
        events.push_back({OutputEvent::Kind::PlayEffect, -1, effect});
        on_event();
    }

    std::vector<SoundEffect> effects() const;
    int count(OutputEvent::Kind kind) const;

  protected:
    // Called after every event, for tests that look at the game as it goes.
    virtual void on_event() {}

  private:
    void add(OutputEvent::Kind kind, int player = -1) {
        events.push_back({kind, player});
        on_event();
    }
};

// A fresh program for every test: the game values at their start, the
// headless machine reset, the window active and the output recorded.
class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    RecordingOutput output;
};

// Fills a board row with `colour`, leaving the listed columns empty.
void fill_row(PlayerRecord& player, int row, std::uint8_t colour,
              std::initializer_list<int> holes = {});
int filled_cells(const PlayerRecord& player);
int empty_cells_in_row(const PlayerRecord& player, int row);

// A piece of `kind` (1 to 7) in its starting orientation with its box at
// (column, row), coloured by its kind.
Piece make_piece(int kind, int column, int row);
// The board cells (column, row) that the piece covers, above the board too.
std::vector<std::pair<int, int>> piece_cells(const Piece& piece);

// Scripts `key` to go down at virtual time `from` and up at `until`.
void hold_key(int key, std::uint64_t from, std::uint64_t until);

// Advances the headless clock past one tick length and runs game_tick.
void run_ticks(int count);
