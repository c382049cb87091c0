// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace zefa::fuzz {

/**
 * Choices picked out of a fuzzer's input: numbers from its end, strings from its front,
 * so that a target builds with any compiler and replays its seeds as a plain test.
 */
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  /** A number in [low, high] from the bytes at the end that the range needs; low when none are
   * left. */
  template <typename T>
  T IntegerInRange(T low, T high) {
    static_assert(std::is_unsigned_v<T>);
    const T range = high - low;
    T value = 0;
    for (std::size_t bits = 0;
         bits < std::numeric_limits<T>::digits && (range >> bits) != 0 && size_ > 0; bits += 8) {
      value = static_cast<T>((value << 8) | data_[--size_]);
    }
    if (range != std::numeric_limits<T>::max()) value = static_cast<T>(value % (range + 1));
    return static_cast<T>(low + value);
  }

  /**
   * Up to `max_length` bytes from the front: a backslash followed by anything but a second
   * backslash ends the string early, two backslashes give one.
   */
  std::string String(std::size_t max_length) {
    std::string text;
    while (text.size() < max_length && size_ > 0) {
      char byte = Next();
      if (byte == '\\' && size_ > 0) {
        byte = Next();
        if (byte != '\\') break;
      }
      text += byte;
    }
    return text;
  }

 private:
  char Next() {
    const char byte = static_cast<char>(*data_++);
    --size_;
    return byte;
  }

  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace zefa::fuzz
