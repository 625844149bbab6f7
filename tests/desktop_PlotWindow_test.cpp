// The plot window headless at a pixel ratio of 2: zoom and pan leave the drawing and the plot
// globals alone, the cursor read-out maps a pixel to its E, Ctrl+C and Save Picture put the picture
// on the clipboard and into files, and resizing an empty plot stays silent.
#include <QAction>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

#include "desktop/MainWindow.h"
#include "desktop/PlotWindow.h"
#include "platform/PlotView.h"

using namespace zemra;

class PlotWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> w;
    std::vector<std::string> messages;

    // A pointer move (the offscreen platform does not move a cursor).
    static void Move(QWidget* widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton,
                     Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)),
                         Qt::NoButton, buttons, mods);
        QApplication::sendEvent(widget, &move);
    }

    void Simulate() {
        w->Action("mnuSimulate")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(w->Plot()));
        w->Plot()->setFocus();
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

    void zoomAndPanLeaveDrawingAndGlobals() {
        Simulate();
        PlotWindow* plot = w->Plot();
        const std::vector<CanvasRecord> before = w->Picture().Ops;
        const PlotSettings globals = w->Bench().Plot;
        const QPoint a(plot->width() / 4, plot->height() / 4), b = a * 3;
        QTest::mousePress(plot, Qt::LeftButton, {}, a);
        Move(plot, b, Qt::LeftButton);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, b);
        QVERIFY(plot->View().Zoomed());
        QWheelEvent wheel(QPointF(a), plot->mapToGlobal(QPointF(a)), {}, {0, 240}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
        QTest::mousePress(plot, Qt::LeftButton, Qt::ShiftModifier, b);
        Move(plot, a, Qt::LeftButton, Qt::ShiftModifier);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::ShiftModifier, a);
        plot->grab();  // painted while zoomed, with the axis overlay
        const std::vector<CanvasRecord>& after = w->Picture().Ops;
        QCOMPARE(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            QVERIFY(after[i].Op == before[i].Op && after[i].Text == before[i].Text);
            QVERIFY(after[i].Args == before[i].Args);
        }
        const PlotSettings& now = w->Bench().Plot;
        QVERIFY(now.Xmin == globals.Xmin && now.Xmax == globals.Xmax);
        QVERIFY(now.Ymin == globals.Ymin && now.Ymax == globals.Ymax);
        QTest::keyClick(plot, Qt::Key_Escape);
        QVERIFY(!plot->View().Zoomed());
    }

    // The read-out of a pixel: E = X1 + x / width (X2 - X1) and I = Y1 + y / height (Y2 - Y1)
    // in the drawing's last system, I to four significant digits.
    void cursorReadoutMapsPixelToPotentialAndCurrent() {
        Simulate();
        PlotWindow* plot = w->Plot();
        QSignalSpy spy(plot, &PlotWindow::cursorMoved);
        const QPoint at(plot->width() / 3, plot->height() / 5);
        Move(plot, at);
        QVERIFY(!spy.isEmpty());
        const auto s = LastSystem(w->Picture());
        const double e = s->X1 + at.x() * (s->X2 - s->X1) / plot->width();
        const double i = s->Y1 + at.y() * (s->Y2 - s->Y1) / plot->height();
        char expected[64];
        std::snprintf(expected, sizeof expected, "E = %s%.4f V   I = ", e < 0 ? "\u2212" : "",
                      std::fabs(e));
        QString text = spy.last().first().toString();
        QVERIFY2(text.startsWith(QString::fromUtf8(expected)), qPrintable(text));
        text = text.mid(text.indexOf("I = ") + 4).replace(QChar(0x2212), '-');
        const QStringList parts = text.split(' ');  // "12.34" "µA"
        const double scale = parts[1] == "\u00b5A" ? 1e-6 : parts[1] == "nA" ? 1e-9 : 1e-3;
        QVERIFY2(std::fabs(parts[0].toDouble() * scale - i) <= 5e-4 * std::fabs(i),
                 qPrintable(text));
    }

    void ctrlCCopiesPictureAtPixelRatio() {
        Simulate();
        PlotWindow* plot = w->Plot();
        QTest::keyClick(plot, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasImage());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), plot->size() * 2);
        QVERIFY(data->data("image/svg+xml").startsWith("<?xml"));
    }

    void savePictureWritesFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("png") << "plot.png" << QByteArray("\x89PNG");
        QTest::newRow("svg") << "plot.svg" << QByteArray("<?xml");
        QTest::newRow("pdf") << "plot.pdf" << QByteArray("%PDF-");
        QTest::newRow("cancelled") << "" << QByteArray();
    }
    void savePictureWritesFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        Simulate();
        QTemporaryDir dir;
        const std::string path = dir.filePath(name).toStdString();
        w->Host().ChooseFile = [&](const std::string&, bool save) -> std::optional<std::string> {
            if (!save || name.isEmpty()) return std::nullopt;
            return path;
        };
        w->AskPngSettings = [](const PngSettings&) { return PngSettings{QSize(800, 600), 150}; };
        w->Action("mnuSavePicture")->trigger();
        QVERIFY(messages.empty());
        QFile file(QString::fromStdString(path));
        if (name.isEmpty()) {
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
            return;
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        if (name.endsWith("png")) {
            const QImage image = QImage::fromData(bytes);
            QCOMPARE(image.size(), QSize(800, 600));
            QCOMPARE(image.dotsPerMeterX(), qRound(150 / 0.0254));
            QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));  // black on white
        } else if (name.endsWith("svg")) {
            QXmlStreamReader xml(bytes);
            while (!xml.atEnd()) xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        } else {
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        }
    }

    // Dragging the edge of an empty plot window redraws once the size settles, without the
    // "no data" message of the commands.
    void resizeRedrawsOnceAndSilently() {
        w->Host().ShowWindow("FormPlot");
        QMdiSubWindow* sub = w->SubWindow("FormPlot");
        const unsigned long clears = w->Picture().Clears;
        for (int k = 1; k <= 5; ++k) sub->resize(sub->size() + QSize(7, 5));
        QTRY_COMPARE(w->Picture().Clears, clears + 1);
        QVERIFY(messages.empty());
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PlotWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "desktop_PlotWindow_test.moc"
