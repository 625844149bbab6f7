// The services of the desktop that commands use: message boxes, the wait cursor, the file
// choice and showing windows. The Qt windows implement it; HeadlessHost serves zemra-cli and the
// tests.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zemra {

struct Host {
    virtual ~Host() = default;
    virtual void MessageBox(const std::string& text) = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // The chosen file name, or nullopt when the user cancels. `filter` is the dialog's filter
    // string, e.g. "csv|*.csv|all|*.*".
    virtual std::optional<std::string> ChooseOpenFile(const std::string& filter) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const std::string& filter) = 0;
    // Brings a window to the front by its form name ("FormPlot", "FormResult", ...).
    virtual void ShowWindow(const std::string& name) = 0;
};

// A host without a display: message boxes are collected, file choices are answered from a queue
// that the caller fills (an empty queue answers "cancelled").
struct HeadlessHost : Host {
    std::vector<std::string> Messages;
    std::deque<std::optional<std::string>> FileAnswers;
    std::vector<std::string> ShownWindows;
    bool WaitCursor = false;
    int WaitCursorTurns = 0;
    std::function<void(const std::string&)> OnMessage;

    void MessageBox(const std::string& text) override;
    void SetWaitCursor(bool on) override;
    std::optional<std::string> ChooseOpenFile(const std::string& filter) override;
    std::optional<std::string> ChooseSaveFile(const std::string& filter) override;
    void ShowWindow(const std::string& name) override;

    std::vector<std::string> FilterRequests;  // the filters the commands asked with
};

// A dialog filter of pairs "description|patterns" (patterns separated by ";") in the form file
// dialogs show it, "description (patterns);;...", patterns separated by blanks:
// "csv|*.csv|all|*.*" gives "csv (*.csv);;all (*.*)". A description that already names its
// patterns in brackets keeps its text.
std::string FileDialogFilter(const std::string& filter);
// The extension a saved file gets when the user types none: that of the filter's first pattern
// ("csv" for "csv|*.csv|all|*.*"); "" when that pattern names no single extension.
std::string DefaultSuffix(const std::string& filter);

}  // namespace zemra
