#include "platform/ResultWindow.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(PrintLine, SemicolonJoinsDirectlyAndCommaMovesToTheNextZone) {
    EXPECT_EQ(PrintLine("Curve ").Num(1).Text(":").Str(), "Curve  1 :");
    // "Peak  1 :" is 9 characters; the next item starts at column 15.
    EXPECT_EQ(PrintLine("Peak ").Num(1).Text(":").Zone().Text("Ep = ").Num(-0.25).Str(),
              "Peak  1 :     Ep = -0.25 ");
    // An item longer than a zone pushes the next one to the following zone (column 29).
    EXPECT_EQ(PrintLine("Least square = ").Zone().Num(2).Str(),
              std::string("Least square = ") + std::string(13, ' ') + " 2 ");
    // An empty item keeps its zone, as in the fit report's header.
    EXPECT_EQ(PrintLine("No.").Zone().Text("a").Zone().Text("").Zone().Text("b").Str(),
              "No." + std::string(11, ' ') + "a" + std::string(27, ' ') + "b");
    // An item that fills its zone exactly is followed by the zone after the next.
    EXPECT_EQ(PrintLine("12345678901234").Zone().Text("x").Str().size(), 29u);
    EXPECT_EQ(PrintLine().Zone().Text("x").Str(), std::string(14, ' ') + "x");
}

TEST(ResultWindow, KeepsAndStreamsPrintedLines) {
    ResultWindow w;
    std::vector<std::string> streamed;
    w.OnPrint = [&](const std::string& l) { streamed.push_back(l); };
    w.Print("one");
    w.Print(PrintLine("two").Zone().Num(2));
    ASSERT_EQ(w.Lines.size(), 2u);
    EXPECT_EQ(streamed, w.Lines);
    w.Clear();
    EXPECT_TRUE(w.Lines.empty());
}

}  // namespace
}  // namespace zemra
