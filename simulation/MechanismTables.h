// What distinguishes the seventeen mechanisms inside the digital simulation: the homogeneous
// terms of the box blocks (constant ones and those that follow the concentrations), the balance
// and kinetic rows of the surface relation, and the surface rates that make up each
// charge-transfer reaction's current. Species are the engine's 0-based slots A = 0 .. D = 3.
#pragma once

#include "numerics/LinearAlgebra.h"

namespace zemra {

inline constexpr int kSpeciesA = 0;
inline constexpr int kSpeciesB = 1;
inline constexpr int kSpeciesC = 2;
inline constexpr int kSpeciesD = 3;

// Rate constants of homogeneous reactions 1 and 2 multiplied by the time step (dimensionless
// for first-order steps; per normalised concentration for second-order ones). Forward is the
// caption's left-to-right direction.
struct StepRates {
    double kf1 = 0, kb1 = 0, kf2 = 0, kb2 = 0;
};

// Writes the mechanism's constant homogeneous entries into a box block that holds the
// diffusion diagonal d (d(X) = block(X, X) before the call).
void ConstantBlockEntries(int mechanism, const Vector6& d, const StepRates& k, Matrix6& block);

// Whether the mechanism has entries that follow the concentrations (second-order steps).
bool HasConcentrationEntries(int mechanism);

// Rewrites the entries that follow the box's concentrations c (the previous sub-step's values):
// each second-order rate is written as k x (previous concentration) x (new concentration).
void ConcentrationBlockEntries(int mechanism, const Vector6& d, const Vector6& c,
                               const StepRates& k, Matrix6& block);

// Writes the balance rows of the surface relation (the matrix starts as the identity): a balance
// row equates the sums of its species in box 1 and at the surface, each weighted by w(s), the
// species' diffusion coefficient relative to the largest, so that their surface fluxes cancel
// whatever the diffusion coefficients (with equal ones every weight is 1).
void BalanceEntries(int mechanism, const Vector6& w, Matrix6& surface);

// Rewrites the kinetic rows of the surface relation from the reduction and oxidation rate
// constants kRed(k), kOx(k) (cm/s, reactions k = 1..3) and the flux factors ff(s) (s/cm).
void KineticRows(int mechanism, const Vector6& kRed, const Vector6& kOx, const Vector6& ff,
                 Matrix6& surface);

// Net reduction rate(k) of each charge-transfer reaction k = 1..3 at the surface
// concentrations cSurf (normalised concentration x cm/s).
void SurfaceRates(int mechanism, const Vector6& kRed, const Vector6& kOx, const Vector6& cSurf,
                  Vector6& rate);

}  // namespace zemra
