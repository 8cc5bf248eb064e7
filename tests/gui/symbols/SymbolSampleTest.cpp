// The sample's geometry, read back from the pixels of offscreen renderings.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <utility>

#include "gui/symbols/SymbolSample.h"

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kOutside = qRgb(0, 0, 255);

// Draws the instructions into a w x h sample at the top left of an image with a blue margin
// of `margin` pixels to the right and below, so drawing beyond the area would show.
QImage Render(const std::string& instructions, int w, int h, int margin = 0) {
    QImage image(w + margin, h + margin, QImage::Format_RGB32);
    image.fill(kOutside);
    SymbolProgram program;
    ParseSymbolInstructions(instructions, program);
    QPainter painter(&image);
    DrawSymbolSample(painter, w, h, program);
    return image;
}

using Pixels = std::set<std::pair<int, int>>;

Pixels PixelsOf(const QImage& image, QRgb colour) {
    Pixels pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour)
                pixels.insert({x, y});
        }
    }
    return pixels;
}

// Extent of a set of pixels: leftmost, topmost, rightmost, bottommost.
struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool operator==(const Extent&) const = default;
};
void PrintTo(const Extent& e, std::ostream* out) {
    *out << "(" << e.left << "," << e.top << ")-(" << e.right << "," << e.bottom << ")";
}
Extent ExtentOf(const Pixels& pixels) {
    Extent e;
    for (auto [x, y] : pixels) {
        e.left = std::min(e.left, x);
        e.top = std::min(e.top, y);
        e.right = std::max(e.right, x);
        e.bottom = std::max(e.bottom, y);
    }
    return e;
}

}  // namespace

TEST(SymbolSample, ReferenceCircleOf53PixelsSpansTheAreaSymmetricallyAboutTheCentre) {
    const QImage image = Render("", 53, 53);
    const Pixels grey = PixelsOf(image, kGrey);
    EXPECT_EQ(ExtentOf(grey), (Extent{0, 0, 52, 52}));
    // The outline touches each side at the centre row or column.
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{0, 26}, {52, 26}, {26, 0}, {26, 52}})
        EXPECT_EQ(image.pixel(x, y), kGrey) << x << "," << y;
    // Mirror symmetric about (26, 26) both ways; everything else is black background.
    for (auto [x, y] : grey) {
        EXPECT_TRUE(grey.count({52 - x, y}) && grey.count({x, 52 - y})) << x << "," << y;
    }
    EXPECT_EQ(PixelsOf(image, kBlack).size() + grey.size(), 53u * 53u);
    EXPECT_EQ(image.pixel(26, 26), kBlack);
    EXPECT_EQ(image.pixel(0, 0), kBlack);
}

TEST(SymbolSample, NominalOutlineLiesExactlyOverTheReferenceCircleAndOtherProgramsDrawNothing) {
    const Pixels grey = PixelsOf(Render("", 53, 53), kGrey);
    // A negative radius gives the same outline (its box corners are swapped). Unknown words, a
    // circle without a radius, bare operands and moves draw nothing.
    const std::pair<const char*, bool> cases[] = {
        {"16,CIR", true}, {"-16,CIR", true}, {"CIRCLE;MR ", false},
        {"CIR", false},   {"1,2,3", false},  {"5,5,MR;-5,-5,MA", false}};
    for (const auto& [text, outline] : cases) {
        SCOPED_TRACE(text);
        const QImage image = Render(text, 53, 53);
        EXPECT_EQ(PixelsOf(image, kWhite), outline ? grey : Pixels());
        EXPECT_EQ(PixelsOf(image, kGrey), outline ? Pixels() : grey);
    }
}

TEST(SymbolSample, LinesRunFromTheCentreWithYUpwards) {
    // 16 units across the centre: 8 units are 13 pixels, so columns 13..39 of row 26.
    const QImage across = Render("-8,0,MA;8,0,DA", 53, 53);
    const Pixels line = PixelsOf(across, kWhite);
    EXPECT_EQ(ExtentOf(line), (Extent{13, 26, 39, 26}));
    EXPECT_EQ(line.size(), 27u);  // one row: every column of the extent
    // The line lies over the background and leaves the rest of the circle grey.
    EXPECT_EQ(across.pixel(0, 26), kGrey);

    // Up is towards row 0: the pen starts at the centre, a relative draw of 8 units up ends
    // at row 13.
    const Pixels up = PixelsOf(Render("0,8,DR", 53, 53), kWhite);
    EXPECT_EQ(ExtentOf(up), (Extent{26, 13, 26, 26}));
    EXPECT_EQ(up.size(), 14u);
}

TEST(SymbolSample, NonSquareAreaScalesFromTheSmallerSideAndCentresOnTheWhole) {
    struct Case {
        int w, h;
        Extent circle;  // expected extent of the reference circle
    };
    // 81 x 53 and 53 x 81: scale 1.625 from the side of 53, centre (40, 26) or (26, 40).
    // 60 x 41: scale 40 / 32 = 1.25, radius 20 pixels about (30, 20).
    const Case cases[] = {
        {81, 53, {14, 0, 66, 52}}, {53, 81, {0, 14, 52, 66}}, {60, 41, {10, 0, 50, 40}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const QImage image = Render("16,CIR", c.w, c.h);
        EXPECT_EQ(ExtentOf(PixelsOf(image, kWhite)), c.circle);
        EXPECT_TRUE(PixelsOf(image, kGrey).empty());
        EXPECT_EQ(PixelsOf(image, kBlack).size() + PixelsOf(image, kWhite).size(),
                  static_cast<std::size_t>(c.w * c.h));
    }
}

TEST(SymbolSample, DrawingOutsideTheCircleReachesTheEdgeAndStopsThere) {
    // 101 x 53: centre (50, 26), scale 1.625. 24 units right is column trunc(50 + 39) = 89,
    // beyond the circle's right edge at column 76.
    const QImage wide = Render("0,0,MA;24,0,DA", 101, 53);
    EXPECT_EQ(ExtentOf(PixelsOf(wide, kWhite)), (Extent{50, 26, 89, 26}));

    // 30 units right of the centre of 53 x 53 is column 74, past the area's edge at 52: the
    // line is cut off there and nothing lands in the margin beyond the area, the only place
    // left in the margin's colour.
    const QImage cut = Render("30,0,DA;0,-30,DA;40,CIR", 53, 53, 20);
    EXPECT_EQ(cut.pixel(52, 26), kWhite);
    EXPECT_EQ(PixelsOf(cut, kOutside).size(), 73u * 73u - 53u * 53u);
}
