// Drawing the all-sky chart into an RGB image: the sky's ellipse, the grid and one
// anti-aliased disc per object. The desktop map and the command-line PNG share it.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "core/compile/SkyProjection.h"

inline constexpr SkyColour kSkyChartBackground{16, 24, 40};
inline constexpr SkyColour kSkyChartGrid{70, 90, 130};
inline constexpr double kSkyChartMargin = 8.0;

struct SkyMark {
    SkyPoint at;
    double radius;  // pixels
    SkyColour colour;
    double opacity = 1.0;
};

// An RGB image (3 bytes a pixel, rows top to bottom) of width by height pixels: paper around
// the sky, then the marks, smallest first so bright objects stay on top. Returns an empty
// image when cancel is set while drawing.
std::vector<std::uint8_t> RenderSkyChart(int width, int height, std::vector<SkyMark> marks,
                                         SkyColour paper, double margin = kSkyChartMargin,
                                         const std::atomic<bool>* cancel = nullptr);
