// A canvas that renders the plot's drawing operations as a standalone SVG picture of a given
// pixel size: the user coordinate system of Scale is mapped onto the picture, text is drawn
// with its top-left corner at the current position, dashed lines and the curve colours are kept.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace zemra {

class SvgCanvas : public Canvas {
  public:
    SvgCanvas(int widthPx, int heightPx);

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

    // The whole picture as an SVG document.
    std::string Document() const;

  private:
    struct Pixel {
        double X, Y;
        bool Valid;
    };
    Pixel ToPixel(double x, double y) const;
    std::string StrokeAttributes() const;
    void FlushPath();

    int width_, height_;
    // User-to-pixel mapping: px = ox + sx * x, py = oy + sy * y (identity until Scale).
    double ox_ = 0, sx_ = 1, oy_ = 0, sy_ = 1;
    double curX_ = 0, curY_ = 0;  // current position, user units
    bool dashed_ = false;
    int colour_ = 0;
    std::vector<std::string> elements_;
    std::string path_;  // an open polyline of LineTo segments, flushed on any other operation
};

// The picture's colour for a canvas colour index: 0 and 1 the foreground, 2..5 the other curves.
const char* SvgColour(int index);

}  // namespace zemra
