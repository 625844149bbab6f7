#include "simulation/MechanismTables.h"

#include <initializer_list>

#include "model/ParameterModel.h"

namespace zemra {

namespace {

constexpr int A = kSpeciesA, B = kSpeciesB, C = kSpeciesC, D = kSpeciesD;

// First-order step X = Y with forward (X -> Y) and backward (Y -> X) rate constants times the
// time step, written implicitly into the balances of X and Y.
void FirstOrderPair(Matrix6& block, const Vector6& d, int x, int y, double forward,
                    double backward) {
    block[x][x] = d[x] + forward;
    block[x][y] = -backward;
    block[y][x] = -forward;
    block[y][y] = d[y] + backward;
}

}  // namespace

void ConstantBlockEntries(int mechanism, const Vector6& d, const StepRates& k, Matrix6& block) {
    switch (mechanism) {
        case 5:  // C = A
            FirstOrderPair(block, d, C, A, k.kf1, k.kb1);
            break;
        case 6:  // C = A, B = D
            FirstOrderPair(block, d, C, A, k.kf1, k.kb1);
            FirstOrderPair(block, d, B, D, k.kf2, k.kb2);
            break;
        case 7:  // B = C
        case 11:
            FirstOrderPair(block, d, B, C, k.kf1, k.kb1);
            break;
        case 8:  // 2B = C: the backward step C -> 2B; the forward step follows cB
            block[B][C] = -2 * k.kb1;
            block[C][C] = d[C] + k.kb1;
            break;
        case 9:  // B = A
            FirstOrderPair(block, d, B, A, k.kf1, k.kb1);
            break;
        case 10:  // 2B = A: the backward step A -> 2B; the forward step follows cB
            block[A][A] = d[A] + k.kb1;
            block[B][A] = -2 * k.kb1;
            break;
        case 12:  // B = D
        case 15:
            FirstOrderPair(block, d, B, D, k.kf1, k.kb1);
            break;
        case 13:  // B = D, C = A
            FirstOrderPair(block, d, B, D, k.kf1, k.kb1);
            FirstOrderPair(block, d, C, A, k.kf2, k.kb2);
            break;
        case 14:  // C = D
            FirstOrderPair(block, d, C, D, k.kf1, k.kb1);
            break;
        case 17:  // C = A + pD: the dissociation of C; the association follows cA and cD
            block[A][C] = -k.kf1;
            block[C][C] = d[C] + k.kf1;
            block[D][C] = -k.kf1;
            break;
        default:  // 1, 2, 3, 4, 16: none
            break;
    }
}

bool HasConcentrationEntries(int mechanism) {
    return mechanism == 8 || mechanism == 10 || mechanism == 16 || mechanism == 17;
}

void ConcentrationBlockEntries(int mechanism, const Vector6& d, const Vector6& c,
                               const StepRates& k, Matrix6& block) {
    switch (mechanism) {
        case 8:  // 2B -> C at the rate kf1 cB^2
            block[B][B] = d[B] + 2 * k.kf1 * c[B];
            block[C][B] = -k.kf1 * c[B];
            break;
        case 10:  // 2B -> A at the rate kf1 cB^2
            block[B][B] = d[B] + 2 * k.kf1 * c[B];
            block[A][B] = -k.kf1 * c[B];
            break;
        case 16: {  // B + C = A + D: the Jacobian of kf1 cB cC - kb1 cA cD
            const double fC = k.kf1 * c[C], fB = k.kf1 * c[B];
            const double bD = k.kb1 * c[D], bA = k.kb1 * c[A];
            block[A][A] = d[A] + bD;
            block[B][A] = -bD;
            block[C][A] = -bD;
            block[D][A] = bD;
            block[A][B] = -fC;
            block[B][B] = d[B] + fC;
            block[C][B] = fC;
            block[D][B] = -fC;
            block[A][C] = -fB;
            block[B][C] = fB;
            block[C][C] = d[C] + fB;
            block[D][C] = -fB;
            block[A][D] = bA;
            block[B][D] = -bA;
            block[C][D] = -bA;
            block[D][D] = d[D] + bA;
            break;
        }
        case 17:  // A + pD -> C at the rate kb1 cA cD
            block[A][A] = d[A] + k.kb1 * c[D];
            block[D][D] = d[D] + k.kb1 * c[A];
            block[C][A] = -k.kb1 * c[D];
            break;
        default:
            break;
    }
}

namespace {

// Balance row `row` over `members`: the sum of w(s) x c(s) in box 1 equals the same sum at the
// surface. With w(s) the species' diffusion coefficient relative to the largest, the row states
// that the diffusive fluxes D(s) (c(s, box 1) - c(s, surface)) / distance of the members cancel.
void Balance(Matrix6& surface, const Vector6& w, int row, std::initializer_list<int> members) {
    for (int s : members) surface[row][s] = w[s];
}

}  // namespace

void BalanceEntries(int mechanism, const Vector6& w, Matrix6& surface) {
    const MechanismInfo& info = MechanismOf(mechanism);
    switch (info.Chain) {
        case ChargeChain::Consecutive:
            if (info.NCharge == 3)  // A + B + C + D; rows C and D carry reactions 2 and 3
                Balance(surface, w, B, {A, B, C, D});
            else  // A + B + C
                Balance(surface, w, B, {A, B, C});
            break;
        case ChargeChain::TwoCouples:  // A + B and C + D
            Balance(surface, w, B, {A, B});
            Balance(surface, w, D, {C, D});
            break;
        case ChargeChain::Single:  // A + B
            Balance(surface, w, B, {A, B});
            break;
    }
}

void KineticRows(int mechanism, const Vector6& kRed, const Vector6& kOx, const Vector6& ff,
                 Matrix6& surface) {
    // Row X: c(X, box 1) = c(X, surface) + ff(X) x (rate at which X is consumed at the surface).
    surface[A][A] = 1 + kRed[1] * ff[A];  // A + ne = B
    surface[A][B] = -kOx[1] * ff[A];
    const MechanismInfo& info = MechanismOf(mechanism);
    switch (info.Chain) {
        case ChargeChain::Consecutive:
            if (info.NCharge == 3) {  // C is produced by B + ne = C and consumed by C + ne = D
                surface[C][B] = -kRed[2] * ff[C];
                surface[C][C] = 1 + (kOx[2] + kRed[3]) * ff[C];
                surface[C][D] = -kOx[3] * ff[C];
                surface[D][C] = -kRed[3] * ff[D];
                surface[D][D] = 1 + kOx[3] * ff[D];
            } else {  // B + ne = C produces C
                surface[C][B] = -kRed[2] * ff[C];
                surface[C][C] = 1 + kOx[2] * ff[C];
            }
            break;
        case ChargeChain::TwoCouples:  // C + ne = D consumes C
            surface[C][C] = 1 + kRed[2] * ff[C];
            surface[C][D] = -kOx[2] * ff[C];
            break;
        case ChargeChain::Single:
            break;
    }
}

void SurfaceRates(int mechanism, const Vector6& kRed, const Vector6& kOx, const Vector6& cSurf,
                  Vector6& rate) {
    rate[1] = kRed[1] * cSurf[A] - kOx[1] * cSurf[B];
    const MechanismInfo& info = MechanismOf(mechanism);
    switch (info.Chain) {
        case ChargeChain::Consecutive:
            rate[2] = kRed[2] * cSurf[B] - kOx[2] * cSurf[C];
            if (info.NCharge == 3) rate[3] = kRed[3] * cSurf[C] - kOx[3] * cSurf[D];
            break;
        case ChargeChain::TwoCouples:
            rate[2] = kRed[2] * cSurf[C] - kOx[2] * cSurf[D];
            break;
        case ChargeChain::Single:
            break;
    }
}

}  // namespace zemra
