#include "platform/ResultWindow.h"

#include "platform/NumberText.h"

namespace zemra {

PrintLine& PrintLine::Text(const std::string& text) {
    line_ += text;
    return *this;
}

PrintLine& PrintLine::Num(double value) {
    line_ += PrintedNumber(value);
    return *this;
}

PrintLine& PrintLine::Zone() {
    line_.append(kPrintZoneWidth - line_.size() % kPrintZoneWidth, ' ');
    return *this;
}

void ResultWindow::Print(const std::string& line) {
    Lines.push_back(line);
    if (OnPrint) OnPrint(line);
}

}  // namespace zemra
