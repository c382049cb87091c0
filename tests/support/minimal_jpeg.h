// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

namespace zefa::test {

/**
 * A valid 1 x 1 grey JPEG: quantisation, frame, two one-code Huffman tables and a scan of
 * `scan_bytes` bytes (each the block's two codes and padding), for exiv2 to add metadata to.
 */
inline std::string MinimalJpeg(std::size_t scan_bytes = 1) {
  std::string bytes = "\xFF\xD8\xFF\xDB";
  bytes += std::string("\x00\x43\x00", 3) + std::string(64, '\x01');
  bytes += std::string("\xFF\xC0\x00\x0B\x08\x00\x01\x00\x01\x01\x01\x11\x00", 13);
  for (const char table : {'\x00', '\x10'}) {
    bytes += std::string("\xFF\xC4\x00\x14", 4) + table + '\x01' + std::string(15, '\x00') + '\x00';
  }
  bytes += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
  bytes += std::string(scan_bytes, '\x3F') + "\xFF\xD9";
  return bytes;
}

}  // namespace zefa::test
