#pragma once

// A 64-bit FNV-1a hash: a short value that tells apart inputs that differ,
// for keys of things kept between runs (not against deliberate collisions).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace platform {

class Fingerprint {
  public:
    void add(const void* bytes, std::size_t size) {
        const auto* byte = static_cast<const std::uint8_t*>(bytes);
        for (std::size_t i = 0; i < size; ++i)
            value_ = (value_ ^ byte[i]) * prime;
    }
    template <typename Number> std::enable_if_t<std::is_arithmetic_v<Number>> add(Number number) {
        add(&number, sizeof number);
    }
    void add(std::string_view text) {
        add(text.size());
        add(text.data(), text.size());
    }
    std::uint64_t value() const { return value_; }

  private:
    static constexpr std::uint64_t prime = 0x100000001B3;
    std::uint64_t value_ = 0xCBF29CE484222325;
};

} // namespace platform
