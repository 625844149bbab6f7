// How the experiment sheet and the three dialogs present the controls of the input record: their
// framed sections, in order, each holding single controls (one per line) and tables of row
// controls (one column per field, the fit slots beside their quantities). The desktop builds its
// windows from these tables and the input record alone; a control of a form that no section
// places still appears, in a section of its own at the end of the window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/InputRecord.h"

namespace zemra {

// One column of a table of rows: the control `Name` at row r + RowOffset for each row r.
struct FormColumn {
    FormColumn(std::string name, int rowOffset = 0) : Name(std::move(name)), RowOffset(rowOffset) {}
    std::string Name;
    int RowOffset;
};

// A single control on a line of its own. Its label is the caption of `LabelControl` when one is
// given (a label the sheet shows, hides and re-captions with the field), else the control's own
// Label.
struct FormField {
    FormField(std::string name, int row = kNoRow, std::string labelControl = "")
        : Name(std::move(name)), Row(row), LabelControl(std::move(labelControl)) {}
    std::string Name;
    int Row;
    std::string LabelControl;
};

struct FormSection {
    std::string Caption;       // the frame's caption; "" for a frame without one
    std::string FrameControl;  // a Frame control of the record that shows or hides the section
    // Sections placed side by side share a band: 0 stacks the section across the whole window,
    // 1, 2, ... put it into that column of a band of neighbouring sections.
    int Column = 0;
    std::vector<FormField> Fields;
    std::vector<FormColumn> Columns;  // a table of the rows FirstRow..LastRow
    int FirstRow = 1, LastRow = 0;
    std::vector<FormSection> Sections;  // frames inside this one, below its fields and table
};

struct FormDescription {
    std::string Name;       // "FormExpr", "FormTech", "FormMech", "formOption"
    std::string Caption;    // the window's caption
    std::string OkButton;   // the name of its OK button
    std::string OkCommand;  // the command the button runs (a name of the command table)
    std::vector<FormSection> Sections;
};

// The windows that present input controls, in the order the program creates them.
const std::vector<FormDescription>& FormDescriptions();
// The description of one form; nullptr for a name that is none.
const FormDescription* FindForm(const std::string& name);

// The controls (name and row) that a form's sections place, labels included, in order.
std::vector<std::pair<std::string, int>> PlacedControls(const FormDescription& form);
// The controls of the form in the record that its sections do not place.
std::vector<const Control*> UnplacedControls(const FormDescription& form, const InputRecord& in);

}  // namespace zemra
