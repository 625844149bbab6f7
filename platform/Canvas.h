// The plot's drawing surface. All coordinates are user coordinates of the system set by Scale;
// text is drawn with its top-left corner at the current position. RecordingCanvas keeps the
// operations (tests); SvgCanvas renders them as a picture; the desktop paints them with Qt.
#pragma once

#include <string>
#include <vector>

namespace zemra {

struct Canvas {
    virtual ~Canvas() = default;
    virtual void Clear() = 0;
    // User coordinate system by its top-left (x1, y1) and bottom-right (x2, y2) corners; x1 may be
    // larger than x2, so that X grows to the left.
    virtual void Scale(double x1, double y1, double x2, double y2) = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void Text(const std::string& text) = 0;
    virtual void Point(double x, double y) = 0;
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    // A line from the last point drawn (or the current position) to (x, y).
    virtual void LineTo(double x, double y) = 0;
    virtual void Rectangle(double x1, double y1, double x2, double y2) = 0;
    virtual void SetDashed(bool dashed) = 0;
    // Colour of what follows: 0 is the foreground colour, 1..5 the colour of curve 1..5.
    virtual void SetColour(int index) { (void)index; }
};

// A canvas that draws nothing: for a run whose picture is never looked at, so that the plot's
// thousands of line segments cost neither memory nor time.
struct DiscardingCanvas : Canvas {
    void Clear() override {}
    void Scale(double, double, double, double) override {}
    void MoveTo(double, double) override {}
    void Text(const std::string&) override {}
    void Point(double, double) override {}
    void Line(double, double, double, double) override {}
    void LineTo(double, double) override {}
    void Rectangle(double, double, double, double) override {}
    void SetDashed(bool) override {}
};

enum class CanvasOp { Clear, Scale, MoveTo, Text, Point, Line, LineTo, Rectangle, Dashed, Colour };

struct CanvasRecord {
    CanvasOp Op;
    std::vector<double> Args;
    std::string Text;
};

struct RecordingCanvas : Canvas {
    std::vector<CanvasRecord> Ops;

    void Clear() override { Ops.push_back({CanvasOp::Clear, {}, {}}); }
    void Scale(double x1, double y1, double x2, double y2) override {
        Ops.push_back({CanvasOp::Scale, {x1, y1, x2, y2}, {}});
    }
    void MoveTo(double x, double y) override { Ops.push_back({CanvasOp::MoveTo, {x, y}, {}}); }
    void Text(const std::string& text) override { Ops.push_back({CanvasOp::Text, {}, text}); }
    void Point(double x, double y) override { Ops.push_back({CanvasOp::Point, {x, y}, {}}); }
    void Line(double x1, double y1, double x2, double y2) override {
        Ops.push_back({CanvasOp::Line, {x1, y1, x2, y2}, {}});
    }
    void LineTo(double x, double y) override { Ops.push_back({CanvasOp::LineTo, {x, y}, {}}); }
    void Rectangle(double x1, double y1, double x2, double y2) override {
        Ops.push_back({CanvasOp::Rectangle, {x1, y1, x2, y2}, {}});
    }
    void SetDashed(bool dashed) override {
        Ops.push_back({CanvasOp::Dashed, {dashed ? 1.0 : 0.0}, {}});
    }
    void SetColour(int index) override {
        Ops.push_back({CanvasOp::Colour, {static_cast<double>(index)}, {}});
    }

    // Operations of one kind, in drawing order.
    std::vector<CanvasRecord> OfKind(CanvasOp op) const;
    // Texts drawn, in drawing order.
    std::vector<std::string> Texts() const;
};

// A plot window's picture: it keeps only what was drawn since the last clear, together with the
// coordinate system, line style and colour then in force, so that a long session does not
// accumulate every drawing it ever made. Clears counts the clears, so that a window can tell a
// new picture from the one it last painted.
struct PictureCanvas : RecordingCanvas {
    unsigned long Clears = 0;
    void Clear() override;
};

// Draws the recorded operations onto another canvas.
void Replay(const CanvasRecord& record, Canvas& target);
// Draws the current picture of a recording (everything since its last Clear) onto `target`,
// after clearing it.
void ReplayLastDrawing(const RecordingCanvas& recording, Canvas& target);

}  // namespace zemra
