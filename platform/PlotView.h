// What the plot window shows of its picture, without any toolkit: the user coordinate system the
// drawing set last, a view-only zoom (the part of the picture shown, in fractions of the whole
// picture), the mapping between window points and user coordinates through both, and the texts of
// the cursor read-out. Zooming and panning move only the view, never the drawing nor the plot
// globals that the analyses read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace zemra {

// A user coordinate system by its top-left (X1, Y1) and bottom-right (X2, Y2) corners, mapped
// onto the whole picture.
struct UserSystem {
    double X1 = 0, Y1 = 0, X2 = 1, Y2 = 1;
};

// The system in force at the end of a picture; nullopt when none was set or it cannot map
// (a zero or non-finite extent).
std::optional<UserSystem> LastSystem(const RecordingCanvas& picture);
// The Y-axis title a picture carries ("I /A"); "" when it has none.
std::string YTitleOf(const RecordingCanvas& picture);

// A point in fractions of a window or picture: 0..1 across from the left, 0..1 down from the top.
struct Fraction {
    double X = 0, Y = 0;
};

struct UserPoint {
    double X = 0, Y = 0;
};

// The part of the picture that the window shows, in fractions of the picture. The full view
// (0, 0)-(1, 1) shows the picture as drawn.
class PlotView {
  public:
    bool Zoomed() const;
    void Reset();
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Right() const { return right_; }
    double Bottom() const { return bottom_; }

    Fraction ToPicture(Fraction window) const;
    Fraction ToWindow(Fraction picture) const;

    // Shows the part of the current view between two window points (a rubber band). A band
    // narrower or lower than 1 % of the window is a click, not a band, and changes nothing.
    void ZoomToBand(Fraction a, Fraction b);
    // Zooms in (factor > 1) or out (factor < 1), the picture point under `at` staying put.
    void ZoomAt(Fraction at, double factor);
    // Moves the view by a drag of (dx, dy) window fractions: the picture follows the pointer.
    void Pan(double dx, double dy);

    // User coordinates under a window point, and the window point of user coordinates.
    UserPoint UserAt(const UserSystem& s, Fraction window) const;
    Fraction WindowAt(const UserSystem& s, UserPoint p) const;

  private:
    void Clamp();
    double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
};

// The quantity and unit a Y title names: "I /A" gives I and A, "R /Ohm" R and the ohm sign,
// "Cond /1/Ohm" Cond and S; a title without a unit gives Y and no unit.
struct Quantity {
    std::string Name = "Y", Unit;
};
Quantity QuantityOf(const std::string& yTitle);

// A value with an SI prefix (f to G) and four significant digits: 1.2344e-5 with "A" gives
// "12.34 µA"; a negative value is written with the minus sign U+2212.
std::string SiText(double value, const std::string& unit);
// The cursor read-out for a point of the plot, the Y quantity named by the drawing's Y title:
// "E = −0.1235 V   I = 12.34 µA" for the title "I /A".
std::string CursorText(UserPoint p, const std::string& yTitle);
// Round tick values (1, 2 or 5 times a power of ten) from lo to hi, about `count` of them.
std::vector<double> NiceTicks(double lo, double hi, int count);

}  // namespace zemra
