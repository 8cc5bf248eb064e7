// The symbol sample: a compiled symbol program drawn into a small area, white on black over
// a grey circle that marks the nominal outline of a symbol (radius 16 symbol units).
//
// Geometry, in the area's own pixels: the smaller side less one pixel spans 32 symbol units
// (scale s = (size - 1) / 32), the centre is (w / 2, h / 2) in whole pixels, Y grows upwards,
// and every point is cut to a whole pixel by truncation toward zero. A circle or ellipse is
// given by the corners of its bounding box, and both corners are painted: a box from (0, 0)
// to (52, 52) gives an outline whose leftmost column is 0 and rightmost column 52, symmetric
// about the centre pixel (26, 26). Lines paint both end pixels. Nothing is antialiased, so
// the same program always lights the same pixels; drawing is cut off at the area's edge.
#pragma once

#include <QWidget>

#include "core/symbols/SymbolLanguage.h"

class QPainter;

// Draws program into the area (0, 0)-(width, height) of painter's device.
void DrawSymbolSample(QPainter& painter, int width, int height, const SymbolProgram& program);

// The sample area of the Symbol Definition dialog. It shows the program it is given, which
// its owner changes only when it parses the instructions again; repainting never reads text.
class CSymbolSampleArea : public QWidget {
    Q_OBJECT
public:
    explicit CSymbolSampleArea(const SymbolProgram& program, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SymbolProgram& m_rProgram;
};
