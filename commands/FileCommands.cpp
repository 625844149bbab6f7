#include "commands/FileCommands.h"

#include <algorithm>

#include "commands/Commands.h"
#include "curves/DataFile.h"
#include "model/ParameterFile.h"
#include "platform/TextFile.h"

namespace zemra {
namespace {

// Writes the text that `text()` builds to the file the user chooses; a failure, in building the
// text or in writing it, shows `prefix` and its description.
template <typename Text>
void SaveText(Workbench& wb, const char* filter, const char* prefix, Text text) {
    const auto name = wb.Ui.ChooseSaveFile(filter);
    if (!name) return;  // the user cancelled the dialog: nothing to write
    try {
        WriteTextFile(*name, text());
    } catch (const RuntimeError& e) {
        wb.Ui.MessageBox(prefix + e.Description());
    }
}

}  // namespace

void mnuSave(Workbench& wb) {
    SaveText(wb, kParameterFileFilter,
             "Save Error: ", [&] { return ParameterFileText(wb.Model, wb.Curves.NoOfData); });
}

void mnuExport(Workbench& wb) {
    const CurveStore& cs = wb.Curves;
    // An empty store has no curve to write; the user is told so before choosing a file, and no
    // file is created or emptied.
    if (cs.NoOfData < 1 || cs.LastPoint < std::max(cs.FirstPoint, 1)) {
        wb.Ui.MessageBox("Error: No data!");
        return;
    }
    SaveText(wb, kDataFileFilter, "WriteData Error: ", [&] {
        return DataFileText(cs.FirstPoint, cs.LastPoint, cs.X, cs.Y, cs.CurveNo);
    });
}

void mnuImport(Workbench& wb) {
    const auto name = wb.Ui.ChooseOpenFile(kImportFileFilter);
    if (!name) return;  // cancelled: nothing at all happens
    try {
        const ImportedFile file = ReadAnyDataFile(*name);
        if (file.Plain)
            StoreImportedData(wb, file.Points);
        else
            StoreMeasuredCurve(wb, file.Measured, wb.Import);
    } catch (const RuntimeError& e) {
        wb.Ui.MessageBox("ReadData Error: " + e.Description());
        return;
    }
    ShowPlot(wb);
    wb.Result.Show();
    wb.Ui.ShowWindow("FormResult");
    wb.Menus.Display = true;
    wb.Menus.Analysis = true;
}

}  // namespace zemra
