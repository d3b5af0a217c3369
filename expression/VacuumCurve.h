#pragma once
// The one vacuum-to-velocity curve of the vacuum-driven systems (Duo-Art, Ampico, Themodist
// accents measured as vacuum, Recordo, Artecho): stack vacuum in inches of water to a MIDI
// velocity of 33 to 89. Velocity v is reached at the vacuum of its threshold; below the first
// the velocity is 33 (a vacuum of 5 in gives 38, 10 in gives 57, 20 in gives 74, 40 in 89).

namespace tarvelo {

int VelocityOfVacuum(double vacuum);

}  // namespace tarvelo
