// plot: an all-sky chart of a compiled catalogue, one mark per object, as SVG or PNG.
#include <png.h>
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <ostream>

#include "CliCommands.h"
#include "core/compile/CatalogReader.h"
#include "core/compile/SkyChart.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileReading.h"

namespace {

constexpr double kKeyToRadians = 3.141592653589793 / (180.0 * 360000.0);
constexpr SkyColour kPaper{255, 255, 255};
constexpr double kChartMargin = 24;

struct PlotArgs {
    std::string catalogue;
    std::string output;
    int width = 1200;
};

// The catalogue's objects as marks.
std::vector<SkyMark> CatalogMarks(std::string_view bytes, const CompiledCatalog& catalog,
                                  double halfWidth) {
    // The entries are read twice, for the magnitude scale and then for the marks, rather than
    // held decoded: a large catalogue would need as much again.
    const auto count = static_cast<std::size_t>(catalog.entryCount);
    std::vector<std::int16_t> magnitudes;
    magnitudes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        magnitudes.push_back(ReadCatalogEntry(bytes, catalog, i).magnitude);
    const MagnitudeRange range = ScaleMagnitudes(std::move(magnitudes));
    const MarkSizes sizes = ChartMarkSizes(halfWidth, count);
    std::vector<SkyMark> marks;
    marks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const CatalogEntry e = ReadCatalogEntry(bytes, catalog, i);
        marks.push_back({ProjectSky(e.raKey * kKeyToRadians, e.decKey * kKeyToRadians),
                         MarkRadius(e.magnitude, range, sizes.smallest, sizes.largest),
                         ObjectTypeColour(e.type), sizes.opacity});
    }
    // Faintest first, so that bright ones are drawn on top.
    std::stable_sort(marks.begin(), marks.end(),
                     [](const SkyMark& a, const SkyMark& b) { return a.radius < b.radius; });
    return marks;
}

std::string Number(double value, int decimals = 1) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

std::string Hex(SkyColour c) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (const std::uint8_t v : {c.r, c.g, c.b}) {
        text += kDigits[v >> 4];
        text += kDigits[v & 15];
    }
    return text;
}

std::string XmlText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                // Catalogue texts are Latin-1; keep plain ASCII only in the XML.
                escaped += static_cast<unsigned char>(c) < 0x80 && c >= ' ' ? c : '?';
        }
    }
    return escaped;
}

std::string ChartSvg(const CompiledCatalog& catalog, const std::vector<SkyMark>& marks, int width,
                     int height) {
    const CSkyFrame frame(width, height, kChartMargin);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "width=\"" +
        std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
        std::to_string(width) + ' ' + std::to_string(height) + "\">\n";
    svg += "<title>" + XmlText(catalog.definition.m_strTitle) + "</title>\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"" + Hex(kPaper) + "\"/>\n";
    const SkyPoint centre{0, 0};
    svg += "<ellipse cx=\"" + Number(frame.PixelX(centre)) + "\" cy=\"" +
           Number(frame.PixelY(centre)) + "\" rx=\"" + Number(frame.HalfWidth()) + "\" ry=\"" +
           Number(frame.HalfWidth() / 2) + "\" fill=\"" + Hex(kSkyChartBackground) + "\"/>\n";
    svg += "<g fill=\"none\" stroke=\"" + Hex(kSkyChartGrid) + "\" stroke-width=\"0.8\">\n";
    for (const auto& line : SkyGridLines()) {
        svg += "<polyline points=\"";
        for (const SkyPoint& p : line)
            svg += Number(frame.PixelX(p)) + ',' + Number(frame.PixelY(p)) + ' ';
        svg.back() = '"';
        svg += "/>\n";
    }
    svg += "</g>\n<g stroke=\"none\">\n";
    for (const SkyMark& m : marks) {
        svg += "<circle cx=\"" + Number(frame.PixelX(m.at)) + "\" cy=\"" +
               Number(frame.PixelY(m.at)) + "\" r=\"" + Number(m.radius) + "\" fill=\"" +
               Hex(m.colour) + (m.opacity < 1 ? "\" fill-opacity=\"" + Number(m.opacity, 2) : "") +
               "\"/>\n";
    }
    svg += "</g>\n<text x=\"8\" y=\"16\" font-family=\"sans-serif\" font-size=\"12\">" +
           XmlText(catalog.definition.m_strTitle) + " (" + std::to_string(marks.size()) +
           " objects)</text>\n";
    svg += "</svg>\n";
    return svg;
}

bool ChartPng(const std::vector<SkyMark>& marks, int width, int height, std::string& png,
              std::string& error) {
    const std::vector<std::uint8_t> pixels =
        RenderSkyChart(width, height, marks, kPaper, kChartMargin);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr)) {
        png.resize(size);
        if (png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) {
            png.resize(size);
            return true;
        }
    }
    error = std::string("cannot encode the PNG image: ") + image.message;
    png_image_free(&image);
    return false;
}

bool EndsWith(std::string text, std::string_view ending) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

int RunPlot(CliContext& context, const PlotArgs& args) {
    const bool svg = EndsWith(args.output, ".svg");
    if (!svg && !EndsWith(args.output, ".png")) {
        context.err << "error: the chart is written as .svg or .png, not \"" << args.output
                    << "\"\n";
        return kExitUsage;
    }
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(args.catalogue, bytes, &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    CompiledCatalog catalog;
    if (!ReadCompiledCatalog(bytes, catalog, error)) {
        context.err << "error: \"" << args.catalogue
                    << "\" is not a valid compiled catalogue: " << error << '\n';
        return kExitRefused;
    }
    const int height = args.width / 2;
    const std::vector<SkyMark> marks =
        CatalogMarks(bytes, catalog, CSkyFrame(args.width, height, kChartMargin).HalfWidth());
    std::string chart;
    if (svg) {
        chart = ChartSvg(catalog, marks, args.width, height);
    } else if (!ChartPng(marks, args.width, height, chart, error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    if (!WriteFileAtomically(args.output, chart, &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace

void AddPlotCommand(CLI::App& app, CliContext& context) {
    static PlotArgs args;
    auto* plot = app.add_subcommand(
        "plot", "Draw an all-sky chart (Hammer-Aitoff, RA to the left) of a compiled catalogue");
    plot->add_option("FILE", args.catalogue, "compiled catalogue (.zdc)")->required();
    plot->add_option("-o,--output", args.output, "chart to write: .svg or .png")->required();
    plot->add_option("--width", args.width, "width in pixels (height is half of it)")
        ->check(CLI::Range(200, 10000));
    plot->callback([&context] { context.status = RunPlot(context, args); });
}
