// Parameter collection: copies the user's input (the input record) into the parameter model and
// derives the quantities the computations need.
#pragma once

#include <string>

#include "model/InputRecord.h"
#include "model/ParameterModel.h"
#include "platform/RuntimeError.h"

namespace zemra {

// A field the collection cannot use; the message is shown as it stands, e.g.
// "Input Error: E step (V) is not a number".
struct InputError : RuntimeError {
    explicit InputError(const std::string& message) : RuntimeError(message) {}
};

// Technique := the first selected entry of optTech (unchanged when none is).
void TechValue(ParameterModel& m, const InputRecord& in);
// Digital := CheckDigital; enables the mechanisms and electrodes the chosen road supports.
void ApplyDigitalAvailability(ParameterModel& m, InputRecord& in);
// Technique, Digital, Mechanism and the species and reaction counts of the mechanism.
void SelectMechanism(ParameterModel& m, InputRecord& in);
// Electrode area text (computed geometries), ElectrodeVolume and Area.
void ComputeAreaAndVolume(ParameterModel& m, InputRecord& in);
// SelectMechanism, then every sheet field into the model. Throws InputError, before any field
// is written, when E step or v is not a number or the temperature is not above absolute zero;
// and, with the model restored to what it was, naming the first impossible field: a value too
// large for a real, D <= 0 or a concentration that is negative or not a number for a species in
// use, v <= 0 for the sweep, an area, radius or length <= 0 where the geometry uses it, negative
// noise, C dl or (digital road) R.
void CollectParameters(ParameterModel& m, InputRecord& in);

}  // namespace zemra
