// zemra: the desktop program.
//   zemra                                  the main window
//   zemra --play STEP... [--grab FILE]     a scripted use (menu items and OK buttons by name,
//                                          NAME=VALUE settings), then, with --grab, a picture of
//                                          the main window written to FILE and the program ends
#include <QApplication>
#include <QTimer>
#include <iostream>

#include "desktop/MainWindow.h"
#include "desktop/Script.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zemra"));
    zemra::MainWindow window;

    QStringList steps;
    QString grab;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--grab") && i + 1 < args.size())
            grab = args[++i];
        else if (args[i] != QLatin1String("--play"))
            steps << args[i];
    }
    window.show();
    if (steps.isEmpty() && grab.isEmpty()) return app.exec();

    // A scripted use has no one to close a message box: the messages go to standard error.
    window.Host().ShowMessage = [](const std::string& text) {
        std::cerr << "message: " << text << "\n";
    };
    int status = 0;
    QTimer::singleShot(100, &window, [&] {
        const std::string refused = zemra::PlayScript(window, steps);
        if (!refused.empty()) {
            std::cerr << "zemra: " << refused << "\n";
            status = 2;
        }
        if (grab.isEmpty()) return;
        // Time for the windows to settle (the plot redraws once its size has settled).
        QTimer::singleShot(800, &window, [&] {
            if (!window.grab().save(grab)) {
                std::cerr << "zemra: cannot write " << grab.toStdString() << "\n";
                status = 1;
            }
            QApplication::exit(status);
        });
    });
    const int code = app.exec();
    return status ? status : code;
}
