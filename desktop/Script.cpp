#include "desktop/Script.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>

#include "commands/FormLayout.h"
#include "desktop/FormWindow.h"
#include "desktop/MainWindow.h"
#include "platform/NumberText.h"

namespace zemra {
namespace {

// Sets a control as a person would; returns the reason when the value does not fit it.
std::string Set(MainWindow& w, const Control& c, const std::string& value) {
    InputRecord& in = w.Bench().Input;
    switch (c.Kind) {
        case ControlKind::Text:
            w.Act([&] { in.SetText(c.Name, c.Row, value); });
            return "";
        case ControlKind::Check:
            w.Act([&] { in.SetChecked(c.Name, c.Row, value == "1"); });
            return "";
        case ControlKind::OptionButton:
            w.Act([&] { in.SelectButton(c.Name, c.Row); });
            return "";
        case ControlKind::OptionGroup: {
            const int entry = static_cast<int>(Val(value));
            if (entry < 1 || entry > static_cast<int>(c.Entries.size())) break;
            w.Act([&] { in.Select(c.Name, entry); });
            return "";
        }
        case ControlKind::List:
            for (size_t i = 0; i < c.Entries.size(); ++i)
                if (c.Entries[i] == value) {
                    w.Act([&] { in.SetListIndex(c.Name, c.Row, static_cast<int>(i)); });
                    return "";
                }
            break;
        case ControlKind::Label:
        case ControlKind::Frame:
            break;
    }
    return c.Name + " cannot take " + value;
}

// The OK button of a form by its name ("cmdOK", "CmdOK", "Command1", "OK").
QPushButton* OkButton(MainWindow& w, const std::string& name) {
    for (const FormDescription& f : FormDescriptions())
        if (f.OkButton == name) return w.Form(f.Name)->OkButton();
    return nullptr;
}

}  // namespace

std::string PlayScript(MainWindow& window, const QStringList& steps) {
    static const QRegularExpression setting(QStringLiteral("^(\\w+)(?:\\((-?\\d+)\\))?=(.*)$"));
    for (const QString& step : steps) {
        if (QAction* action = window.Action(step.toStdString())) {
            action->trigger();
            continue;
        }
        if (QPushButton* ok = OkButton(window, step.toStdString())) {
            ok->click();
            continue;
        }
        const QRegularExpressionMatch m = setting.match(step);
        const Control* c = m.hasMatch()
                               ? window.Bench().Input.Find(
                                     m.captured(1).toStdString(),
                                     m.captured(2).isEmpty() ? kNoRow : m.captured(2).toInt())
                               : nullptr;
        if (!c) return "unknown step " + step.toStdString();
        // The control's window comes to the front first, as a person clicks into it.
        if (QMdiSubWindow* sub = window.SubWindow(c->Form); sub && sub->isVisible())
            sub->mdiArea()->setActiveSubWindow(sub);
        const std::string refused = Set(window, *c, m.captured(3).toStdString());
        if (!refused.empty()) return refused;
    }
    return "";
}

}  // namespace zemra
