// A window of input controls built from its form description and the input record: the
// experiment sheet FormExpr and the dialogs FormTech, FormMech and formOption. Each widget mirrors
// one control of the record (text, caption, check, choice, shown, enabled, read-only); what the
// user does goes into the record through its setters, which run the control's change handler, and
// Refresh brings every widget back in line with the record afterwards.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "commands/FormLayout.h"
#include "model/InputRecord.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace zemra {

class FormWindow : public QWidget {
    Q_OBJECT
  public:
    // `act` runs one user action (a setter of the record) and refreshes the windows after it.
    FormWindow(const FormDescription& form, InputRecord& input,
               std::function<void(const std::function<void()>&)> act, QWidget* parent = nullptr);

    const FormDescription& Description() const { return form_; }
    void Refresh();
    // The widget of a control (a whole option group for a group); nullptr for none.
    QWidget* WidgetOf(const std::string& name, int row = kNoRow) const;
    // The button of entry k (1-based) of an option group.
    QRadioButton* EntryOf(const std::string& name, int entry) const;
    QPushButton* OkButton() const { return ok_; }

  signals:
    void okPressed();

  private:
    struct Binding {
        std::string Name;
        int Row = kNoRow;
        QWidget* Widget = nullptr;
        QLabel* Label = nullptr;             // the label beside a single field, if any
        std::string LabelControl;            // the control the label mirrors, "" for a fixed label
        std::vector<QRadioButton*> Entries;  // an option group's buttons
    };
    struct Header {
        QLabel* Label;
        std::vector<size_t> Cells;  // bindings of the column
    };

    void AddSection(const FormSection& section, QVBoxLayout* into);
    void AddSections(const std::vector<FormSection>& sections, QVBoxLayout* into);
    void AddFields(const std::vector<FormField>& fields, QGridLayout* grid);
    void AddTable(const FormSection& section, QGridLayout* grid);
    QWidget* MakeWidget(const Control& c, bool inTable, Binding& b);
    void RefreshBinding(const Binding& b);

    const FormDescription& form_;
    InputRecord& input_;
    std::function<void(const std::function<void()>&)> act_;
    std::vector<Binding> bindings_;
    std::vector<Header> headers_;
    std::vector<std::pair<std::string, QGroupBox*>> frames_;  // frames shown by a Frame control
    QPushButton* ok_ = nullptr;
};

}  // namespace zemra
