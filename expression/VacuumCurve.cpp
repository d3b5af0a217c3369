#include "expression/VacuumCurve.h"

#include <algorithm>
#include <array>

namespace tarvelo {

namespace {

// The least-squares fit through the published bench table (vacuum 4, 5, ... 40 in against
// velocity 33 ... 88.2), solved for the vacuum at each whole velocity 34 ... 89.
constexpr std::array<double, 56> kThresholds = {
    4.046,  4.261,  4.476,  4.693,  4.910,  5.127,  5.345,  5.564,   // 34-41
    5.783,  6.004,  6.227,  6.452,  6.681,  6.913,  7.150,  7.393,   // 42-49
    7.642,  7.900,  8.166,  8.443,  8.732,  9.033,  9.349,  9.682,   // 50-57
    10.031, 10.401, 10.791, 11.204, 11.641, 12.105, 12.596, 13.118,  // 58-65
    13.672, 14.259, 14.883, 15.544, 16.245, 16.988, 17.775, 18.608,  // 66-73
    19.489, 20.419, 21.402, 22.439, 23.532, 24.683, 25.894, 27.167,  // 74-81
    28.504, 29.907, 31.379, 32.919, 34.532, 36.217, 37.978, 39.816,  // 82-89
};

}  // namespace

int VelocityOfVacuum(double vacuum) {
  return 33 + static_cast<int>(std::upper_bound(kThresholds.begin(), kThresholds.end(), vacuum) - kThresholds.begin());
}

}  // namespace tarvelo
