// A short scripted use of the desktop program, for pictures of it: menu items by name
// ("mnuSimulate"), OK buttons by name ("Command1"), and settings as a person makes them
// ("ComboScan=cycle", "D(2)=2e-5"): the control's window comes to the front, then the control is
// set and its handler runs.
#pragma once

#include <QStringList>
#include <string>

namespace zemra {

class MainWindow;

// Plays the steps in order; returns "" or the reason a step could not be played.
std::string PlayScript(MainWindow& window, const QStringList& steps);

}  // namespace zemra
