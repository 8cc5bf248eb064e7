// A symbol surface that draws the symbol sample as SVG: a black square, the grey reference
// circle of radius 16 symbol units and the symbol in white, Y growing upwards.
#pragma once

#include <sstream>
#include <string>

#include "core/symbols/SymbolLanguage.h"

class CSvgSymbolSurface : public ISymbolSurface {
public:
    // pixelsPerUnit: scale of the picture; the square spans halfWidth units each way.
    explicit CSvgSymbolSurface(double pixelsPerUnit = 5.0, double halfWidth = 20.0);

    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void Circle(double cx, double cy, double radius) override;

    // The whole SVG document.
    std::string Document() const;

private:
    double m_dScale;
    double m_dHalfWidth;
    double m_dPenX = 0.0;
    double m_dPenY = 0.0;
    std::ostringstream m_shapes;
};
