#include "platform/SvgCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zemra {
namespace {

constexpr int kFontPx = 12;
// Pixel coordinates beyond this are clamped, so that a wild user value still gives a picture
// that renders (the part outside the view box is not visible anyway).
constexpr double kFarPx = 1e6;

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    // "12.50" -> "12.5", "12.00" -> "12"
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // The program's texts are ASCII; control characters and stray bytes, which
                // would make the document invalid XML, become '?'.
                out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
        }
    }
    return out;
}

}  // namespace

const char* SvgColour(int index) {
    static const char* const palette[] = {"#000000", "#000000", "#c0392b",
                                          "#1f5fbf", "#1e8449", "#8e44ad"};
    return index >= 0 && index <= 5 ? palette[index] : palette[0];
}

SvgCanvas::SvgCanvas(int widthPx, int heightPx)
    : width_(std::max(widthPx, 1)), height_(std::max(heightPx, 1)) {}

SvgCanvas::Pixel SvgCanvas::ToPixel(double x, double y) const {
    const double px = ox_ + sx_ * x, py = oy_ + sy_ * y;
    if (!std::isfinite(px) || !std::isfinite(py)) return {0, 0, false};
    return {std::clamp(px, -kFarPx, kFarPx), std::clamp(py, -kFarPx, kFarPx), true};
}

std::string SvgCanvas::StrokeAttributes() const {
    std::string a = " stroke=\"" + std::string(SvgColour(colour_)) + "\"";
    if (dashed_) a += " stroke-dasharray=\"6 4\"";
    return a;
}

void SvgCanvas::FlushPath() {
    if (path_.empty()) return;
    elements_.push_back("<path d=\"" + path_ + "\" fill=\"none\"" + StrokeAttributes() + "/>");
    path_.clear();
}

void SvgCanvas::Clear() {
    path_.clear();
    elements_.clear();
}

void SvgCanvas::Scale(double x1, double y1, double x2, double y2) {
    FlushPath();
    // A degenerate or non-finite system keeps the previous one.
    if (!(std::isfinite(x1) && std::isfinite(x2) && std::isfinite(y1) && std::isfinite(y2))) return;
    if (x1 == x2 || y1 == y2) return;
    sx_ = width_ / (x2 - x1);
    ox_ = -sx_ * x1;
    sy_ = height_ / (y2 - y1);
    oy_ = -sy_ * y1;
}

void SvgCanvas::MoveTo(double x, double y) {
    FlushPath();
    curX_ = x;
    curY_ = y;
}

void SvgCanvas::Text(const std::string& text) {
    FlushPath();
    const Pixel p = ToPixel(curX_, curY_);
    if (!p.Valid || text.empty()) return;
    // The baseline sits one ascent below the top-left corner.
    elements_.push_back("<text x=\"" + Num(p.X) + "\" y=\"" + Num(p.Y + 0.8 * kFontPx) +
                        "\" fill=\"" + SvgColour(colour_) + "\" xml:space=\"preserve\">" +
                        Escape(text) + "</text>");
}

void SvgCanvas::Point(double x, double y) {
    FlushPath();
    curX_ = x;
    curY_ = y;
    const Pixel p = ToPixel(x, y);
    if (!p.Valid) return;
    elements_.push_back("<circle cx=\"" + Num(p.X) + "\" cy=\"" + Num(p.Y) + "\" r=\"1\" fill=\"" +
                        SvgColour(colour_) + "\"/>");
}

void SvgCanvas::Line(double x1, double y1, double x2, double y2) {
    FlushPath();
    curX_ = x2;
    curY_ = y2;
    const Pixel a = ToPixel(x1, y1), b = ToPixel(x2, y2);
    if (!a.Valid || !b.Valid) return;
    elements_.push_back("<line x1=\"" + Num(a.X) + "\" y1=\"" + Num(a.Y) + "\" x2=\"" + Num(b.X) +
                        "\" y2=\"" + Num(b.Y) + "\"" + StrokeAttributes() + "/>");
}

void SvgCanvas::LineTo(double x, double y) {
    const Pixel a = ToPixel(curX_, curY_), b = ToPixel(x, y);
    curX_ = x;
    curY_ = y;
    if (!a.Valid || !b.Valid) {
        FlushPath();
        return;
    }
    if (path_.empty()) path_.append("M").append(Num(a.X)).append(" ").append(Num(a.Y));
    path_.append(" L").append(Num(b.X)).append(" ").append(Num(b.Y));
}

void SvgCanvas::Rectangle(double x1, double y1, double x2, double y2) {
    FlushPath();
    curX_ = x2;
    curY_ = y2;
    const Pixel a = ToPixel(x1, y1), b = ToPixel(x2, y2);
    if (!a.Valid || !b.Valid) return;
    const double left = std::min(a.X, b.X), top = std::min(a.Y, b.Y);
    elements_.push_back("<rect x=\"" + Num(left) + "\" y=\"" + Num(top) + "\" width=\"" +
                        Num(std::fabs(b.X - a.X)) + "\" height=\"" + Num(std::fabs(b.Y - a.Y)) +
                        "\" fill=\"none\"" + StrokeAttributes() + "/>");
}

void SvgCanvas::SetDashed(bool dashed) {
    FlushPath();
    dashed_ = dashed;
}

void SvgCanvas::SetColour(int index) {
    FlushPath();
    colour_ = index;
}

std::string SvgCanvas::Document() const {
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    doc += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           std::to_string(width_) + "\" height=\"" + std::to_string(height_) + "\" viewBox=\"0 0 " +
           std::to_string(width_) + " " + std::to_string(height_) + "\">\n";
    doc += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    doc += "<g font-family=\"sans-serif\" font-size=\"" + std::to_string(kFontPx) +
           "\" stroke-width=\"1\">\n";
    for (const auto& e : elements_) doc += e + "\n";
    if (!path_.empty())
        doc += "<path d=\"" + path_ + "\" fill=\"none\"" + StrokeAttributes() + "/>\n";
    doc += "</g>\n</svg>\n";
    return doc;
}

}  // namespace zemra
