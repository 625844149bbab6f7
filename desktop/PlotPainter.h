// The plot's drawing surface in Qt: a Canvas that paints the drawing operations with a QPainter
// in device pixels, and the functions that paint a recorded picture into an image, a window, a
// page or a file.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QSize>

#include "platform/Canvas.h"
#include "platform/PlotView.h"

namespace zemra {

// The colours of a picture: background, foreground (frame, labels, curve 1) and curves 2 to 5.
struct PlotColours {
    QColor Background, Foreground;
    QColor Curves[4];
    // Black on white, for everything that leaves the window: clipboard, files, printer.
    static PlotColours Paper();
    // The window's own palette, so that the plot reads well on a light or dark desktop.
    static PlotColours Screen(const QColor& background, const QColor& foreground);
};

// Paints canvas operations onto a painter whose units are device pixels, over a `size` area at
// the painter's origin. `scale` is device pixels per logical pixel: pens and the font grow with
// it, so a picture reads the same at any pixel ratio, page or dots per inch. A view shows part
// of the picture (view-only zoom).
class PainterCanvas : public Canvas {
  public:
    PainterCanvas(QPainter& painter, QSizeF size, double scale, const PlotColours& colours,
                  const PlotView& view = PlotView());
    ~PainterCanvas() override;

    void Clear() override;
    void Scale(double x1, double y1, double x2, double y2) override;
    void MoveTo(double x, double y) override;
    void Text(const std::string& text) override;
    void Point(double x, double y) override;
    void Line(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y) override;
    void Rectangle(double x1, double y1, double x2, double y2) override;
    void SetDashed(bool dashed) override;
    void SetColour(int index) override;

    // Paints the polyline of LineTo segments drawn so far.
    void Flush();

  private:
    void UpdateMapping();
    bool ToDevice(double x, double y, QPointF& out) const;
    // The centre of the device pixel under p, for crisp axis-parallel hairlines.
    QPointF Snapped(QPointF p) const;
    void ApplyPen();
    QColor Colour() const;  // of what is drawn now: foreground for 0 and 1, else the curve's

    QPainter& p_;
    QSizeF size_;
    double scale_;
    PlotColours colours_;
    PlotView view_;
    UserSystem system_;
    double kx_ = 1, cx_ = 0, ky_ = 1, cy_ = 0;
    double curX_ = 0, curY_ = 0;
    bool dashed_ = false;
    int colour_ = 0;
    QPolygonF path_;
};

// Paints the current picture of a recording (everything since its last clear) at `size` device
// pixels, with the given scale, colours and view, filling the background first.
void PaintPicture(const RecordingCanvas& picture, QPainter& painter, QSizeF size, double scale,
                  const PlotColours& colours, const PlotView& view = PlotView());

// The picture as an image of `pixels` device pixels painted at `scale` device pixels per logical
// pixel; the image's pixel ratio is set to the scale.
QImage RenderPicture(const RecordingCanvas& picture, QSize pixels, double scale,
                     const PlotColours& colours, const PlotView& view = PlotView());
// The device pixels of a window of `logical` size at a pixel ratio.
QSize DevicePixels(QSize logical, double pixelRatio);

}  // namespace zemra
