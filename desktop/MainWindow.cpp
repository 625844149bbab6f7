#include "desktop/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <cmath>

#include "commands/CommandTable.h"
#include "commands/Commands.h"
#include "commands/FileCommands.h"
#include "commands/FormLayout.h"
#include "commands/SheetLayout.h"
#include "curves/DataFile.h"
#include "curves/Plot.h"
#include "desktop/FormWindow.h"
#include "desktop/PlotPainter.h"
#include "desktop/PlotWindow.h"
#include "desktop/TextWindow.h"

namespace zemra {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The menu items that the main window serves itself rather than the command set.
bool ServedByWindow(const std::string& name) {
    return name == "mnuCopyto" || name == "mnuPrint" || name == "mnuExit" ||
           name == "mnuSavePicture";
}

// The PNG's size in pixels and its resolution, proposed from the plot window.
std::optional<PngSettings> PngDialog(QWidget* parent, const PngSettings& proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("PNG picture"));
    auto* form = new QFormLayout(&dialog);
    auto spin = [&](int value, int lo, int hi, const QString& suffix) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(lo, hi);
        box->setValue(value);
        box->setSuffix(suffix);
        return box;
    };
    QSpinBox* width = spin(proposed.Pixels.width(), 16, 20000, QStringLiteral(" px"));
    QSpinBox* height = spin(proposed.Pixels.height(), 16, 20000, QStringLiteral(" px"));
    QSpinBox* dpi = spin(proposed.Dpi, 10, 2400, QStringLiteral(" dpi"));
    form->addRow(QStringLiteral("Width"), width);
    form->addRow(QStringLiteral("Height"), height);
    form->addRow(QStringLiteral("Resolution"), dpi);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PngSettings{QSize(width->value(), height->value()), dpi->value()};
}

// The cycle and the current sign to take from a potentiostat's export.
std::optional<ImportChoice> ImportDialog(QWidget* parent, const MeasuredCurve& curve, int cycles,
                                         const ImportChoice& proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Import Data"));
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Format"), new QLabel(Q(curve.Format), &dialog));
    form->addRow(QStringLiteral("Points"), new QLabel(QString::number(curve.E.size()), &dialog));
    form->addRow(QStringLiteral("Cycles found"), new QLabel(QString::number(cycles), &dialog));
    auto* cycle = new QComboBox(&dialog);
    cycle->addItem(QStringLiteral("last complete cycle"), ImportChoice::kLastComplete);
    for (int k = 1; k <= cycles; ++k) cycle->addItem(QStringLiteral("cycle %1").arg(k), k);
    cycle->addItem(QStringLiteral("all cycles"), ImportChoice::kAll);
    cycle->setCurrentIndex(std::max(0, cycle->findData(proposed.Cycle)));
    form->addRow(QStringLiteral("Take"), cycle);
    auto* sign = new QCheckBox(QStringLiteral("keep the file's current sign (anodic positive)"));
    sign->setChecked(proposed.FileSign);
    form->addRow(sign);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ImportChoice{cycle->currentData().toInt(), sign->isChecked()};
}

// The program's icon: a cyclic voltammogram, a forward peak above and a return peak below.
QIcon ProgramIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf6, 0xf8));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    QPainterPath loop(QPointF(8, 34));
    loop.cubicTo(QPointF(26, 34), QPointF(26, 8), QPointF(34, 10));
    loop.cubicTo(QPointF(40, 12), QPointF(44, 24), QPointF(56, 26));
    loop.cubicTo(QPointF(44, 28), QPointF(38, 56), QPointF(28, 54));
    loop.cubicTo(QPointF(20, 52), QPointF(18, 36), QPointF(8, 34));
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(loop);
    return QIcon(pixmap);
}

}  // namespace

MainWindow::MainWindow() : host_(this), wb_(host_, picture_) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Zemra for Windows"));
    QApplication::setWindowIcon(ProgramIcon());
    setAcceptDrops(true);
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdi"));
    setCentralWidget(mdi_);
    StartUp(wb_);
    host_.BringToFront = [this](const std::string& name) { BringToFront(name); };

    const auto act = [this](const std::function<void()>& action) { Act(action); };
    for (const FormDescription& f : FormDescriptions()) {
        auto* form = new FormWindow(f, wb_.Input, act);
        forms_[f.Name] = form;
        const bool sheet = f.Name == "FormExpr";
        QWidget* content = form;
        if (sheet) {
            auto* scroll = new QScrollArea;
            scroll->setWidget(form);
            scroll->setWidgetResizable(true);
            content = scroll;
        }
        AddWindow(f.Name, content, Q(f.Caption), !sheet);
        // OK runs the form's command, then hides the form; its values stay.
        connect(form, &FormWindow::okPressed, this, [this, &f] {
            Act([this, &f] {
                if (const CommandInfo* c = FindCommand(f.OkCommand)) c->Run(wb_);
                windows_.at(f.Name)->hide();
            });
        });
    }
    plot_ = new PlotWindow(picture_);
    AddWindow("FormPlot", plot_, QStringLiteral("Plot"), false);
    result_ = new TextWindow;
    AddWindow("FormResult", result_, QStringLiteral("Result"), false);
    about_ = new TextWindow;
    AddWindow("FormAbout", about_, QStringLiteral("About"), false);

    // A resize redraws the store once the size has settled. An empty store stays silent: the
    // "no data" message is for the commands, not for every step of dragging a window edge.
    connect(plot_, &PlotWindow::resizeSettled, this, [this] {
        if (!Act([this] { PlotCurves(wb_); })) plot_->RedrawLater();
    });
    readout_ = new QLabel(this);
    statusBar()->addPermanentWidget(readout_);
    connect(plot_, &PlotWindow::cursorMoved, readout_, &QLabel::setText);
    connect(plot_, &PlotWindow::entered, this,
            [this] { statusBar()->showMessage(PlotWindow::Hint(), 8000); });
    connect(plot_, &PlotWindow::copyRequested, this, &MainWindow::CopyPlot);
    connect(plot_, &PlotWindow::savePictureRequested, this, &MainWindow::SavePicture);
    connect(plot_, &PlotWindow::printRequested, this, &MainWindow::PrintPlot);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        if (w && w == windows_.at("FormExpr")) SheetActivated();
    });

    AskPngSettings = [this](const PngSettings& proposed) { return PngDialog(this, proposed); };
    AskImportChoice = [this](const MeasuredCurve& curve, int cycles, const ImportChoice& proposed) {
        return ImportDialog(this, curve, cycles, proposed);
    };
    AskPrinter = [this](QPrinter& printer) {
        if (!QPrinterInfo::availablePrinters().isEmpty()) {
            QPrintDialog dialog(&printer, this);
            return dialog.exec() == QDialog::Accepted;
        }
        // No printer on this machine: the page goes into a PDF file instead.
        statusBar()->showMessage(QStringLiteral("No printer is set up: printing into a PDF file"),
                                 5000);
        const auto name = host_.ChooseSaveFile("PDF document|*.pdf");
        if (!name) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Q(*name));
        return true;
    };

    BuildMenus();
    statusBar()->showMessage(
        QStringLiteral("Input \u203a Experimental opens the experiment sheet; Run \u203a Simulate "
                       "(F5) simulates."));
    resize(1280, 860);
    RefreshAll();
}

MainWindow::~MainWindow() {
    for (auto& [name, sub] : windows_) sub->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched)) ActivateLatest(sub);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ActivateLatest(QMdiSubWindow* hidden) {
    if (mdi_->activeSubWindow() && mdi_->activeSubWindow() != hidden) return;
    const QList<QMdiSubWindow*> history = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        if (*it != hidden && (*it)->isVisible()) {
            mdi_->setActiveSubWindow(*it);
            return;
        }
    }
}

QMdiSubWindow* MainWindow::AddWindow(const std::string& name, QWidget* widget,
                                     const QString& caption, bool dialog) {
    QMdiSubWindow* sub = mdi_->addSubWindow(widget);
    // Closing a window hides it; it keeps its values for the next time it is shown.
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setObjectName(Q(name));
    sub->setWindowTitle(caption);
    if (dialog)
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    sub->hide();
    sub->installEventFilter(this);
    windows_[name] = sub;
    return sub;
}

void MainWindow::BuildMenus() {
    for (const MenuEntry& m : MenuTree()) {
        QMenu* menu = menuBar()->addMenu(Q(m.Caption));
        menu->menuAction()->setObjectName(Q(m.Name));
        actions_[m.Name] = menu->menuAction();
        AddMenuItems(menu, m.Items);
    }
}

void MainWindow::AddMenuItems(QMenu* menu, const std::vector<MenuEntry>& items) {
    for (const MenuEntry& e : items) {
        QAction* a;
        if (IsSeparator(e)) {
            a = menu->addSeparator();
        } else if (!e.Items.empty()) {
            QMenu* sub = menu->addMenu(Q(e.Caption));
            a = sub->menuAction();
            AddMenuItems(sub, e.Items);
        } else {
            a = menu->addAction(Q(e.Caption));
            // An item neither the commands nor this window serve cannot be used.
            a->setEnabled(e.Enabled && (e.Run || ServedByWindow(e.Name)));
            if (!e.Shortcut.empty()) a->setShortcut(QKeySequence(Q(e.Shortcut)));
            connect(a, &QAction::triggered, this, [this, &e] { Trigger(e); });
        }
        a->setObjectName(Q(e.Name));
        actions_[e.Name] = a;
    }
}

void MainWindow::Trigger(const MenuEntry& e) {
    if (e.Name == "mnuImport")
        ImportData();
    else if (e.Run)
        Act([this, run = e.Run] { run(wb_); });
    else if (e.Name == "mnuCopyto")
        CopyPlot();
    else if (e.Name == "mnuPrint")
        PrintPlot();
    else if (e.Name == "mnuSavePicture")
        SavePicture();
    else if (e.Name == "mnuExit")
        close();  // at once, without asking and without saving
}

bool MainWindow::Act(const std::function<void()>& action) {
    if (busy_) return false;
    busy_ = true;
    try {
        action();
        // The sheet came to the front during the action (a dialog in front of it was closed):
        // its layout step runs now, as it does whenever the sheet comes to the front.
        if (sheetActivation_ && mdi_->activeSubWindow() == windows_.at("FormExpr"))
            ActivateSheet(wb_);
    } catch (const std::exception& e) {
        // The commands report their own failures; this is the last guard of the event loop.
        host_.ResetWaitCursor();
        host_.MessageBox(std::string("Error: ") + e.what());
    }
    sheetActivation_ = false;
    busy_ = false;
    RefreshAll();
    return true;
}

void MainWindow::RefreshAll() {
    for (const MenuEntry& m : MenuTree()) actions_.at(m.Name)->setEnabled(MenuEnabled(m, wb_));
    for (auto& [name, form] : forms_) form->Refresh();
    result_->Sync(wb_.Result);
    about_->Sync(wb_.About);
    plot_->PictureChanged();
}

void MainWindow::SheetActivated() {
    if (showingSheet_) return;  // the command that brings it runs the layout step itself
    if (busy_) {
        sheetActivation_ = true;
        return;
    }
    Act([this] { ActivateSheet(wb_); });
}

void MainWindow::BringToFront(const std::string& name) {
    QMdiSubWindow* sub = SubWindow(name);
    if (!sub) return;
    PlaceFirstTime(name, sub);
    showingSheet_ = name == "FormExpr";
    sub->show();
    sub->widget()->show();
    mdi_->setActiveSubWindow(sub);
    sub->raise();
    showingSheet_ = false;
    // The command that brings the plot up draws it: no second drawing for the size it got.
    if (name == "FormPlot") plot_->CancelRedraw();
}

// Where a window appears the first time it is shown: the sheet at the left, the plot at the
// right with the result window below it, the dialogs and the about window near the top left.
void MainWindow::PlaceFirstTime(const std::string& name, QMdiSubWindow* sub) {
    if (placed_[name]) return;
    placed_[name] = true;
    const QSize area = mdi_->viewport()->size();
    // The sheet as wide as its content needs, up to two thirds of the area.
    const int sheetWidth =
        std::min(forms_.at("FormExpr")->sizeHint().width() + 48, area.width() * 2 / 3);
    const int plotLeft = std::min(sheetWidth, area.width() - 420);
    const int plotWidth = area.width() - std::max(0, plotLeft);
    const int plotHeight = std::max(320, area.height() * 62 / 100);
    if (name == "FormExpr") {
        sub->setGeometry(0, 0, sheetWidth, area.height());
    } else if (name == "FormPlot") {
        sub->setGeometry(std::max(0, plotLeft), 0, plotWidth, plotHeight);
    } else if (name == "FormResult") {
        sub->setGeometry(std::max(0, plotLeft), plotHeight, plotWidth,
                         std::max(160, area.height() - plotHeight));
    } else if (name == "FormAbout") {
        // Wide enough for its lines of asterisks.
        const QFontMetrics fm(about_->font());
        sub->resize(fm.horizontalAdvance(QString(58, QLatin1Char('*'))) + 40,
                    fm.lineSpacing() * 16);
        sub->move(40, 30);
    } else {
        // The dialogs staggered, so that one opened over another leaves its title in sight.
        const int step = name == "FormTech" ? 0 : name == "FormMech" ? 1 : 2;
        sub->adjustSize();
        sub->move(40 + 40 * step, 30 + 30 * step);
    }
}

QAction* MainWindow::Action(const std::string& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

FormWindow* MainWindow::Form(const std::string& name) const {
    const auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second;
}

QMdiSubWindow* MainWindow::SubWindow(const std::string& name) const {
    const auto it = windows_.find(name);
    return it == windows_.end() ? nullptr : it->second;
}

QSize MainWindow::PlotSize() const {
    // A plot window never shown yet has the size it will first get.
    return plot_->isVisible() || placed_.count("FormPlot") ? plot_->size() : QSize(640, 480);
}

void MainWindow::CopyPlot() {
    Act([this] { CopyPicture(picture_, PlotSize(), plot_->devicePixelRatioF()); });
}

void MainWindow::PrintPlot() {
    Act([this] {
        QPrinter printer(QPrinter::HighResolution);
        const QSize size = PlotSize();
        printer.setPageOrientation(size.width() > size.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
        if (AskPrinter(printer)) PrintPicture(picture_, printer, size);
    });
}

void MainWindow::SavePicture() {
    Act([this] {
        const auto name = host_.ChooseSaveFile(kPictureFilter);
        if (!name) return;  // cancelled
        std::string path = *name;
        std::optional<PictureFormat> format = PictureFormatOf(path);
        if (!format) {
            path += ".png";
            format = PictureFormat::Png;
        }
        const double ratio = plot_->devicePixelRatioF();
        PngSettings png{DevicePixels(PlotSize(), ratio), static_cast<int>(std::lround(96 * ratio))};
        if (*format == PictureFormat::Png) {
            const auto chosen = AskPngSettings(png);
            if (!chosen) return;
            png = *chosen;
        }
        try {
            zemra::SavePicture(picture_, path, *format, PlotSize(), png);
        } catch (const RuntimeError& e) {
            host_.MessageBox("Save Picture Error: " + e.Description());
        }
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && data->urls().size() == 1 && data->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    // A data file dropped on the window is imported as if chosen in Import Data's dialog.
    host_.DroppedFile = event->mimeData()->urls().first().toLocalFile().toStdString();
    event->acceptProposedAction();
    ImportData();
    host_.DroppedFile.reset();
}

void MainWindow::ImportData() {
    Act([this] {
        const auto name = host_.ChooseOpenFile(kImportFileFilter);
        if (!name) return;
        try {
            const ImportedFile f = ReadAnyDataFile(*name);
            if (!f.Plain) {
                const auto choice =
                    AskImportChoice(f.Measured, CyclesFound(f.Measured), wb_.Import);
                if (!choice) return;
                wb_.Import = *choice;
            }
        } catch (const RuntimeError&) {
            // The import itself reads the file again and reports the failure.
        }
        // The command's own file choice is answered with the file just chosen.
        host_.DroppedFile = *name;
        mnuImport(wb_);
    });
}

}  // namespace zemra
