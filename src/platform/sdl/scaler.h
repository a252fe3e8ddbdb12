#pragma once

#include <SDL.h>

namespace sdl {

// Where the picture lands in an output: as large as fits with its aspect
// kept, centred (black bars fill the rest), and the largest whole factor
// that fits.
struct Placement {
    int factor = 1;
    SDL_Rect target{};
};

Placement place(int picture_width, int picture_height, int output_width, int output_height);

// Draws a picture texture over a renderer's whole output with sharp pixels:
// enlarged by the whole factor with nearest sampling into an intermediate
// texture, then by the remainder with one linear step, so every picture
// pixel stays a crisp block whose edges blend over two pixels at most.
// The intermediate texture belongs to the renderer and goes with it.
class Scaler {
  public:
    Scaler(SDL_Renderer* renderer, SDL_Texture* picture, int width, int height);
    Scaler(const Scaler&) = delete;
    Scaler& operator=(const Scaler&) = delete;

    void draw();

  private:
    // The intermediate texture for `factor`, or null when the renderer
    // cannot draw into textures.
    SDL_Texture* enlarged(int factor);

    SDL_Renderer* renderer_;
    SDL_Texture* picture_;
    int width_;
    int height_;
    SDL_Texture* enlarged_ = nullptr;
    int enlarged_factor_ = 0;
};

} // namespace sdl
