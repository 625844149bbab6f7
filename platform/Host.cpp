#include "platform/Host.h"

namespace zemra {
namespace {

// The "|"-separated fields of a filter.
std::vector<std::string> Fields(const std::string& filter) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t bar = filter.find('|', start);
        out.push_back(filter.substr(start, bar - start));
        if (bar == std::string::npos) return out;
        start = bar + 1;
    }
}

}  // namespace

void HeadlessHost::MessageBox(const std::string& text) {
    Messages.push_back(text);
    if (OnMessage) OnMessage(text);
}

void HeadlessHost::SetWaitCursor(bool on) {
    WaitCursor = on;
    ++WaitCursorTurns;
}

std::optional<std::string> HeadlessHost::ChooseOpenFile(const std::string& filter) {
    FilterRequests.push_back(filter);
    if (FileAnswers.empty()) return std::nullopt;
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::optional<std::string> HeadlessHost::ChooseSaveFile(const std::string& filter) {
    return ChooseOpenFile(filter);
}

void HeadlessHost::ShowWindow(const std::string& name) {
    ShownWindows.push_back(name);
}

std::string FileDialogFilter(const std::string& filter) {
    const std::vector<std::string> f = Fields(filter);
    std::string out;
    for (size_t i = 0; i + 1 < f.size(); i += 2) {
        std::string patterns = f[i + 1];
        for (char& c : patterns)
            if (c == ';') c = ' ';
        const std::string bracketed = "(" + patterns + ")";
        if (!out.empty()) out += ";;";
        out += f[i].find(bracketed) != std::string::npos ? f[i] : f[i] + " " + bracketed;
    }
    return out;
}

std::string DefaultSuffix(const std::string& filter) {
    const std::vector<std::string> f = Fields(filter);
    if (f.size() < 2) return "";
    const std::string& first = f[1];
    if (first.rfind("*.", 0) != 0) return "";
    const std::string suffix = first.substr(2);
    return suffix.find_first_of("*?;. ") == std::string::npos ? suffix : "";
}

}  // namespace zemra
