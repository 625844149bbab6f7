// A read-only text window in a fixed-pitch font, so that the print zones of the printed lines
// stay in their columns: the result window and the about window. Text can be selected and copied.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "platform/ResultWindow.h"

namespace zemra {

class TextWindow : public QPlainTextEdit {
  public:
    explicit TextWindow(QWidget* parent = nullptr);
    // Shows the lines of a result window: lines printed since the last call are appended, and
    // a window that was cleared is written afresh.
    void Sync(const ResultWindow& lines);

  private:
    std::vector<std::string> shown_;
};

}  // namespace zemra
