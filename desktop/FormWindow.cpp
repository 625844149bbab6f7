#include "desktop/FormWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <map>

namespace zemra {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString ObjectName(const std::string& name, int row) {
    return Q(row == kNoRow ? name : name + "(" + std::to_string(row) + ")");
}

// Widths that hold a number such as "-1.234e-10": narrow in the tables, wider on their own.
int FieldWidth(const QWidget* w, bool inTable) {
    return w->fontMetrics().horizontalAdvance(inTable ? QStringLiteral("0.000e-00")
                                                      : QStringLiteral("-0.000e-000  ")) +
           10;
}

void SetHidden(QWidget* w, bool hidden) {
    if (w && w->isHidden() != hidden) w->setHidden(hidden);
}

}  // namespace

FormWindow::FormWindow(const FormDescription& form, InputRecord& input,
                       std::function<void(const std::function<void()>&)> act, QWidget* parent)
    : QWidget(parent), form_(form), input_(input), act_(std::move(act)) {
    setObjectName(Q(form.Name));
    auto* top = new QVBoxLayout(this);
    AddSections(form.Sections, top);
    // Controls of this form that no section places still get a place, at the end.
    FormSection rest;
    for (const Control* c : UnplacedControls(form, input)) rest.Fields.push_back({c->Name, c->Row});
    if (!rest.Fields.empty()) AddSection(rest, top);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(Q(form.OkButton));
    connect(ok_, &QPushButton::clicked, this, &FormWindow::okPressed);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    top->addLayout(buttons);
    top->addStretch();
    Refresh();
}

void FormWindow::AddSections(const std::vector<FormSection>& sections, QVBoxLayout* into) {
    for (size_t i = 0; i < sections.size();) {
        if (sections[i].Column == 0) {
            AddSection(sections[i++], into);
            continue;
        }
        // A band: the neighbouring sections with a column number, side by side.
        auto* band = new QHBoxLayout;
        std::map<int, QVBoxLayout*> columns;
        for (; i < sections.size() && sections[i].Column != 0; ++i) {
            QVBoxLayout*& column = columns[sections[i].Column];
            if (!column) column = new QVBoxLayout;
            AddSection(sections[i], column);
        }
        for (auto& [number, column] : columns) {
            column->addStretch();
            band->addLayout(column);
        }
        into->addLayout(band);
    }
}

void FormWindow::AddSection(const FormSection& section, QVBoxLayout* into) {
    QWidget* box;
    if (section.Caption.empty() && section.FrameControl.empty()) {
        box = new QWidget(this);
    } else {
        auto* group = new QGroupBox(Q(section.Caption), this);
        if (!section.FrameControl.empty()) {
            group->setObjectName(Q(section.FrameControl));
            frames_.emplace_back(section.FrameControl, group);
        }
        box = group;
    }
    auto* layout = new QVBoxLayout(box);
    if (section.Caption.empty() && section.FrameControl.empty()) layout->setContentsMargins({});
    if (!section.Fields.empty()) {
        auto* grid = new QGridLayout;
        AddFields(section.Fields, grid);
        layout->addLayout(grid);
    }
    if (!section.Columns.empty()) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(4);
        AddTable(section, grid);
        layout->addLayout(grid);
    }
    AddSections(section.Sections, layout);
    into->addWidget(box);
}

void FormWindow::AddFields(const std::vector<FormField>& fields, QGridLayout* grid) {
    grid->setColumnStretch(1, 1);  // spare width goes to the right of the fields
    int line = 0;
    for (const FormField& f : fields) {
        const Control* c = input_.Find(f.Name, f.Row);
        if (!c) continue;
        Binding b;
        QWidget* w = MakeWidget(*c, false, b);
        const bool captioned = c->Kind == ControlKind::Check ||
                               c->Kind == ControlKind::OptionButton ||
                               c->Kind == ControlKind::OptionGroup;
        if (captioned) {
            grid->addWidget(w, line, 0, 1, 2);
        } else {
            const Control* labelControl =
                f.LabelControl.empty() ? nullptr : input_.Find(f.LabelControl);
            b.Label = new QLabel(Q(labelControl ? labelControl->Caption : c->Label), this);
            b.Label->setToolTip(Q(c->ToolTip));
            if (labelControl) b.LabelControl = f.LabelControl;
            grid->addWidget(b.Label, line, 0);
            grid->addWidget(w, line, 1, Qt::AlignLeft);
        }
        bindings_.push_back(b);
        ++line;
    }
}

void FormWindow::AddTable(const FormSection& s, QGridLayout* grid) {
    for (size_t j = 0; j < s.Columns.size(); ++j) {
        const FormColumn& col = s.Columns[j];
        Header h{new QLabel(this), {}};
        h.Label->setWordWrap(true);
        h.Label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        for (int r = s.FirstRow; r <= s.LastRow; ++r) {
            const Control* c = input_.Find(col.Name, r + col.RowOffset);
            if (!c) continue;
            if (h.Cells.empty()) {
                h.Label->setText(Q(c->Label));
                h.Label->setToolTip(Q(c->ToolTip));
            }
            Binding b;
            QWidget* w = MakeWidget(*c, true, b);
            grid->addWidget(w, 1 + r - s.FirstRow, static_cast<int>(j), Qt::AlignCenter);
            h.Cells.push_back(bindings_.size());
            bindings_.push_back(b);
        }
        grid->addWidget(h.Label, 0, static_cast<int>(j));
        headers_.push_back(h);
    }
}

QWidget* FormWindow::MakeWidget(const Control& c, bool inTable, Binding& b) {
    const std::string name = c.Name;
    const int row = c.Row;
    b.Name = name;
    b.Row = row;
    QWidget* w = nullptr;
    switch (c.Kind) {
        case ControlKind::Text: {
            auto* e = new QLineEdit(this);
            e->setFixedWidth(FieldWidth(e, inTable));
            // Every keystroke is a change of the text, as typing is at the desktop: the change
            // handler runs and the computed captions follow.
            connect(e, &QLineEdit::textEdited, this, [this, name, row](const QString& text) {
                act_([this, name, row, t = text.toStdString()] { input_.SetText(name, row, t); });
            });
            w = e;
            break;
        }
        case ControlKind::Label: {
            auto* l = new QLabel(this);
            l->setTextInteractionFlags(Qt::TextSelectableByMouse);
            if (inTable) l->setMinimumWidth(FieldWidth(l, true));
            w = l;
            break;
        }
        case ControlKind::Check: {
            auto* box = new QCheckBox(inTable ? QString() : Q(c.Caption), this);
            connect(box, &QCheckBox::clicked, this, [this, name, row](bool checked) {
                act_([this, name, row, checked] { input_.SetChecked(name, row, checked); });
            });
            w = box;
            break;
        }
        case ControlKind::OptionButton: {
            auto* radio = new QRadioButton(Q(c.Caption), this);
            auto* group = findChild<QButtonGroup*>(Q("group " + c.Group));
            if (!group) {
                group = new QButtonGroup(this);
                group->setObjectName(Q("group " + c.Group));
            }
            group->addButton(radio);
            connect(radio, &QRadioButton::clicked, this, [this, name, row] {
                act_([this, name, row] { input_.SelectButton(name, row); });
            });
            w = radio;
            break;
        }
        case ControlKind::OptionGroup: {
            auto* box = new QWidget(this);
            auto* layout = new QVBoxLayout(box);
            layout->setContentsMargins({});
            auto* group = new QButtonGroup(box);
            for (size_t k = 0; k < c.Entries.size(); ++k) {
                auto* radio = new QRadioButton(Q(c.Entries[k]), box);
                radio->setObjectName(Q(name + "#" + std::to_string(k + 1)));
                if (k < c.EntryToolTips.size()) radio->setToolTip(Q(c.EntryToolTips[k]));
                group->addButton(radio);
                layout->addWidget(radio);
                const int entry = static_cast<int>(k) + 1;
                connect(radio, &QRadioButton::clicked, this, [this, name, entry] {
                    act_([this, name, entry] { input_.Select(name, entry); });
                });
                b.Entries.push_back(radio);
            }
            w = box;
            break;
        }
        case ControlKind::List: {
            auto* combo = new QComboBox(this);
            for (const std::string& e : c.Entries) combo->addItem(Q(e));
            connect(combo, &QComboBox::activated, this, [this, name, row](int index) {
                act_([this, name, row, index] { input_.SetListIndex(name, row, index); });
            });
            w = combo;
            break;
        }
        case ControlKind::Frame:
            w = new QWidget(this);
            break;
    }
    w->setObjectName(ObjectName(name, row));
    if (!c.ToolTip.empty()) w->setToolTip(Q(c.ToolTip));
    b.Widget = w;
    return w;
}

void FormWindow::RefreshBinding(const Binding& b) {
    const Control& c = input_.Get(b.Name, b.Row);
    QWidget* w = b.Widget;
    const QSignalBlocker block(w);
    switch (c.Kind) {
        case ControlKind::Text: {
            auto* e = static_cast<QLineEdit*>(w);
            // Only a text that differs is written, so the cursor stays where the user types.
            if (e->text().toStdString() != c.Text) e->setText(Q(c.Text));
            e->setReadOnly(c.ReadOnly);
            break;
        }
        case ControlKind::Label:
            static_cast<QLabel*>(w)->setText(Q(c.Caption));
            break;
        case ControlKind::Check:
            static_cast<QCheckBox*>(w)->setChecked(c.Checked);
            break;
        case ControlKind::OptionButton:
            if (c.Checked) static_cast<QRadioButton*>(w)->setChecked(true);
            break;
        case ControlKind::OptionGroup:
            for (size_t k = 0; k < b.Entries.size(); ++k) {
                const QSignalBlocker blockEntry(b.Entries[k]);
                b.Entries[k]->setEnabled(k >= c.EntryEnabled.size() || c.EntryEnabled[k]);
                if (c.Selected == static_cast<int>(k) + 1) b.Entries[k]->setChecked(true);
            }
            break;
        case ControlKind::List:
            static_cast<QComboBox*>(w)->setCurrentIndex(c.Selected);
            break;
        case ControlKind::Frame:
            break;
    }
    SetHidden(w, !c.Shown);
    if (w->isEnabled() != c.Enabled) w->setEnabled(c.Enabled);
    if (b.Label) {
        const Control& lc = b.LabelControl.empty() ? c : input_.Get(b.LabelControl);
        if (!b.LabelControl.empty()) b.Label->setText(Q(lc.Caption));
        SetHidden(b.Label, !lc.Shown);
    }
}

void FormWindow::Refresh() {
    for (const Binding& b : bindings_) RefreshBinding(b);
    // A column heading is shown while any of its cells is.
    for (const Header& h : headers_) {
        bool any = false;
        for (size_t i : h.Cells) any = any || !bindings_[i].Widget->isHidden();
        SetHidden(h.Label, !any);
    }
    for (const auto& [name, box] : frames_) SetHidden(box, !input_.IsShown(name));
}

QWidget* FormWindow::WidgetOf(const std::string& name, int row) const {
    for (const Binding& b : bindings_)
        if (b.Name == name && b.Row == row) return b.Widget;
    return nullptr;
}

QRadioButton* FormWindow::EntryOf(const std::string& name, int entry) const {
    for (const Binding& b : bindings_)
        if (b.Name == name && entry >= 1 && entry <= static_cast<int>(b.Entries.size()))
            return b.Entries[static_cast<size_t>(entry - 1)];
    return nullptr;
}

}  // namespace zemra
