#include "desktop/PlotPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace zemra {
namespace {

// The plot's font: 12 logical pixels, readable beside the frame and the ticks.
constexpr double kFontPx = 12;
// Device coordinates beyond this are clamped, so that a wild user value cannot overflow the
// painter's fixed-point rasteriser (the part outside the window is not visible anyway).
constexpr double kFar = 1e5;

}  // namespace

PlotColours PlotColours::Paper() {
    return {Qt::white,
            Qt::black,
            {QColor(0xc0, 0x39, 0x2b), QColor(0x1f, 0x5f, 0xbf), QColor(0x1e, 0x84, 0x49),
             QColor(0x8e, 0x44, 0xad)}};
}

PlotColours PlotColours::Screen(const QColor& background, const QColor& foreground) {
    PlotColours c = Paper();
    c.Background = background;
    c.Foreground = foreground;
    // On a dark background the curve colours are lightened so that they keep their contrast.
    if (background.lightness() < 128)
        for (QColor& k : c.Curves) k = k.lighter(160);
    return c;
}

PainterCanvas::PainterCanvas(QPainter& painter, QSizeF size, double scale,
                             const PlotColours& colours, const PlotView& view)
    : p_(painter),
      size_(size),
      scale_(std::max(scale, 0.1)),
      colours_(colours),
      view_(view),
      system_{0, 0, size.width(), size.height()} {
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font = p_.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPx * scale_))));
    p_.setFont(font);
    p_.setBrush(Qt::NoBrush);
    ApplyPen();
    UpdateMapping();
}

PainterCanvas::~PainterCanvas() {
    Flush();
}

QColor PainterCanvas::Colour() const {
    return colour_ >= 2 && colour_ <= 5 ? colours_.Curves[colour_ - 2] : colours_.Foreground;
}

void PainterCanvas::ApplyPen() {
    const QColor colour = Colour();
    // One logical pixel wide at any scale, in whole device pixels so that hairlines stay sharp.
    QPen pen(colour, std::max(1.0, std::round(scale_)));
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (dashed_) pen.setDashPattern({6, 4});
    p_.setPen(pen);
}

void PainterCanvas::UpdateMapping() {
    // Device x = kx x + cx through the user system and the view (and likewise y).
    const double w = size_.width(), h = size_.height();
    const double sx = system_.X2 - system_.X1, vx = view_.Right() - view_.Left();
    const double sy = system_.Y2 - system_.Y1, vy = view_.Bottom() - view_.Top();
    kx_ = w / (sx * vx);
    cx_ = -w * (system_.X1 / sx + view_.Left()) / vx;
    ky_ = h / (sy * vy);
    cy_ = -h * (system_.Y1 / sy + view_.Top()) / vy;
}

bool PainterCanvas::ToDevice(double x, double y, QPointF& out) const {
    const double dx = kx_ * x + cx_, dy = ky_ * y + cy_;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    out = QPointF(std::clamp(dx, -kFar, kFar), std::clamp(dy, -kFar, kFar));
    return true;
}

QPointF PainterCanvas::Snapped(QPointF p) const {
    // An odd pen width is centred on a pixel centre, an even one on a pixel edge.
    const double offset = std::fmod(std::max(1.0, std::round(scale_)), 2.0) == 1.0 ? 0.5 : 0.0;
    return {std::floor(p.x()) + offset, std::floor(p.y()) + offset};
}

void PainterCanvas::Flush() {
    if (path_.size() > 1) p_.drawPolyline(path_);
    path_.clear();
}

void PainterCanvas::Clear() {
    path_.clear();
    p_.fillRect(QRectF(QPointF(0, 0), size_), colours_.Background);
}

void PainterCanvas::Scale(double x1, double y1, double x2, double y2) {
    Flush();
    // A degenerate or non-finite system keeps the previous one.
    const UserSystem s{x1, y1, x2, y2};
    if (!(std::isfinite(x1) && std::isfinite(x2) && std::isfinite(y1) && std::isfinite(y2))) return;
    if (x1 == x2 || y1 == y2) return;
    system_ = s;
    UpdateMapping();
}

void PainterCanvas::MoveTo(double x, double y) {
    Flush();
    curX_ = x;
    curY_ = y;
}

void PainterCanvas::Text(const std::string& text) {
    Flush();
    QPointF at;
    if (text.empty() || !ToDevice(curX_, curY_, at)) return;
    const QFontMetricsF metrics(p_.font());
    p_.setPen(Colour());
    p_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), QString::fromStdString(text));
    ApplyPen();
}

void PainterCanvas::Point(double x, double y) {
    Flush();
    curX_ = x;
    curY_ = y;
    QPointF at;
    if (!ToDevice(x, y, at)) return;
    // A dot of one and a half logical pixels: a single pixel is hard to see.
    const double r = 0.75 * scale_;
    p_.fillRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), Colour());
}

void PainterCanvas::Line(double x1, double y1, double x2, double y2) {
    Flush();
    curX_ = x2;
    curY_ = y2;
    QPointF a, b;
    if (!ToDevice(x1, y1, a) || !ToDevice(x2, y2, b)) return;
    // Frame, ticks, grid and zero line are axis-parallel: sharp on the pixel grid.
    if (a.x() == b.x() || a.y() == b.y()) {
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.drawLine(Snapped(a), Snapped(b));
        p_.setRenderHint(QPainter::Antialiasing, true);
    } else {
        p_.drawLine(a, b);
    }
}

void PainterCanvas::LineTo(double x, double y) {
    QPointF a, b;
    const bool fromOk = ToDevice(curX_, curY_, a);
    curX_ = x;
    curY_ = y;
    if (!fromOk || !ToDevice(x, y, b)) {
        Flush();
        return;
    }
    if (path_.isEmpty()) path_.append(a);
    path_.append(b);
}

void PainterCanvas::Rectangle(double x1, double y1, double x2, double y2) {
    Flush();
    curX_ = x2;
    curY_ = y2;
    QPointF a, b;
    if (!ToDevice(x1, y1, a) || !ToDevice(x2, y2, b)) return;
    const QRectF r = QRectF(a, b).normalized();
    if (r.width() >= 4 * scale_ && r.height() >= 4 * scale_) {
        // The frame: sharp on the pixel grid.
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.drawRect(QRectF(Snapped(r.topLeft()), Snapped(r.bottomRight())));
        p_.setRenderHint(QPainter::Antialiasing, true);
    } else {
        p_.drawRect(r);  // a point marker, a few pixels across
    }
}

void PainterCanvas::SetDashed(bool dashed) {
    Flush();
    dashed_ = dashed;
    ApplyPen();
}

void PainterCanvas::SetColour(int index) {
    Flush();
    colour_ = index;
    ApplyPen();
}

void PaintPicture(const RecordingCanvas& picture, QPainter& painter, QSizeF size, double scale,
                  const PlotColours& colours, const PlotView& view) {
    PainterCanvas canvas(painter, size, scale, colours, view);
    ReplayLastDrawing(picture, canvas);  // starts with a Clear: the background
}

QImage RenderPicture(const RecordingCanvas& picture, QSize pixels, double scale,
                     const PlotColours& colours, const PlotView& view) {
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        PaintPicture(picture, painter, QSizeF(image.size()), scale, colours, view);
    }
    image.setDevicePixelRatio(scale);
    return image;
}

QSize DevicePixels(QSize logical, double pixelRatio) {
    return QSize(std::max(1, static_cast<int>(std::lround(logical.width() * pixelRatio))),
                 std::max(1, static_cast<int>(std::lround(logical.height() * pixelRatio))));
}

}  // namespace zemra
