// The main window MDIForm1: the menu bar built from the menu tree, and inside it the experiment
// sheet, the plot, the result and about windows and the three dialogs. It owns the workbench; every
// menu item, button and edit runs as one user action on it, after which all windows are brought in
// line with the workbench.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "commands/MenuTree.h"
#include "curves/InstrumentFormats.h"
#include "desktop/PictureOutput.h"
#include "desktop/QtHost.h"
#include "state/Workbench.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;

namespace zemra {

class FormWindow;
class PlotWindow;
class TextWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow();
    ~MainWindow() override;

    Workbench& Bench() { return wb_; }
    QtHost& Host() { return host_; }
    const PictureCanvas& Picture() const { return picture_; }
    QAction* Action(const std::string& name) const;  // a menu item or a whole menu, by name
    FormWindow* Form(const std::string& name) const;
    PlotWindow* Plot() const { return plot_; }
    TextWindow* ResultText() const { return result_; }
    QMdiSubWindow* SubWindow(const std::string& name) const;

    // Runs one user action, then refreshes every window from the workbench. An action that
    // starts while another runs (from a dialog it opened) is refused, as the program runs one
    // command at a time.
    // Returns false for a refused action.
    bool Act(const std::function<void()>& action);
    void RefreshAll();

    // The plot window's picture on the clipboard, on the printer and in a file.
    void CopyPlot();
    void PrintPlot();
    void SavePicture();
    // Replaceable dialogs of the picture commands: the PNG's size and resolution (nullopt when
    // cancelled), and the printer choice (false when cancelled).
    std::function<std::optional<PngSettings>(const PngSettings& proposed)> AskPngSettings;
    std::function<bool(QPrinter& printer)> AskPrinter;

    // Import Data: a potentiostat's export is shown with its format, points and cycles found,
    // and the user picks the cycle and the current sign (nullopt when cancelled); the program's
    // own layout imports without asking. Replaceable for tests.
    void ImportData();
    std::function<std::optional<ImportChoice>(const MeasuredCurve& curve, int cycles,
                                              const ImportChoice& proposed)>
        AskImportChoice;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void AddMenuItems(QMenu* menu, const std::vector<MenuEntry>& items);
    void Trigger(const MenuEntry& entry);
    QMdiSubWindow* AddWindow(const std::string& name, QWidget* widget, const QString& caption,
                             bool dialog);
    void BringToFront(const std::string& name);
    void SheetActivated();
    // A window was hidden: the window in front of the others before it becomes active again.
    void ActivateLatest(QMdiSubWindow* hidden);
    void PlaceFirstTime(const std::string& name, QMdiSubWindow* sub);
    QSize PlotSize() const;

    QtHost host_;
    PictureCanvas picture_;
    Workbench wb_;
    QMdiArea* mdi_ = nullptr;
    QLabel* readout_ = nullptr;
    PlotWindow* plot_ = nullptr;
    TextWindow* result_ = nullptr;
    TextWindow* about_ = nullptr;
    std::map<std::string, FormWindow*> forms_;
    std::map<std::string, QMdiSubWindow*> windows_;
    std::map<std::string, bool> placed_;
    std::map<std::string, QAction*> actions_;
    bool busy_ = false;
    bool showingSheet_ = false;     // a command brings the sheet to the front itself
    bool sheetActivation_ = false;  // the sheet came to the front during a command
};

}  // namespace zemra
