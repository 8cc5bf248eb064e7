// The all-sky chart of a catalogue: Hammer-Aitoff equal-area projection centred on RA 0h,
// Dec 0, right ascension growing to the left (as the sky is seen from inside), with the
// looks the desktop map and the command-line chart share: grid, colours and mark sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A point of the chart in units where the whole sky fills the ellipse x^2 + y^2 <= 1:
// x = -1 at the left edge (RA just below 12h), +1 at the right edge, y = +1 at the north pole.
struct SkyPoint {
    double x = 0;
    double y = 0;
};

// ra and dec in radians (any RA, taken modulo 24h).
SkyPoint ProjectSky(double ra, double dec);

// The grid: meridians every 2h of RA and parallels every 30 degrees, as polylines in chart
// units (the outer ellipse, the meridians at 12h, is the first line).
std::vector<std::vector<SkyPoint>> SkyGridLines();

// Placing chart units on an image of width by height pixels, keeping the 2:1 aspect and a
// margin around the ellipse.
class CSkyFrame {
public:
    CSkyFrame(double width, double height, double margin = 8.0);
    double PixelX(const SkyPoint& p) const { return m_dCentreX + p.x * m_dHalfWidth; }
    double PixelY(const SkyPoint& p) const { return m_dCentreY - p.y * m_dHalfHeight; }
    // The chart point at a pixel (outside the sky when x^2 + y^2 > 1).
    SkyPoint ToChart(double px, double py) const {
        return {(px - m_dCentreX) / m_dHalfWidth, (m_dCentreY - py) / m_dHalfHeight};
    }
    double HalfWidth() const { return m_dHalfWidth; }

private:
    double m_dCentreX, m_dCentreY, m_dHalfWidth, m_dHalfHeight;
};

struct SkyColour {
    std::uint8_t r, g, b;
};
// The mark colour of an object type code (one per type of the type table; grey otherwise).
SkyColour ObjectTypeColour(int type);

// The magnitudes the marks are scaled by.
struct MagnitudeRange {
    double brightest = 0;
    double faintest = 0;
    bool empty = true;
};
// The range of a set of magnitudes (hundredths; 9999 for none is left out), without the
// brightest and faintest hundredth so that a few odd values do not squeeze the rest.
MagnitudeRange ScaleMagnitudes(std::vector<std::int16_t> magnitudes);
// Radius in pixels of the mark of an object: largest for the brightest, smallest for the
// faintest (and fainter) and for objects without magnitude.
double MarkRadius(std::int16_t magnitude, const MagnitudeRange& range, double smallest,
                  double largest);

// The smallest and largest mark radius on a chart whose ellipse is halfWidth pixels wide on
// each side, holding count objects, and the marks' opacity: crowded charts get smaller,
// fainter marks, so that dense regions still show as denser.
struct MarkSizes {
    double smallest;
    double largest;
    double opacity;
};
MarkSizes ChartMarkSizes(double halfWidth, std::size_t count);
