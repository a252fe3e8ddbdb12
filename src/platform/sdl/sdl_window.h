#pragma once

#include <SDL.h>

#include "platform/window.h"

namespace sdl {

class GameWindow : public platform::Window {
  public:
    GameWindow(SDL_Window* window, platform::WindowStyle style);
    ~GameWindow() override;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    platform::Rect rect() const override;
    void set_client_size(int width, int height) override;
    void show(int show_command) override;
    void set_icon(int width, int height, const std::uint8_t* rgba) override;

    // Tells the window manager the smallest size again; SDL loses it when a
    // renderer recreates the window.
    void keep_minimum_size();

    SDL_Window* handle() const { return window_; }
    int client_width() const { return client_width_; }
    int client_height() const { return client_height_; }

  private:
    SDL_Window* window_;
    platform::WindowStyle style_;
    int client_width_ = 0;
    int client_height_ = 0;
};

} // namespace sdl
