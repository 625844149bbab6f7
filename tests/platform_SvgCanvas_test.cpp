#include <cstdlib>
#include <filesystem>
#include <limits>

#include "platform/SvgCanvas.h"
#include "platform/TextFile.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

size_t Count(const std::string& s, const std::string& part) {
    size_t n = 0;
    for (size_t at = s.find(part); at != std::string::npos; at = s.find(part, at + 1)) ++n;
    return n;
}

void ExpectParts(const std::string& doc, std::initializer_list<std::string> parts) {
    for (const auto& part : parts) EXPECT_NE(doc.find(part), std::string::npos) << part;
}

TEST(SvgCanvas, MapsTheUserCornersOntoAStandalonePicture) {
    SvgCanvas c(200, 100);
    c.Scale(-1, 1, 1, -1);  // top-left (-1, 1), bottom-right (1, -1)
    c.Line(-1, 1, 1, -1);
    c.Scale(1, 1, -1, -1);  // X grows to the left
    c.Point(1, 1);
    c.LineTo(0.5, -0.5);  // joined to the point: one path
    c.LineTo(0, -0.5);
    c.Rectangle(-1, -1, 0, 0);  // any corner order gives a positive width and height
    c.MoveTo(1, 0);
    c.Text("I<0 & \"E\"\x01");  // escaped; the baseline 0.8 of the 12 px font below the corner
    const std::string doc = c.Document();
    EXPECT_EQ(doc.rfind("<?xml", 0), 0u);
    EXPECT_EQ(Count(doc, "<path"), 1u);
    ExpectParts(doc, {"xmlns=\"http://www.w3.org/2000/svg\"",
                      "width=\"200\" height=\"100\" viewBox=\"0 0 200 100\"",
                      "<line x1=\"0\" y1=\"0\" x2=\"200\" y2=\"100\"", "<circle cx=\"0\" cy=\"0\"",
                      "<rect x=\"100\" y=\"50\" width=\"100\" height=\"50\"",
                      "<path d=\"M0 0 L50 75 L100 75\"", "<text x=\"0\" y=\"59.6\"",
                      ">I&lt;0 &amp; &quot;E&quot;?</text>", "</svg>"});
}

TEST(SvgCanvas, DashedLinesCurveColoursAndWhatCannotBePlaced) {
    SvgCanvas c(100, 100);
    c.SetDashed(true);
    c.Line(0, 0, 1, 1);
    c.SetDashed(false);
    c.SetColour(3);
    c.Line(0, 0, 1, 1);
    EXPECT_EQ(Count(c.Document(), "stroke-dasharray"), 1u);
    EXPECT_EQ(Count(c.Document(), std::string("stroke=\"") + SvgColour(3) + "\""), 1u);
    EXPECT_STREQ(SvgColour(1), SvgColour(0));  // curve 1 in the foreground colour
    c.Clear();
    c.Scale(0, 0, 0, 1);  // degenerate: keeps the previous system
    c.Line(0, 0, std::numeric_limits<double>::infinity(), 1);
    c.Point(std::nan(""), 1);
    EXPECT_EQ(Count(c.Document(), "<line") + Count(c.Document(), "<circle"), 0u);
    c.Line(1e300, 0, 0, 0);  // placed, clamped far outside the view
    ExpectParts(c.Document(), {"<line x1=\"1000000\""});
}

TEST(SvgCanvas, ReplayedRecordingDrawsTheLastPicture) {
    RecordingCanvas rec;
    rec.Scale(0, 10, 10, 0);
    rec.Line(0, 0, 10, 10);
    rec.Clear();
    rec.Line(0, 10, 10, 0);
    SvgCanvas svg(100, 100);
    ReplayLastDrawing(rec, svg);
    // One line, placed by the coordinate system set before the clear.
    EXPECT_EQ(Count(svg.Document(), "<line"), 1u);
    ExpectParts(svg.Document(), {"<line x1=\"0\" y1=\"0\" x2=\"100\" y2=\"100\""});
}

TEST(SvgCanvas, RendersWithAnSvgRenderer) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed";
    SvgCanvas c(200, 150);
    c.Scale(-0.36, 4e-3, 0.48, -2.5e-3);
    c.Rectangle(-0.3, -1e-3, 0.4, 3e-3);
    c.MoveTo(-0.36, 4e-3);
    c.Text("I /A");
    c.Point(-0.3, 0);
    c.LineTo(0.4, 2e-3);
    const std::string svg = test::TempPath("render.svg"), png = test::TempPath("render.png");
    WriteTextFile(svg, c.Document());
    const std::string cmd = "rsvg-convert -o '" + png + "' '" + svg + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_GT(std::filesystem::file_size(png), 100u);
}

}  // namespace
}  // namespace zemra
