// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

namespace zefa::test {

/**
 * A valid grey JPEG for exiv2 to add metadata to: quantisation, frame, two one-code Huffman
 * tables and a scan. One pixel with `scan_bytes` bytes of scan (the block's two codes and
 * padding, then filler); or 64 x 64 pixels, whose 64 blocks take 16 bytes of codes.
 */
inline std::string MinimalJpeg(std::size_t scan_bytes = 1, bool side_64 = false) {
  std::string bytes = "\xFF\xD8\xFF\xDB";
  bytes += std::string("\x00\x43\x00", 3) + std::string(64, '\x01');
  bytes += side_64 ? std::string("\xFF\xC0\x00\x0B\x08\x00\x40\x00\x40\x01\x01\x11\x00", 13)
                   : std::string("\xFF\xC0\x00\x0B\x08\x00\x01\x00\x01\x01\x01\x11\x00", 13);
  for (const char table : {'\x00', '\x10'}) {
    bytes += std::string("\xFF\xC4\x00\x14", 4) + table + '\x01' + std::string(15, '\x00') + '\x00';
  }
  bytes += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
  bytes += side_64 ? std::string(16, '\x00') : std::string(scan_bytes, '\x3F');
  bytes += "\xFF\xD9";
  return bytes;
}

}  // namespace zefa::test
