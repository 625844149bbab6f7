// The grid of a microdisc in two dimensions. The disc of radius a lies in an insulating plane;
// the oblate spheroidal coordinates r = a sqrt((1 + xi^2)(1 - eta^2)), z = a xi eta map the
// half-space above it onto xi >= 0, 0 <= eta <= 1, with the disc at xi = 0 (eta = sqrt(1 -
// r^2/a^2)), the insulating plane at eta = 0 and the axis at eta = 1. A second map,
// Gamma = (2/pi) arctan xi, brings the whole half-space into 0 <= Gamma < 1, so that the bulk
// boundary is infinity itself and the steady state c = C_bulk Gamma is linear in Gamma. In
// these coordinates the diffusion equation is conservative,
//   W dc/dt = d/dGamma(4 D a dc/dGamma) + d/deta(pi^2 D a (1 + xi^2)(1 - eta^2) dc/deta),
// with the volume weight W = pi^2 a^3 (xi^2 + eta^2)(1 + xi^2) (per unit Gamma, eta), and the
// electrode current is 4 a D times the integral over eta of dc/dGamma at Gamma = 0.
#pragma once

#include "simulation/RefinedMesh.h"

namespace zemra {

// Finite volumes on the map: levels at xi(j) = (h0/a)(q^j - 1)/(q - 1), q = e^beta (h0 cm apart
// above the disc centre at first, growing by q per level) until a xi reaches `extent` cm, then
// Gamma = 1 (the bulk at infinity); `rings` cells in eta, crowded towards
// the disc edge (edges at eta = 1 - cos(pi k / 2 rings)). Volumes, conductances and ring areas
// are exact integrals over each cell, per unit disc area pi a^2.
RefinedMesh MicrodiscMesh(double radius, double h0, double beta, double extent, int rings);

}  // namespace zemra
