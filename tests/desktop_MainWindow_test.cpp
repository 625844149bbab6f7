// The main window headless: its menu bar follows the menu tree, the sheet mirrors the input record
// while the user types, the mechanism dialog reshapes the sheet, and Simulate paints the curve.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "commands/MenuTree.h"
#include "curves/DataFile.h"
#include "desktop/FormWindow.h"
#include "desktop/MainWindow.h"
#include "desktop/PlotWindow.h"
#include "platform/PlotView.h"

using namespace zemra;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> w;
    std::vector<std::string> messages;

    QAction* Item(const char* name) { return w->Action(name); }
    template <class T>
    T* Widget(const char* form, const char* name, int row = kNoRow) {
        return qobject_cast<T*>(w->Form(form)->WidgetOf(name, row));
    }

  private slots:
    void init() {
        w = std::make_unique<MainWindow>();
        messages.clear();
        w->Host().ShowMessage = [this](const std::string& m) { messages.push_back(m); };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() { w.reset(); }

    // The menu bar shows the tree in its order, with the captions and start-up states.
    void menuBarFollowsTree() {
        std::function<void(const std::vector<MenuEntry>&, QMenu*)> check =
            [&](const std::vector<MenuEntry>& entries, QMenu* menu) {
                const QList<QAction*> actions = menu->actions();
                QCOMPARE(actions.size(), static_cast<qsizetype>(entries.size()));
                for (size_t i = 0; i < entries.size(); ++i) {
                    const MenuEntry& e = entries[i];
                    QAction* a = actions[static_cast<qsizetype>(i)];
                    QCOMPARE(a->objectName().toStdString(), e.Name);
                    QCOMPARE(a->isSeparator(), IsSeparator(e));
                    if (IsSeparator(e)) continue;
                    QCOMPARE(a->text().toStdString(), e.Caption);
                    QCOMPARE(a->isEnabled(), e.Enabled);
                    if (!e.Items.empty()) check(e.Items, a->menu());
                }
            };
        const QList<QAction*> bar = w->menuBar()->actions();
        QCOMPARE(bar.size(), static_cast<qsizetype>(MenuTree().size()));
        for (size_t i = 0; i < MenuTree().size(); ++i) {
            QAction* a = bar[static_cast<qsizetype>(i)];
            QCOMPARE(a->text().toStdString(), MenuTree()[i].Caption);
            QCOMPARE(a->isEnabled(), MenuTree()[i].Enabled);
            check(MenuTree()[i].Items, a->menu());
        }
        QCOMPARE(w->windowTitle(), QStringLiteral("Zemra for Windows"));
    }

    // Typing the concentration of A sets the record's text keystroke by keystroke, and the
    // initial concentration follows: pre-equilibrated at E start = 0.3 V against E0 = 0.1 V,
    // Cinit(1) = C / (1 + theta) with theta = exp(F/RT (E0 - Es)) at 25 C.
    void typingIntoSheetUpdatesRecordAndCaption() {
        Item("mnuExperimental")->trigger();
        auto* c1 = Widget<QLineEdit>("FormExpr", "C", 1);
        QVERIFY(c1 && c1->isVisible());
        c1->selectAll();
        QTest::keyClicks(c1, "2e-3");
        QCOMPARE(w->Bench().Input.TextOf("C", 1), std::string("2e-3"));
        const double theta = std::exp(96484.6 / (8.31441 * 298.14) * (0.1 - 0.3));
        QVERIFY(std::fabs(2e-3 / (1 + theta) - 1.999e-3) < 0.5e-6);  // four digits: 1.999e-3
        QCOMPARE(w->Bench().Input.CaptionOf("Cinit", 1), std::string("1.999e-3"));
        QCOMPARE(Widget<QLabel>("FormExpr", "Cinit", 1)->text(), QStringLiteral("1.999e-3"));
    }

    // A mechanism chosen in its dialog reshapes the sheet, which comes to the front when the dialog
    // closes.
    void mechanismDialogReshapesSheet_data() {
        QTest::addColumn<int>("mechanism");
        QTest::addColumn<int>("species");
        QTest::addColumn<QStringList>("heter");
        QTest::addColumn<QStringList>("homo");
        QTest::newRow("EC") << 7 << 3 << QStringList{"A+ne=B"} << QStringList{"B=C"};
        QTest::newRow("square") << 13 << 4 << QStringList{"A+ne=B", "C+ne=D"}
                                << QStringList{"B=D", "C=A"};
    }
    void mechanismDialogReshapesSheet() {
        QFETCH(int, mechanism);
        QFETCH(int, species);
        QFETCH(QStringList, heter);
        QFETCH(QStringList, homo);
        Item("mnuExperimental")->trigger();
        Item("mnuMechamism")->trigger();
        QTest::mouseClick(w->Form("FormMech")->EntryOf("mech", mechanism), Qt::LeftButton);
        QTest::mouseClick(w->Form("FormMech")->OkButton(), Qt::LeftButton);
        // The dialog hides and the sheet behind it comes to the front again.
        QVERIFY(!w->SubWindow("FormMech")->isVisible());
        QCOMPARE(w->SubWindow("FormExpr")->mdiArea()->activeSubWindow(), w->SubWindow("FormExpr"));
        for (int r = 1; r <= 4; ++r)
            QCOMPARE(Widget<QLabel>("FormExpr", "specie", r)->isVisible(), r <= species);
        for (int r = 1; r <= 3; ++r) {
            QCOMPARE(Widget<QLabel>("FormExpr", "heter", r)->isVisible(), r <= heter.size());
            if (r <= heter.size())
                QCOMPARE(Widget<QLabel>("FormExpr", "heter", r)->text(), heter[r - 1]);
            QCOMPARE(Widget<QLabel>("FormExpr", "homo", r)->isVisible(), r <= homo.size());
            if (r <= homo.size())
                QCOMPARE(Widget<QLabel>("FormExpr", "homo", r)->text(), homo[r - 1]);
        }
    }

    // Simulate enables Display and Analysis and paints the curve where its peak is: the pixel
    // of the largest current, mapped through the drawing's coordinate system, is dark.
    void simulateEnablesMenusAndPaintsPeak() {
        QVERIFY(!Item("mnuDisplay")->isEnabled() && !Item("mnuData")->isEnabled());
        Item("mnuSimulate")->trigger();
        QVERIFY(Item("mnuDisplay")->isEnabled() && Item("mnuData")->isEnabled());
        QVERIFY(messages.empty());

        const CurveStore& s = w->Bench().Curves;
        int peak = s.FirstPoint;
        for (int i = s.FirstPoint; i <= s.LastPoint; ++i)
            if (s.Y(i, 1) > s.Y(peak, 1)) peak = i;
        const auto system = LastSystem(w->Picture());
        QVERIFY(system);
        const QImage image = w->Plot()->grab().toImage();
        const double px = (s.X(peak) - system->X1) / (system->X2 - system->X1) * image.width();
        const double py = (s.Y(peak, 1) - system->Y1) / (system->Y2 - system->Y1) * image.height();
        int darkest = 255;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                darkest = std::min(darkest, qGray(image.pixel(static_cast<int>(px) + dx,
                                                              static_cast<int>(py) + dy)));
        QVERIFY2(darkest < 128, "no curve pixel at the peak");
    }

    // A data file dropped on the window is imported without a dialog.
    void droppedFileIsImported() {
        w->Host().ChooseFile = [](const std::string&, bool) -> std::optional<std::string> {
            throw std::logic_error("no dialog for a dropped file");
        };
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(ZEMRA_TEST_DATA "/wave201.csv")});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w.get(), &drop);
        QVERIFY(messages.empty());
        QCOMPARE(w->Bench().Curves.NoOfData, 201);
        QVERIFY(Item("mnuDisplay")->isEnabled());
    }

    // A potentiostat's export asks which cycle to take; the program's own file does not ask.
    void importOfAnInstrumentFileAsksForTheCycle() {
        int asked = 0;
        w->AskImportChoice = [&](const MeasuredCurve& c, int cycles, const ImportChoice&) {
            ++asked;
            if (c.Format != "Gamry Framework DTA" || cycles != 3)
                return std::optional<ImportChoice>();
            return std::optional<ImportChoice>(ImportChoice{1, false});
        };
        for (const char* file : {"/instruments/gamry_cv.DTA", "/wave201.csv"}) {
            w->Host().ChooseFile = [&](const std::string& filter, bool) {
                return filter == kImportFileFilter
                           ? std::optional<std::string>(ZEMRA_TEST_DATA + std::string(file))
                           : std::nullopt;
            };
            Item("mnuImport")->trigger();
            QCOMPARE(asked, 1);
            QVERIFY(messages.empty());
            QCOMPARE(w->Bench().Curves.NoOfData, asked && file[1] == 'i' ? 22 : 201);
        }
        const auto& lines = w->Bench().Result.Lines;
        QVERIFY(std::count(lines.begin(), lines.end(),
                           "Cycle taken = " + std::string(14, ' ') + "1 of 3 (by CURVE)") == 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "desktop_MainWindow_test.moc"
