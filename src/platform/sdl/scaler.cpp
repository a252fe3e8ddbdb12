#include "platform/sdl/scaler.h"

#include <algorithm>

namespace sdl {

Placement place(int picture_width, int picture_height, int output_width, int output_height) {
    Placement placement;
    if (picture_width <= 0 || picture_height <= 0 || output_width <= 0 || output_height <= 0)
        return placement;
    placement.factor =
        std::max(1, std::min(output_width / picture_width, output_height / picture_height));
    SDL_Rect& target = placement.target;
    // Compared crosswise, so no rounding decides which side gets the bars.
    if (static_cast<long long>(output_width) * picture_height <=
        static_cast<long long>(output_height) * picture_width) {
        target.w = output_width;
        target.h =
            static_cast<int>(static_cast<long long>(output_width) * picture_height / picture_width);
    } else {
        target.h = output_height;
        target.w = static_cast<int>(static_cast<long long>(output_height) * picture_width /
                                    picture_height);
    }
    target.x = (output_width - target.w) / 2;
    target.y = (output_height - target.h) / 2;
    return placement;
}

Scaler::Scaler(SDL_Renderer* renderer, SDL_Texture* picture, int width, int height)
    : renderer_(renderer), picture_(picture), width_(width), height_(height) {
    SDL_SetTextureScaleMode(picture_, SDL_ScaleModeNearest);
}

void Scaler::draw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    int output_width = 0;
    int output_height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &output_width, &output_height) != 0)
        return;
    const Placement placement = place(width_, height_, output_width, output_height);
    const bool whole = placement.target.w == placement.factor * width_ &&
                       placement.target.h == placement.factor * height_;
    SDL_Texture* intermediate = whole ? nullptr : enlarged(placement.factor);
    if (!intermediate) {
        SDL_RenderCopy(renderer_, picture_, nullptr, &placement.target);
        return;
    }
    SDL_SetRenderTarget(renderer_, intermediate);
    SDL_RenderCopy(renderer_, picture_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderCopy(renderer_, intermediate, nullptr, &placement.target);
}

SDL_Texture* Scaler::enlarged(int factor) {
    // A failed creation is remembered too, so it is not retried every frame.
    if (enlarged_factor_ == factor)
        return enlarged_;
    if (enlarged_)
        SDL_DestroyTexture(enlarged_);
    enlarged_ = nullptr;
    enlarged_factor_ = factor;
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer_, &info) != 0 || !(info.flags & SDL_RENDERER_TARGETTEXTURE))
        return nullptr;
    enlarged_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                  factor * width_, factor * height_);
    if (enlarged_)
        SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
    return enlarged_;
}

} // namespace sdl
