#pragma once

#include "platform/win32/backend.h"
#include "platform/window.h"

namespace win32 {

class GameWindow : public platform::Window {
  public:
    GameWindow(HWND window, platform::WindowStyle style);
    ~GameWindow() override;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    platform::Rect rect() const override;
    void set_client_size(int width, int height) override;
    void show(int show_command) override;
    void set_icon(int width, int height, const std::uint8_t* rgba) override;

    HWND handle() const { return window_; }

  private:
    HWND window_;
    platform::WindowStyle style_;
    HICON icon_ = nullptr;
};

} // namespace win32
