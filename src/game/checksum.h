#pragma once

// A 64-bit FNV-1a hash: a short value that tells apart game states (or rule
// data) that differ, not a guard against deliberate collisions.

#include <cstddef>
#include <cstdint>
#include <type_traits>

class Checksum {
  public:
    void add(const void* bytes, std::size_t size) {
        const auto* byte = static_cast<const std::uint8_t*>(bytes);
        for (std::size_t i = 0; i < size; ++i)
            value_ = (value_ ^ byte[i]) * prime;
    }
    // A number as its bytes in little-endian order, the same on every machine.
    template <typename Number> std::enable_if_t<std::is_integral_v<Number>> add(Number number) {
        for (std::size_t i = 0; i < sizeof number; ++i)
            value_ = (value_ ^ static_cast<std::uint8_t>(
                                   static_cast<std::make_unsigned_t<Number>>(number) >> (8 * i))) *
                     prime;
    }
    std::uint64_t value() const { return value_; }

  private:
    static constexpr std::uint64_t prime = 0x100000001B3;
    std::uint64_t value_ = 0xCBF29CE484222325;
};
