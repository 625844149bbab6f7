#include "desktop/TextWindow.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <algorithm>

namespace zemra {

TextWindow::TextWindow(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void TextWindow::Sync(const ResultWindow& window) {
    const std::vector<std::string>& lines = window.Lines;
    const bool continues =
        lines.size() >= shown_.size() && std::equal(shown_.begin(), shown_.end(), lines.begin());
    if (continues && lines.size() == shown_.size()) return;
    if (!continues) {
        clear();
        shown_.clear();
    }
    for (size_t i = shown_.size(); i < lines.size(); ++i)
        appendPlainText(QString::fromStdString(lines[i]));
    shown_ = lines;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace zemra
