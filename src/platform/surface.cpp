#include "platform/video.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr int largest_side = 16384;

// Rows start on 8-byte boundaries and carry some slack, as display memory
// does: code that takes the width for the pitch shows at once.
int pitch_for(int width, int bytes_per_pixel) {
    return (width * bytes_per_pixel + 7) / 8 * 8 + 8;
}

std::uint32_t read_pixel(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint32_t(at[i]) << (8 * i);
    return value;
}

void write_pixel(std::uint8_t* at, int bytes, std::uint32_t value) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

bool Surface::valid_format(int width, int height, int depth) {
    return width > 0 && height > 0 && width <= largest_side && height <= largest_side &&
           (depth == 8 || depth == 16 || depth == 24 || depth == 32);
}

Surface::Surface(int width, int height, int depth)
    : width_(valid_format(width, height, depth) ? width : 0),
      height_(valid_format(width, height, depth) ? height : 0),
      depth_(valid_format(width, height, depth) ? depth : 8), pitch_(pitch_for(width_, depth_ / 8)),
      memory_(std::size_t(pitch_) * height_) {}

Surface::~Surface() = default;

std::uint32_t Surface::green_mask() const {
    switch (depth_) {
    case 16:
        return 0x07E0;
    case 8:
        return 0;
    default:
        return 0xFF00;
    }
}

Result Surface::ready() {
    return Result::Ok;
}

void Surface::show(const Rect&) {}

bool Surface::contains(const Rect& rect) const {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= width_ && rect.bottom <= height_;
}

Result Surface::both_ready(Surface& source) {
    if (const Result result = ready(); result != Result::Ok)
        return result;
    if (&source != this)
        if (const Result result = source.ready(); result != Result::Ok)
            return result;
    if (locked_ || source.locked_)
        return Result::SurfaceBusy;
    return Result::Ok;
}

Result Surface::lock(LockedPixels& locked) {
    if (const Result result = ready(); result != Result::Ok)
        return result;
    if (locked_)
        return Result::SurfaceBusy;
    locked_ = true;
    locked = {memory_.data(), pitch_, width_, height_, depth_};
    return Result::Ok;
}

Result Surface::unlock() {
    if (!locked_)
        return Result::NotLocked;
    locked_ = false;
    show({0, 0, width_, height_});
    return Result::Ok;
}

Result Surface::blt_fast(int x, int y, Surface& source, const Rect& source_rect, Copy copy) {
    // In 64 bits: the rectangle may be anything until blt() has checked it.
    const long long right = static_cast<long long>(x) + source_rect.right - source_rect.left;
    const long long bottom = static_cast<long long>(y) + source_rect.bottom - source_rect.top;
    if (right < INT32_MIN || bottom < INT32_MIN || right > largest_side || bottom > largest_side)
        return Result::InvalidRect;
    return blt({x, y, static_cast<int>(right), static_cast<int>(bottom)}, source, source_rect,
               copy);
}

Result Surface::blt(const Rect& destination, Surface& source, const Rect& source_rect, Copy copy) {
    if (const Result result = both_ready(source); result != Result::Ok)
        return result;
    if (!source.contains(source_rect) || destination.left >= destination.right ||
        destination.top >= destination.bottom ||
        static_cast<long long>(destination.right) - destination.left > largest_side ||
        static_cast<long long>(destination.bottom) - destination.top > largest_side)
        return Result::InvalidRect;
    if (source.depth_ != depth_)
        return Result::Unsupported;
    Rect visible = destination;
    if (clipper_)
        visible = {std::max(0, visible.left), std::max(0, visible.top),
                   std::min(width_, visible.right), std::min(height_, visible.bottom)};
    else if (!contains(destination))
        return Result::InvalidRect;
    if (visible.left >= visible.right || visible.top >= visible.bottom)
        return Result::Ok;
    copy_in(destination, visible, source, source_rect, copy);
    show(visible);
    return Result::Ok;
}

void Surface::copy_in(const Rect& destination, const Rect& visible, Surface& source,
                      const Rect& source_rect, Copy copy) {
    const int bytes = depth_ / 8;
    // A copy within one surface reads from a snapshot, so overlapping
    // rectangles come out as if copied at once.
    std::vector<std::uint8_t> snapshot;
    const std::uint8_t* from = source.memory_.data();
    std::size_t from_pitch = source.pitch_;
    if (&source == this) {
        snapshot = memory_;
        from = snapshot.data();
    }
    const bool keyed = copy == Copy::SourceColorKey && source.has_color_key_;
    const bool same_size =
        destination.width() == source_rect.width() && destination.height() == source_rect.height();
    const int count = visible.width();
    const int first_column = source_rect.left + (visible.left - destination.left);
    // Source column of every visible destination column, by nearest pixel
    // when the sizes differ (only then is the table needed). The table's
    // memory is kept: text drawn at a narrower advance than its glyphs makes
    // thousands of such copies a second.
    thread_local std::vector<int> columns;
    columns.clear();
    if (!same_size)
        for (int i = 0; i < count; ++i)
            columns.push_back(
                source_rect.left +
                static_cast<int>(static_cast<long long>(first_column - source_rect.left + i) *
                                 source_rect.width() / destination.width()));
    const auto column = [&](int i) { return same_size ? first_column + i : columns[i]; };
    for (int y = visible.top; y < visible.bottom; ++y) {
        const int source_y =
            source_rect.top + static_cast<int>(static_cast<long long>(y - destination.top) *
                                               source_rect.height() / destination.height());
        const std::uint8_t* in = from + std::size_t(source_y) * from_pitch;
        std::uint8_t* to = memory_.data() + std::size_t(y) * pitch_ + visible.left * bytes;
        if (same_size && !keyed) {
            std::memcpy(to, in + first_column * bytes, std::size_t(count) * bytes);
        } else if (same_size && bytes == 1) {
            // Glyphs and sprites: a select instead of a branch, which the
            // ragged edges of glyphs would often mispredict.
            const std::uint8_t* row = in + first_column;
            const auto key = static_cast<std::uint8_t>(source.color_key_);
            for (int i = 0; i < count; ++i)
                to[i] = row[i] == key ? to[i] : row[i];
        } else if (bytes == 1) {
            const auto key = static_cast<std::uint8_t>(source.color_key_);
            for (int i = 0; i < count; ++i) {
                const std::uint8_t pixel = in[column(i)];
                to[i] = keyed && pixel == key ? to[i] : pixel;
            }
        } else {
            for (int i = 0; i < count; ++i) {
                const std::uint8_t* pixel = in + column(i) * bytes;
                if (!keyed || read_pixel(pixel, bytes) != source.color_key_)
                    std::memcpy(to + i * bytes, pixel, bytes);
            }
        }
    }
}

Result Surface::color_fill(const Rect& destination, std::uint32_t colour) {
    if (const Result result = both_ready(*this); result != Result::Ok)
        return result;
    Rect area = destination;
    if (clipper_)
        area = {std::max(0, area.left), std::max(0, area.top), std::min(width_, area.right),
                std::min(height_, area.bottom)};
    else if (!contains(area))
        return Result::InvalidRect;
    if (area.left >= area.right || area.top >= area.bottom)
        return Result::Ok;
    const int bytes = depth_ / 8;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* to = memory_.data() + std::size_t(y) * pitch_ + area.left * bytes;
        if (bytes == 1)
            std::memset(to, static_cast<std::uint8_t>(colour), area.width());
        else
            for (int x = 0; x < area.width(); ++x)
                write_pixel(to + x * bytes, bytes, colour);
    }
    show(area);
    return Result::Ok;
}

Result Surface::set_color_key(std::uint32_t key) {
    has_color_key_ = true;
    color_key_ = depth_ == 32 ? key : key & ((1u << depth_) - 1);
    return Result::Ok;
}

Result Surface::restore() {
    return Result::Ok;
}

Result Surface::flip() {
    if (!back_buffer_ || back_buffer_->memory_.size() != memory_.size())
        return Result::NotFlippable;
    if (const Result result = both_ready(*back_buffer_); result != Result::Ok)
        return result;
    // The back buffer keeps its picture: the game draws into it piece by
    // piece between flips.
    std::memcpy(memory_.data(), back_buffer_->memory_.data(), memory_.size());
    show({0, 0, width_, height_});
    return Result::Ok;
}

void Surface::attach_back_buffer(std::shared_ptr<Surface> back_buffer) {
    back_buffer_ = std::move(back_buffer);
}

Result Surface::get_attached_surface(std::shared_ptr<Surface>& back_buffer) {
    if (!back_buffer_)
        return Result::Generic;
    back_buffer = back_buffer_;
    return Result::Ok;
}

Result Surface::set_palette(std::shared_ptr<DevicePalette> palette) {
    palette_ = std::move(palette);
    return Result::Ok;
}

Result Surface::set_clipper(std::shared_ptr<Clipper> clipper) {
    clipper_ = std::move(clipper);
    return Result::Ok;
}

Result DevicePalette::set_entries(int first, int count, const PaletteEntry* entries) {
    if (first < 0 || count < 0 || count > 256 - first || (count > 0 && !entries))
        return Result::InvalidParams;
    std::copy(entries, entries + count, entries_.begin() + first);
    ++version_;
    return Result::Ok;
}

Result Clipper::set_window(Window* window) {
    window_ = window;
    return Result::Ok;
}

} // namespace platform
