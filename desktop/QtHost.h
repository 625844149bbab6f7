// The desktop's services to the commands: message boxes, the wait cursor, the file dialogs and
// bringing windows to the front. Each dialog goes through a replaceable function, so that tests
// answer it without ever opening a window of the desktop.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "platform/Host.h"

class QWidget;

namespace zemra {

class QtHost : public Host {
  public:
    explicit QtHost(QWidget* parent);

    void MessageBox(const std::string& text) override;
    void SetWaitCursor(bool on) override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter) override;
    void ShowWindow(const std::string& name) override;

    // The dialogs, replaceable. A file choice gets the filter as the commands give it
    // ("csv|*.csv|all|*.*") and whether a file is to be saved; nullopt means cancelled.
    std::function<void(const std::string& text)> ShowMessage;
    std::function<std::optional<std::string>(const std::string& filter, bool save)> ChooseFile;
    std::function<void(const std::string& form)> BringToFront;

    // Back to the normal cursor however many wait cursors a failed command left behind.
    void ResetWaitCursor();

    // A file dropped on the window: it answers the next open-file choice in place of the dialog.
    std::optional<std::string> DroppedFile;

  private:
    std::optional<std::string> Dialog(const std::string& filter, bool save);
    QWidget* parent_;
    int waitDepth_ = 0;
};

}  // namespace zemra
