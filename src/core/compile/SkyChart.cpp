#include "core/compile/SkyChart.h"

#include <algorithm>
#include <cmath>

namespace {

class CRaster {
public:
    CRaster(int width, int height)
        : m_nWidth(width),
          m_nHeight(height),
          m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {}

    void Blend(int x, int y, SkyColour c, double alpha) {
        if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight || alpha <= 0)
            return;
        alpha = std::min(alpha, 1.0);
        std::uint8_t* p =
            &m_pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                       static_cast<std::size_t>(x)) *
                      3];
        const int a = static_cast<int>(alpha * 256);
        for (const std::uint8_t v : {c.r, c.g, c.b}) {
            *p = static_cast<std::uint8_t>(*p + (((v - *p) * a) >> 8));
            ++p;
        }
    }
    void Disc(double cx, double cy, double r, SkyColour c, double opacity) {
        // Covered pixels at full colour, the rim anti-aliased over one pixel.
        const double inner = r > 0.5 ? (r - 0.5) * (r - 0.5) : -1.0;
        const double outer = (r + 0.5) * (r + 0.5);
        const int y1 = static_cast<int>(std::ceil(cy + r + 0.5));
        const int x1 = static_cast<int>(std::ceil(cx + r + 0.5));
        for (int y = static_cast<int>(std::floor(cy - r - 0.5)); y <= y1; ++y) {
            const double dy = y + 0.5 - cy;
            for (int x = static_cast<int>(std::floor(cx - r - 0.5)); x <= x1; ++x) {
                const double dx = x + 0.5 - cx;
                const double d2 = dx * dx + dy * dy;
                if (d2 >= outer)
                    continue;
                Blend(x, y, c, opacity * (d2 <= inner ? 1.0 : r + 0.5 - std::sqrt(d2)));
            }
        }
    }
    void Line(double x0, double y0, double x1, double y1, SkyColour c) {
        const int steps = std::max(1, static_cast<int>(std::ceil(std::hypot(x1 - x0, y1 - y0))));
        for (int k = 0; k <= steps; ++k) {
            Blend(static_cast<int>(std::floor(x0 + (x1 - x0) * k / steps)),
                  static_cast<int>(std::floor(y0 + (y1 - y0) * k / steps)), c, 0.6);
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(m_pixels); }

private:
    int m_nWidth, m_nHeight;
    std::vector<std::uint8_t> m_pixels;
};

}  // namespace

std::vector<std::uint8_t> RenderSkyChart(int width, int height, std::vector<SkyMark> marks,
                                         SkyColour paper, double margin,
                                         const std::atomic<bool>* cancel) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const CSkyFrame frame(width, height, margin);
    CRaster raster(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const SkyPoint p = frame.ToChart(x + 0.5, y + 0.5);
            raster.Blend(x, y, p.x * p.x + p.y * p.y <= 1 ? kSkyChartBackground : paper, 1);
        }
    }
    for (const auto& line : SkyGridLines()) {
        for (std::size_t k = 1; k < line.size(); ++k) {
            raster.Line(frame.PixelX(line[k - 1]), frame.PixelY(line[k - 1]), frame.PixelX(line[k]),
                        frame.PixelY(line[k]), kSkyChartGrid);
        }
    }
    std::stable_sort(marks.begin(), marks.end(),
                     [](const SkyMark& a, const SkyMark& b) { return a.radius < b.radius; });
    for (std::size_t k = 0; k < marks.size(); ++k) {
        if (cancel != nullptr && k % 16384 == 0 && cancel->load(std::memory_order_relaxed))
            return {};
        const SkyMark& m = marks[k];
        raster.Disc(frame.PixelX(m.at), frame.PixelY(m.at), m.radius, m.colour, m.opacity);
    }
    return raster.Take();
}
