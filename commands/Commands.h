// The command set of the main window and the dialog buttons: one function per menu item or
// button, each a short sequence of engine calls over the workbench. The desktop windows and
// zemra-cli call these functions and nothing else. The commands are where the program meets the
// user: they show windows, set the wait cursor and show the engine's failures in message boxes.
#pragma once

#include <string>
#include <vector>

#include "state/Workbench.h"

namespace zemra {

// Start-up of the main window: the sheet's load step, Electrode := 1, the Y quantity's first
// entry, electron and stoichiometric numbers := 1, and the sheet's change handlers attached.
void StartUp(Workbench& wb);

// Runs a step that collects the sheet; an input error is shown as a message box and stops the
// command (returns false).
bool CollectOrReport(Workbench& wb);

// Shows each message in a message box, in order.
void ShowMessages(Workbench& wb, const std::vector<std::string>& messages);

// Brings the plot window to the front and draws the curve store; an empty range shows
// "Error: No data!" unless the command has already reported the failure that emptied it
// (reportEmpty false): one failure, one message box.
void ShowPlot(Workbench& wb, bool reportEmpty = true);

// Re-derives the shown quantity from the last simulation (current, resistance, conductance or
// surface concentrations) into the curve store, then draws it; with `reported` (the command
// already showed its failure) neither step adds a message box of its own.
void RefreshPlot(Workbench& wb, bool reported = false);

// Run menu.
// Wait cursor; collect the sheet; simulate; re-derive and draw the plot; the Display and
// Analysis menus enabled; normal cursor.
void mnuSimulate(Workbench& wb);

// Analysis menu.
void mnuFindPeak(Workbench& wb);       // peaks of every curve over the plotted range
void mnuFindHalfwaveE(Workbench& wb);  // half-wave potential and limiting current per curve
void mnuCompId(Workbench& wb);         // theoretical peak and limiting currents

// Help menu: shows the about window, cleared and filled with the product's lines.
void mnuAbout(Workbench& wb);

// Dialog buttons.
void SheetOK(Workbench& wb);  // the sheet's OK: SelectMechanism, then CollectParameters
void TechOK(Workbench& wb);   // the technique dialog's OK: TechValue, ApplyDigitalAvailability
void MechOK(Workbench& wb);   // the mechanism dialog's OK: the technique OK, then SelectMechanism
// The plot-option dialog's OK: read the options, then re-derive and redraw as Simulate ends.
void OptionOK(Workbench& wb);

}  // namespace zemra
