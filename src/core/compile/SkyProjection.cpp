#include "core/compile/SkyProjection.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "core/compile/CatalogObject.h"

SkyPoint ProjectSky(double ra, double dec) {
    // Longitude from the centre, in (-pi, pi]: positive east of 0h, drawn to the left.
    double lambda = std::remainder(ra, 2 * std::numbers::pi);
    if (lambda <= -std::numbers::pi)
        lambda += 2 * std::numbers::pi;
    const double half = lambda / 2;
    const double d = std::sqrt(1 + std::cos(dec) * std::cos(half));
    return {-std::cos(dec) * std::sin(half) / d, std::sin(dec) / d};
}

std::vector<std::vector<SkyPoint>> SkyGridLines() {
    constexpr double kDegree = std::numbers::pi / 180;
    constexpr int kSteps = 90;
    std::vector<std::vector<SkyPoint>> lines;
    // Meridians: 12h twice (the outline's left and right halves), then every 2h.
    const auto meridian = [&](double ra) {
        std::vector<SkyPoint> line;
        for (int k = 0; k <= kSteps; ++k)
            line.push_back(ProjectSky(ra, (-90.0 + 180.0 * k / kSteps) * kDegree));
        lines.push_back(std::move(line));
    };
    meridian(180 * kDegree - 1e-9);
    meridian(180 * kDegree + 1e-9);
    for (int h = 0; h < 24; h += 2) {
        if (h != 12)
            meridian(h * 15 * kDegree);
    }
    for (int dec = -60; dec <= 60; dec += 30) {
        std::vector<SkyPoint> line;
        for (int k = 0; k <= 2 * kSteps; ++k) {
            // From the left edge (RA just below 12h) across to the right edge.
            const double ra = (180.0 - 1e-6) - (360.0 - 2e-6) * k / (2 * kSteps);
            line.push_back(ProjectSky(ra * kDegree, dec * kDegree));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

CSkyFrame::CSkyFrame(double width, double height, double margin) {
    double halfWidth = width / 2 - margin;
    double halfHeight = height / 2 - margin;
    // The ellipse is twice as wide as it is high.
    if (halfWidth > 2 * halfHeight)
        halfWidth = 2 * halfHeight;
    else
        halfHeight = halfWidth / 2;
    m_dCentreX = width / 2;
    m_dCentreY = height / 2;
    m_dHalfWidth = std::max(halfWidth, 1.0);
    m_dHalfHeight = std::max(halfHeight, 0.5);
}

SkyColour ObjectTypeColour(int type) {
    // General, galaxy, galaxy cluster, open cluster, globular cluster, planetary nebula,
    // bright nebula, dark nebula, star, supernova remnant, quasar, radio source, X-ray source.
    static constexpr SkyColour kColours[] = {
        {200, 200, 200}, {255, 140, 60},  {255, 90, 90},   {120, 200, 255}, {255, 220, 90},
        {90, 230, 170},  {230, 120, 255}, {150, 120, 110}, {255, 255, 220}, {255, 100, 180},
        {160, 255, 100}, {100, 160, 255}, {180, 255, 255}};
    if (type < 0 || type >= static_cast<int>(std::size(kColours)))
        return {140, 140, 140};
    return kColours[type];
}

MagnitudeRange ScaleMagnitudes(std::vector<std::int16_t> magnitudes) {
    std::erase(magnitudes, catalog_object::kNoMagnitude);
    MagnitudeRange range;
    if (magnitudes.empty())
        return range;
    const std::size_t cut = magnitudes.size() / 100;
    const auto bright = magnitudes.begin() + static_cast<std::ptrdiff_t>(cut);
    const auto faint = magnitudes.end() - 1 - static_cast<std::ptrdiff_t>(cut);
    std::nth_element(magnitudes.begin(), bright, magnitudes.end());
    range.brightest = *bright / 100.0;
    std::nth_element(bright, faint, magnitudes.end());
    range.faintest = *faint / 100.0;
    range.empty = false;
    return range;
}

double MarkRadius(std::int16_t magnitude, const MagnitudeRange& range, double smallest,
                  double largest) {
    if (magnitude == catalog_object::kNoMagnitude || range.empty)
        return smallest;
    if (range.faintest <= range.brightest)
        return (smallest + largest) / 2;
    const double t = (range.faintest - magnitude / 100.0) / (range.faintest - range.brightest);
    return smallest + (largest - smallest) * std::clamp(t, 0.0, 1.0);
}

MarkSizes ChartMarkSizes(double halfWidth, std::size_t count) {
    const double scale = std::max(0.6, halfWidth / 600);
    const double crowding =
        std::clamp(std::sqrt(20000.0 / std::max(static_cast<double>(count), 1.0)), 0.3, 1.0);
    const double area = std::numbers::pi * halfWidth * halfWidth / 2;
    const double opacity =
        std::clamp(area / (3.0 * std::max(static_cast<double>(count), 1.0)), 0.06, 1.0);
    return {0.7 * scale, std::max(0.7, 4.5 * crowding) * scale, opacity};
}
