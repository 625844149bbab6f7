#include "platform/PlotView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zemra {
namespace {

// The view never shows less than this fraction of the picture across or down (a 10^4-fold zoom),
// which is far below a pixel of any curve and keeps the mapping well conditioned.
constexpr double kMinExtent = 1e-4;
constexpr double kMinBand = 0.01;
const char* const kMinus = "\xE2\x88\x92";  // U+2212 MINUS SIGN

std::string WithMinus(std::string text) {
    if (!text.empty() && text[0] == '-') text.replace(0, 1, kMinus);
    return text;
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

bool Maps(const UserSystem& s) {
    return std::isfinite(s.X1) && std::isfinite(s.X2) && std::isfinite(s.Y1) &&
           std::isfinite(s.Y2) && s.X1 != s.X2 && s.Y1 != s.Y2;
}

}  // namespace

std::optional<UserSystem> LastSystem(const RecordingCanvas& picture) {
    for (auto r = picture.Ops.rbegin(); r != picture.Ops.rend(); ++r) {
        if (r->Op != CanvasOp::Scale) continue;
        const UserSystem s{r->Args[0], r->Args[1], r->Args[2], r->Args[3]};
        if (Maps(s)) return s;
    }
    return std::nullopt;
}

std::string YTitleOf(const RecordingCanvas& picture) {
    for (const std::string& t : picture.Texts())
        if (t.find(" /") != std::string::npos && t != "E /V") return t;
    return "";
}

bool PlotView::Zoomed() const {
    return left_ != 0 || top_ != 0 || right_ != 1 || bottom_ != 1;
}

void PlotView::Reset() {
    left_ = top_ = 0;
    right_ = bottom_ = 1;
}

Fraction PlotView::ToPicture(Fraction w) const {
    return {left_ + w.X * (right_ - left_), top_ + w.Y * (bottom_ - top_)};
}

Fraction PlotView::ToWindow(Fraction p) const {
    return {(p.X - left_) / (right_ - left_), (p.Y - top_) / (bottom_ - top_)};
}

void PlotView::ZoomToBand(Fraction a, Fraction b) {
    if (std::fabs(a.X - b.X) < kMinBand || std::fabs(a.Y - b.Y) < kMinBand) return;
    const Fraction p = ToPicture({std::min(a.X, b.X), std::min(a.Y, b.Y)});
    const Fraction q = ToPicture({std::max(a.X, b.X), std::max(a.Y, b.Y)});
    left_ = p.X;
    top_ = p.Y;
    right_ = q.X;
    bottom_ = q.Y;
    Clamp();
}

void PlotView::ZoomAt(Fraction at, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    const Fraction p = ToPicture(at);
    const double w = (right_ - left_) / factor, h = (bottom_ - top_) / factor;
    left_ = p.X - at.X * w;
    right_ = left_ + w;
    top_ = p.Y - at.Y * h;
    bottom_ = top_ + h;
    Clamp();
}

void PlotView::Pan(double dx, double dy) {
    const double w = right_ - left_, h = bottom_ - top_;
    left_ -= dx * w;
    right_ -= dx * w;
    top_ -= dy * h;
    bottom_ -= dy * h;
    Clamp();
}

void PlotView::Clamp() {
    // An extent beyond the whole picture is the whole picture; a view keeps its size while it is
    // pushed back inside the picture.
    auto clamp = [](double& lo, double& hi) {
        double extent = std::clamp(hi - lo, kMinExtent, 1.0);
        if (!std::isfinite(lo)) lo = 0;
        lo = std::clamp(lo, 0.0, 1.0 - extent);
        hi = lo + extent;
        if (extent >= 1.0) lo = 0, hi = 1;
    };
    clamp(left_, right_);
    clamp(top_, bottom_);
}

UserPoint PlotView::UserAt(const UserSystem& s, Fraction window) const {
    const Fraction p = ToPicture(window);
    return {s.X1 + p.X * (s.X2 - s.X1), s.Y1 + p.Y * (s.Y2 - s.Y1)};
}

Fraction PlotView::WindowAt(const UserSystem& s, UserPoint u) const {
    return ToWindow({(u.X - s.X1) / (s.X2 - s.X1), (u.Y - s.Y1) / (s.Y2 - s.Y1)});
}

std::string SiText(double value, const std::string& unit) {
    static const char* const kPrefixes[] = {"f", "p", "n", "\xC2\xB5", "m", "", "k", "M", "G"};
    constexpr int kNone = 5;  // index of the empty prefix
    if (!std::isfinite(value)) return "";
    if (value == 0) return unit.empty() ? "0" : "0 " + unit;
    int p = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3)) + kNone;
    p = std::clamp(p, 0, 8);
    double m = value / std::pow(10.0, 3 * (p - kNone));
    // Four significant digits of a mantissa in [1, 1000); rounding up to 1000 moves on a prefix.
    auto decimals = [](double mag) {
        return std::clamp(3 - static_cast<int>(std::floor(std::log10(mag))), 0, 3);
    };
    std::string digits = Fixed(m, decimals(std::fabs(m)));
    if (std::fabs(std::stod(digits)) >= 1000 && p < 8) {
        ++p;
        m /= 1000;
        digits = Fixed(m, decimals(std::fabs(m)));
    }
    const std::string suffix = kPrefixes[p] + unit;
    return WithMinus(digits) + (suffix.empty() ? "" : " ") + suffix;
}

Quantity QuantityOf(const std::string& yTitle) {
    Quantity q;
    const size_t slash = yTitle.find(" /");
    if (slash == std::string::npos) return q;
    q.Name = yTitle.substr(0, slash);
    q.Unit = yTitle.substr(slash + 2);
    if (q.Unit == "Ohm") q.Unit = "\xCE\xA9";
    if (q.Unit == "1/Ohm") q.Unit = "S";
    return q;
}

std::string CursorText(UserPoint p, const std::string& yTitle) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return "";
    // Potentials stay in volts with four decimals, as the axis labels give them.
    char e[64];
    std::snprintf(e, sizeof e, std::fabs(p.X) < 10 ? "%.4f" : "%.6g", p.X);
    const Quantity q = QuantityOf(yTitle);
    return "E = " + WithMinus(e) + " V   " + q.Name + " = " + SiText(p.Y, q.Unit);
}

std::vector<double> NiceTicks(double lo, double hi, int count) {
    std::vector<double> ticks;
    if (lo > hi) std::swap(lo, hi);
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo || count < 1) return ticks;
    const double raw = (hi - lo) / count;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    double step = decade;
    for (const double f : {1.0, 2.0, 5.0, 10.0}) {
        step = f * decade;
        if (step >= raw) break;
    }
    // Limits that are themselves ticks but for rounding count as ticks.
    const double last = std::floor(hi / step + 1e-9);
    for (double k = std::ceil(lo / step - 1e-9); k <= last && ticks.size() < 100; ++k)
        ticks.push_back(k * step);
    return ticks;
}

}  // namespace zemra
