// The grids of the refined digital simulation. A mesh is a stack of levels parallel to the
// electrode: level 0 lies on the electrode, levels 1..Levels inside the solution and level
// Levels + 1 is held at the bulk concentrations. A level has Width nodes (one for the
// one-dimensional geometries, the rings of the disc for the microdisc). Every node carries a
// finite volume; neighbouring nodes exchange matter through conductances (face area over
// distance), so that the diffusive flow from node p to node q is D x conductance x (c(p) - c(q)).
// All volumes, conductances and areas are per unit electrode area.
#pragma once

#include <cstddef>
#include <vector>

namespace zemra {

struct RefinedMesh {
    int Levels = 0;  // interior levels 1..Levels
    int Width = 1;   // nodes per level
    // Per node (level j = 0..Levels, position i = 0..Width-1) at index j * Width + i:
    std::vector<double> Volume;    // cm
    std::vector<double> UpCond;    // conductance to node (j + 1, i), 1/cm
    std::vector<double> SideCond;  // conductance to node (j, i + 1), 1/cm (0 for the last i)
    // Per surface node: its share of the electrode area (the shares sum to 1).
    std::vector<double> ElectrodeShare;
    double FirstSpacing = 0;  // distance from the electrode to level 1 at the first node, cm

    int Node(int j, int i) const { return j * Width + i; }
    double Lower(int j, int i) const { return UpCond[static_cast<std::size_t>(Node(j - 1, i))]; }
};

// Upper bound on the levels of any mesh, so that a grid is always bounded in size.
inline constexpr int kMaxMeshLevels = 2000;

// One-dimensional expanding grid: nodes at x(j) = h0 (q^j - 1) / (q - 1), q = e^beta, cell faces
// at x(j + 1/2) of the same map, as many levels as it takes for x(Levels + 1) to reach `extent`
// (cm). `shape` 1 planar, 2 cylindrical, 3 spherical (diffusion outwards from a convex electrode of
// `radius` cm; not used when planar). Raises "Overflow" beyond kMaxMeshLevels levels.
RefinedMesh ExpandingMesh(int shape, double radius, double h0, double beta, double extent);

}  // namespace zemra
