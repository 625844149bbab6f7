// Theoretical peak and limiting current: the textbook peak (or half-wave) potential and peak
// (or limiting) current that the present experiment should give for each charge-transfer
// reaction, for reversible and for irreversible electrode kinetics.
#pragma once

#include <optional>

#include "model/ParameterModel.h"
#include "platform/ResultWindow.h"

namespace zemra {

// The four values of one reaction; a value no case has set yet is empty (prints blank).
struct TheoreticalValues {
    std::optional<double> Erev, Irev;  // V, A
    std::optional<double> Eirr, Iirr;
};

// Sets the values that the mechanism, technique and electrode of the model define for reaction
// k (species 2k - 1 oxidised, 2k reduced); the others keep what they hold. In refined mode the
// stationary planar DC wave's irreversible half-wave potential and the rotating disk's Levich
// wave under a sweep are those the refined simulation follows. Raises RuntimeError
// for a zero radius or time, a logarithm of a non-positive value and the like.
void TheoreticalValuesOf(const ParameterModel& m, int k, TheoreticalValues& v);

// The reversible values of a pulse technique in refined mode, from the refined pulse currents of
// the simulation (which this layer does not reach): called for reaction k after the textbook
// values are set.
using PulseTheory = void (*)(const ParameterModel& m, int k, TheoreticalValues& v);

// Prints "Theoretical limiting current:" and a "Rev Peak" and an "Irrev Peak" line per reaction
// of the model. A run-time error in a formula leaves through RuntimeError, keeping the lines
// printed so far. In refined mode the reversible pulse values come from `pulses` (when given).
void PrintTheoreticalPeak(const ParameterModel& m, ResultWindow& result,
                          PulseTheory pulses = nullptr);

}  // namespace zemra
