#include "platform/Host.h"

namespace zemra {

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

}  // namespace zemra
