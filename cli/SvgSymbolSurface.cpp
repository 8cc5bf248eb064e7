#include "SvgSymbolSurface.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", std::abs(value) < 5e-5 ? 0.0 : value);
    return text;
}

}  // namespace

CSvgSymbolSurface::CSvgSymbolSurface(double pixelsPerUnit, double halfWidth)
    : m_dScale(pixelsPerUnit), m_dHalfWidth(halfWidth) {}

void CSvgSymbolSurface::MoveTo(double x, double y) {
    m_dPenX = x;
    m_dPenY = y;
}

void CSvgSymbolSurface::LineTo(double x, double y) {
    m_shapes << "    <line x1=\"" << Number(m_dPenX) << "\" y1=\"" << Number(m_dPenY) << "\" x2=\""
             << Number(x) << "\" y2=\"" << Number(y) << "\"/>\n";
    m_dPenX = x;
    m_dPenY = y;
}

void CSvgSymbolSurface::Circle(double cx, double cy, double radius) {
    m_shapes << "    <circle cx=\"" << Number(cx) << "\" cy=\"" << Number(cy) << "\" r=\""
             << Number(std::abs(radius)) << "\"/>\n";
}

std::string CSvgSymbolSurface::Document() const {
    const std::string size = Number(2 * m_dHalfWidth * m_dScale);
    const std::string centre = Number(m_dHalfWidth * m_dScale);
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
        << "\" viewBox=\"0 0 " << size << ' ' << size << "\">\n"
        << "  <rect width=\"" << size << "\" height=\"" << size << "\" fill=\"black\"/>\n"
        << "  <g transform=\"translate(" << centre << ' ' << centre << ") scale("
        << Number(m_dScale) << ' ' << Number(-m_dScale) << ")\" fill=\"none\" "
        << "stroke-width=\"" << Number(1.0 / m_dScale) << "\">\n"
        << "    <circle cx=\"0\" cy=\"0\" r=\"16\" stroke=\"grey\"/>\n"
        << "    <g stroke=\"white\" stroke-linecap=\"round\">\n"
        << m_shapes.str() << "    </g>\n  </g>\n</svg>\n";
    return svg.str();
}
