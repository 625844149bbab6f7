// Experiment files (JSON): the whole workbench a user sees, kept in one file and reopened.
#pragma once

#include <string>

#include "state/Workbench.h"

namespace zemra {

inline constexpr int kExperimentFormatVersion = 1;
inline constexpr const char* kExperimentFileFilter = "experiment (*.json)|*.json|all|*.*";

// The experiment as JSON text: the format version, every control of the input record by name
// and row (text, caption, check state, selected entry; the shown and enabled states follow from
// the handlers and are not kept), the plot settings, the curve store and the result window's
// lines. The parameter model is not kept: opening collects it again from the restored sheet
// (the sheet's activation does), as every command that computes would. Numbers are written so that they read back to the same double; text that is not
// UTF-8 is written with U+FFFD in place of its faulty bytes.
std::string ExperimentText(const Workbench& wb);

// Reads an experiment text into the workbench; "" on success, otherwise what is wrong (and
// nothing has changed: everything is read and checked into a temporary first).
std::string ReadExperimentText(Workbench& wb, const std::string& text);

// File > Save Experiment... / Open Experiment...: failures show "Experiment Error: " and what
// is wrong. Opening redraws the plot and shows the result window as they were.
void mnuSaveExperiment(Workbench& wb);
void mnuOpenExperiment(Workbench& wb);

}  // namespace zemra
