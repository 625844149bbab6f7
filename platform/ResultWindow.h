// The text result window: lines printed by the reporting commands. A printed line is a sequence
// of items; an item joined with ";" follows the previous one directly, an item joined with ","
// starts at the next print zone (zones 14 characters wide, starting at columns 1, 15, 29, ...).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zemra {

inline constexpr int kPrintZoneWidth = 14;

// Builds one printed line: Text and Num append directly (";"), Zone moves to the next zone (",").
class PrintLine {
  public:
    PrintLine() = default;
    explicit PrintLine(const std::string& text) : line_(text) {}
    PrintLine& Text(const std::string& text);
    // A number in its printed form: leading blank for a non-negative value, one trailing blank.
    PrintLine& Num(double value);
    // Blanks up to the start of the next print zone: always at least one blank, so an empty item
    // leaves its zone empty and an item that fills its zone pushes the next one a zone on.
    PrintLine& Zone();
    const std::string& Str() const { return line_; }

  private:
    std::string line_;
};

struct ResultWindow {
    std::vector<std::string> Lines;
    bool Shown = false;
    // Called with every line as it is printed (zemra-cli streams the lines to standard output).
    std::function<void(const std::string&)> OnPrint;

    void Print(const std::string& line);
    void Print(const PrintLine& line) { Print(line.Str()); }
    void Clear() { Lines.clear(); }
    void Show() { Shown = true; }
};

}  // namespace zemra
