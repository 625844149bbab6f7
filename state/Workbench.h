// The workbench: the program's whole long-lived state as one record, created at start-up and
// passed by reference to every command. Each part is a plain struct owned by its subsystem.
#pragma once

#include "model/InputRecord.h"
#include "model/ParameterModel.h"
#include "platform/Canvas.h"
#include "platform/Host.h"
#include "platform/ResultWindow.h"
#include "state/CurveStore.h"
#include "state/FitState.h"
#include "state/PlotSettings.h"
#include "state/Results.h"

namespace zemra {

// Enabled state of the main window's menus that start disabled.
struct MenuState {
    bool Display = false;   // mnuDisplay
    bool Analysis = false;  // mnuData
};

// What Import Data takes from a measured file with several cycles, and whose current sign.
struct ImportChoice {
    static constexpr int kLastComplete = 0, kAll = -1;
    int Cycle = kLastComplete;  // 1-based cycle number, kLastComplete or kAll
    bool FileSign = false;      // keep the file's anodic-positive sign
};

struct Workbench {
    Workbench(Host& host, Canvas& plotCanvas) : Ui(host), PlotCanvas(plotCanvas) {}
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    Host& Ui;            // message boxes, wait cursor, file choice, windows
    Canvas& PlotCanvas;  // the plot window's drawing surface
    ParameterModel Model;
    InputRecord Input;
    Results Res;
    CurveStore Curves;
    PlotSettings Plot;
    FitState Fit;
    ResultWindow Result;
    ResultWindow About;  // the about window (FormAbout): a text window like the result window
    MenuState Menus;
    ImportChoice Import;
};

}  // namespace zemra
