#include "gui/symbols/SymbolSample.h"

#include <QPainter>
#include <algorithm>

namespace {

// A side of 97 pixels gives a scale of exactly 3 pixels per symbol unit.
constexpr int kSampleSide = 97;

const QColor kBackground(0, 0, 0);
const QColor kReferenceCircle(128, 128, 128);
const QColor kSymbolPen(255, 255, 255);

// The box whose outline lights columns left..right and rows top..bottom, both corners
// included, from two corners in any order. Unantialiased, QPainter strokes the outline of a
// whole-pixel rectangle of width W over W + 1 columns, so the width is right - left.
QRect OutlineBox(int x1, int y1, int x2, int y2) {
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    return QRect(left, top, std::max(x1, x2) - left, std::max(y1, y2) - top);
}

// Turns symbol coordinates into pixels of the sample area and draws there.
class CPainterSymbolSurface : public ISymbolSurface {
public:
    CPainterSymbolSurface(QPainter& painter, double scale, int cx, int cy)
        : m_rPainter(painter), m_dScale(scale), m_nCx(cx), m_nCy(cy), m_pen(cx, cy) {}

    void MoveTo(double x, double y) override { m_pen = ToPixel(x, y); }

    void LineTo(double x, double y) override {
        const QPoint to = ToPixel(x, y);
        m_rPainter.drawLine(m_pen, to);
        m_pen = to;
    }

    void Circle(double x, double y, double radius) override {
        const int x1 = static_cast<int>((x - radius) * m_dScale + m_nCx);
        const int y1 = static_cast<int>(m_nCy - (y - radius) * m_dScale);
        const int x2 = static_cast<int>((x + radius) * m_dScale + m_nCx);
        const int y2 = static_cast<int>(m_nCy - (y + radius) * m_dScale);
        m_rPainter.drawEllipse(OutlineBox(x1, y1, x2, y2));
    }

private:
    QPoint ToPixel(double x, double y) const {
        return QPoint(static_cast<int>(m_nCx + x * m_dScale),
                      static_cast<int>(m_nCy - y * m_dScale));
    }

    QPainter& m_rPainter;
    double m_dScale;
    int m_nCx;
    int m_nCy;
    QPoint m_pen;  // where the next line starts, in pixels
};

}  // namespace

void DrawSymbolSample(QPainter& painter, int width, int height, const SymbolProgram& program) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(0, 0, width, height);

    // Scale from the smaller side: 32 symbol units span it less one pixel.
    const int size = std::min(width, height);
    const double scale = (size - 1) * 0.03125;
    // Centre of the whole area in whole pixels.
    const int cx = width / 2;
    const int cy = height / 2;

    // Background, then outlines only.
    painter.fillRect(0, 0, width, height, kBackground);
    painter.setBrush(Qt::NoBrush);

    // Reference circle: the nominal outline, radius 16 symbol units.
    painter.setPen(QPen(kReferenceCircle, 1));
    const double r = 16 * scale;
    painter.drawEllipse(OutlineBox(static_cast<int>(cx - r), static_cast<int>(cy - r),
                                   static_cast<int>(cx + r), static_cast<int>(cy + r)));

    // The symbol, in white, from the centre.
    painter.setPen(QPen(kSymbolPen, 1));
    CPainterSymbolSurface surface(painter, scale, cx, cy);
    RunSymbolProgram(program, surface);

    painter.restore();
}

CSymbolSampleArea::CSymbolSampleArea(const SymbolProgram& program, QWidget* parent)
    : QWidget(parent), m_rProgram(program) {
    setFixedSize(kSampleSide, kSampleSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CSymbolSampleArea::sizeHint() const {
    return QSize(kSampleSide, kSampleSide);
}

void CSymbolSampleArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSymbolSample(painter, width(), height(), m_rProgram);
}
