// core/progress/builtin_strip.h
// The tile strip the bar uses when its caller gives none: nine ten-pixel tiles of 16 rows, a
// grey track and a rounded blue bar. Pixels are 32-bit 0x00RRGGBB, rows top-down, as a 32 bpp
// bitmap holds them.
#pragma once

#include <cstdint>
#include <vector>

namespace progress {

constexpr int kBuiltInStripWidth = 90;
constexpr int kBuiltInStripHeight = 16;
constexpr int kBuiltInStripBytesPerRow = kBuiltInStripWidth * 4;

std::vector<std::uint32_t> BuiltInStripPixels();

}  // namespace progress
