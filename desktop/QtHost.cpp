#include "desktop/QtHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace zemra {

QtHost::QtHost(QWidget* parent) : parent_(parent) {
    ShowMessage = [this](const std::string& text) {
        QMessageBox::information(parent_, QStringLiteral("Zemra"), QString::fromStdString(text));
    };
    ChooseFile = [this](const std::string& filter, bool save) { return Dialog(filter, save); };
}

std::optional<std::string> QtHost::Dialog(const std::string& filter, bool save) {
    QFileDialog dialog(parent_);
    dialog.setNameFilter(QString::fromStdString(FileDialogFilter(filter)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without an extension gets that of the first filter ("out" saves "out.csv").
    if (save) {
        dialog.setDefaultSuffix(QString::fromStdString(DefaultSuffix(filter)));
        // ... and that of the filter chosen in the dialog, once one is.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& f) {
                             const QRegularExpressionMatch m =
                                 QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)")).match(f);
                             dialog.setDefaultSuffix(m.hasMatch() ? m.captured(1) : QString());
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void QtHost::MessageBox(const std::string& text) {
    // A message box during a command shows the normal cursor over it.
    if (waitDepth_ > 0) QApplication::setOverrideCursor(Qt::ArrowCursor);
    ShowMessage(text);
    if (waitDepth_ > 0) QApplication::restoreOverrideCursor();
}

void QtHost::SetWaitCursor(bool on) {
    if (on) {
        ++waitDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (waitDepth_ > 0) {
        --waitDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void QtHost::ResetWaitCursor() {
    while (waitDepth_ > 0) SetWaitCursor(false);
}

std::optional<std::string> QtHost::ChooseOpenFile(const std::string& filter) {
    if (DroppedFile) {
        std::optional<std::string> name = DroppedFile;
        DroppedFile.reset();
        return name;
    }
    return ChooseFile(filter, false);
}

std::optional<std::string> QtHost::ChooseSaveFile(const std::string& filter) {
    return ChooseFile(filter, true);
}

void QtHost::ShowWindow(const std::string& name) {
    if (BringToFront) BringToFront(name);
}

}  // namespace zemra
