// The user input record: every control of the experiment sheet (FormExpr), the technique and
// mechanism dialogs (FormTech, FormMech) and the plot-option dialog (formOption), with its text
// or value, caption, shown and enabled state. The windows only mirror this record; computations
// read it by control name and row. The setters are the one way to change a value and raise the
// control's change or click event through OnChange, as typing or clicking would.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/FitSlots.h"

namespace zemra {

enum class ControlKind {
    Text,          // text box: Text holds what was typed
    Label,         // label: Caption holds what the program wrote
    Check,         // check box: Checked, with its Caption
    OptionGroup,   // option buttons 1..N, exactly one Selected (1-based)
    OptionButton,  // a single option button of a small group (the plot line styles)
    List,          // list box: Selected entry index (0-based) of Entries
    Frame,         // a frame that is shown or hidden with its content
};

inline constexpr int kNoRow = -1;

struct Control {
    std::string Form;  // "FormExpr", "FormTech", "FormMech", "formOption"
    std::string Name;
    int Row = kNoRow;
    ControlKind Kind = ControlKind::Text;
    std::string Label;  // the descriptive label beside the control (column header)
    std::string ToolTip;
    std::string Text;     // Text: the typed text
    std::string Caption;  // Label, Check, Frame: the caption
    bool Checked = false;
    int Selected = 0;                  // OptionGroup: 1-based entry; List: 0-based entry index
    std::vector<std::string> Entries;  // OptionGroup captions or List texts
    std::vector<std::string> EntryToolTips;
    std::vector<bool> EntryEnabled;  // OptionGroup only
    std::string Group;               // OptionButton: buttons of one group share it
    bool Shown = true;
    bool Enabled = true;
    bool ReadOnly = false;
};

class InputRecord {
  public:
    // Builds every control with its start-up text or value, shown and enabled state.
    InputRecord();
    InputRecord(const InputRecord&) = delete;
    InputRecord& operator=(const InputRecord&) = delete;

    // Raised after a setter changed a control: the change or click event of control (name, row).
    std::function<void(const std::string& name, int row)> OnChange;

    // Lookup; Find returns nullptr for an unknown control, Get throws std::out_of_range.
    Control* Find(const std::string& name, int row = kNoRow);
    const Control* Find(const std::string& name, int row = kNoRow) const;
    Control& Get(const std::string& name, int row = kNoRow);
    const Control& Get(const std::string& name, int row = kNoRow) const;
    const std::vector<Control>& Controls() const { return controls_; }

    // Readers.
    const std::string& TextOf(const std::string& name, int row = kNoRow) const;
    const std::string& CaptionOf(const std::string& name, int row = kNoRow) const;
    bool IsChecked(const std::string& name, int row = kNoRow) const;
    bool IsShown(const std::string& name, int row = kNoRow) const;
    int SelectedOf(const std::string& name, int row = kNoRow) const;
    // The text of the chosen entry of a list.
    std::string ListText(const std::string& name, int row = kNoRow) const;

    // Setters that raise the control's event when the value changes (option buttons and option
    // groups raise their click event on every selection, as a click does).
    void SetText(const std::string& name, int row, const std::string& text);
    void SetText(const std::string& name, const std::string& text) { SetText(name, kNoRow, text); }
    void SetCaption(const std::string& name, int row, const std::string& caption);
    void SetChecked(const std::string& name, int row, bool checked);
    void SetChecked(const std::string& name, bool checked) { SetChecked(name, kNoRow, checked); }
    void Select(const std::string& name, int entry);      // option group: entry 1..N
    void SelectButton(const std::string& name, int row);  // option button of a group
    void SetListIndex(const std::string& name, int row, int index);
    void SetListIndex(const std::string& name, int index) { SetListIndex(name, kNoRow, index); }

    // Presentation state; raises no event.
    void SetShown(const std::string& name, int row, bool shown);
    void SetEnabled(const std::string& name, int row, bool enabled);
    void SetReadOnly(const std::string& name, int row, bool readOnly);
    void SetEntryEnabled(const std::string& name, int entry, bool enabled);
    bool IsEntryEnabled(const std::string& name, int entry) const;

  private:
    Control& Add(Control c);
    void Raise(const Control& c);
    static std::string Key(const std::string& name, int row);

    std::vector<Control> controls_;
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace zemra
