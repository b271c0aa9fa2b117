#pragma once
// The window's decorative picture of a diaphragm spring, as data that the
// desktop (QPainter) and the page (canvas) both draw: a steel disc seen from
// the front, its solid outer ring and the fingers that run inward from it,
// separated by radial slots that end in round windows, up to the central hole.
// Lengths are in hundredths of the picture's half width, about its centre.

#include <cstdint>

namespace diaspring::picture {

constexpr double kUnit = 100.0;             // the picture's half width
constexpr int kFingers = 18;
constexpr double kOuter = 0.96 * kUnit;     // outer edge of the ring
constexpr double kSlotRoot = 0.62 * kUnit;  // where the slots end in the ring
constexpr double kWindow = 0.045 * kUnit;   // radius of the round window at a slot's root
constexpr double kHole = 0.26 * kUnit;      // the central hole, at the fingers' tips
constexpr double kSlotHalfWidth = 0.022 * kUnit;
constexpr double kSlotInset = 2.0;          // a slot starts this far inside the hole

// A faint shadow below and to the right.
constexpr double kShadowX = 2.5, kShadowY = 3.0;
constexpr std::uint32_t kShadowArgb = 0x28000000;

// The steel face: a radial gradient with its focus up and left, its stops.
constexpr double kSteelX = -30.0, kSteelY = -35.0, kSteelRadius = 140.0;
struct Stop {
  double at;
  std::uint32_t rgb;
};
constexpr Stop kSteel[] = {{0.0, 0xEEF0F2}, {0.55, 0xB4B9BF}, {1.0, 0x787E86}};

// The darker rim round every edge, and the dashed trace of the support ring.
constexpr std::uint32_t kRimRgb = 0x4A5058;
constexpr double kRimWidth = 1.8;
constexpr std::uint32_t kRingArgb = 0x965E646C;
constexpr double kRingRadius = 79.0, kRingWidth = 1.2;

}  // namespace diaspring::picture
