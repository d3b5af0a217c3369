#include "expression/TrackFunctions.h"

#include <initializer_list>

namespace tarvelo {

namespace {

using enum TrackFunction;
using enum Side;

struct Assignment {
  int Track;
  TrackFunction Function;
  Side Half;
  uint8_t Weight = 0;
};

class RoleTable {
 public:
  RoleTable(int first_note, int last_note, int first_treble) {
    for (int track = first_note; track <= last_note; ++track)
      roles_[static_cast<size_t>(track)] = {kNote, track < first_treble ? kBass : kTreble, 0};
  }
  RoleTable& Set(std::initializer_list<Assignment> assignments) {
    for (const Assignment& a : assignments) roles_[static_cast<size_t>(a.Track)] = {a.Function, a.Half, a.Weight};
    return *this;
  }
  const TrackRoles& Roles() const { return roles_; }

 private:
  TrackRoles roles_{};
};

// Ampico A and B share the intensities and cancels of both sides and the pedals.
void SetAmpicoIntensities(RoleTable& table) {
  // Intensities 2, 4 and 6 are the bits 1, 2 and 4 of the latched set.
  table.Set({{17, kIntensity, kBass, 1},
             {19, kIntensity, kBass, 2},
             {21, kIntensity, kBass, 4},
             {22, kCancel, kBass},
             {112, kIntensity, kTreble, 1},
             {110, kIntensity, kTreble, 2},
             {108, kIntensity, kTreble, 4},
             {107, kCancel, kTreble},
             {18, kSustain, kBoth},
             {111, kSoft, kBoth}});
}

}  // namespace

bool IsPedal(TrackFunction function) {
  return function == kSustain || function == kSoft || function == kSustainOn || function == kSustainOff ||
         function == kSoftOn || function == kSoftOff;
}

TrackRoles RolesOfSystem(ExpressionSystem system, int first_treble) {
  switch (system) {
    case ExpressionSystem::kNone:
      return TrackRoles{};
    case ExpressionSystem::kWelteRed:
      // Holes 1-100 at the T-100 pitch: notes on holes 11-90.
      return RoleTable(11, 90, first_treble)
          .Set({{1, kMezzoforteOff, kBass},
                {2, kMezzoforteOn, kBass},
                {3, kCrescendoOff, kBass},
                {4, kCrescendoOn, kBass},
                {5, kForzandoPiano, kBass},
                {6, kForzandoForte, kBass},
                {7, kSoftOff, kBoth},
                {8, kSoftOn, kBoth},
                {93, kSustainOn, kBoth},
                {94, kSustainOff, kBoth},
                {95, kForzandoForte, kTreble},
                {96, kForzandoPiano, kTreble},
                {97, kCrescendoOn, kTreble},
                {98, kCrescendoOff, kTreble},
                {99, kMezzoforteOn, kTreble},
                {100, kMezzoforteOff, kTreble}})
          .Roles();
    case ExpressionSystem::kWelteLicensee:
      return RoleTable(24, 103, first_treble)
          .Set({{16, kMezzoforteOff, kBass},
                {17, kMezzoforteOn, kBass},
                {18, kCrescendoOff, kBass},
                {19, kCrescendoOn, kBass},
                {20, kForzandoPiano, kBass},
                {21, kForzandoForte, kBass},
                {22, kSoftOff, kBoth},
                {23, kSoftOn, kBoth},
                {106, kSustainOn, kBoth},
                {107, kSustainOff, kBoth},
                {108, kForzandoForte, kTreble},
                {109, kForzandoPiano, kTreble},
                {110, kCrescendoOn, kTreble},
                {111, kCrescendoOff, kTreble},
                {112, kMezzoforteOn, kTreble},
                {113, kMezzoforteOff, kTreble}})
          .Roles();
    case ExpressionSystem::kWelteGreen:
      return RoleTable(21, 108, first_treble)
          .Set({{16, kForzandoPiano, kBass},
                {17, kMezzoforte, kBass},
                {19, kCrescendo, kBass},
                {20, kForzandoForte, kBass},
                {109, kForzandoForte, kTreble},
                {110, kCrescendo, kTreble},
                {112, kMezzoforte, kTreble},
                {113, kForzandoPiano, kTreble},
                {18, kSustain, kBoth},
                {111, kSoft, kBoth}})
          .Roles();
    case ExpressionSystem::kAmpicoA: {
      RoleTable table(23, 105, first_treble);
      SetAmpicoIntensities(table);
      table.Set({{16, kSlowCrescendo, kBass},
                 {20, kFastCrescendo, kBass},
                 {113, kSlowCrescendo, kTreble},
                 {109, kFastCrescendo, kTreble}});
      return table.Roles();
    }
    case ExpressionSystem::kAmpicoB: {
      // The crescendo slots of the treble side drive both halves; 16 and 20 repeat them for
      // Ampico A pianos and are not read.
      RoleTable table(23, 105, first_treble);
      SetAmpicoIntensities(table);
      table.Set({{15, kAmplifier, kBoth},
                 {113, kSlowCrescendo, kBoth},
                 {109, kFastCrescendo, kBoth},
                 {114, kSubIntensity, kBoth}});
      return table.Roles();
    }
    case ExpressionSystem::kDuoArt:
      return RoleTable(25, 104, first_treble)
          .Set({{21, kPower, kBass, 1},
                {22, kPower, kBass, 2},
                {23, kPower, kBass, 4},
                {24, kPower, kBass, 8},
                {105, kPower, kTreble, 8},
                {106, kPower, kTreble, 4},
                {107, kPower, kTreble, 2},
                {108, kPower, kTreble, 1},
                {19, kAccent, kBass},
                {20, kAccent, kBass},
                {109, kAccent, kTreble},
                {110, kAccent, kTreble},
                {18, kSustain, kBoth},
                {113, kSoft, kBoth}})
          .Roles();
    case ExpressionSystem::kThemodist:
      return RoleTable(21, 108, first_treble)
          .Set({{19, kAccent, kBass},
                {20, kAccent, kBass},
                {109, kAccent, kTreble},
                {110, kAccent, kTreble},
                {18, kSustain, kBoth},
                {113, kSoft, kBoth}})
          .Roles();
    case ExpressionSystem::kRecordoA:
    case ExpressionSystem::kRecordoB:
      return RoleTable(21, 108, first_treble)
          .Set({{109, kLevel, kBoth, 8},
                {110, kLevel, kBoth, 4},
                {111, kLevel, kBoth, 2},
                {112, kLevel, kBoth, 1},
                {16, kHammerRail, kBass},
                {113, kHammerRail, kTreble},
                {18, kSustain, kBoth}})
          .Roles();
    case ExpressionSystem::kArtecho:
      return RoleTable(23, 105, first_treble)
          // Intensities 1, 2 and 3 are the bits 1, 2 and 4 of the latched set.
          .Set({{15, kIntensity, kBass, 1},
                {16, kIntensity, kBass, 2},
                {17, kIntensity, kBass, 4},
                {19, kCancel, kBass},
                {20, kArtechoDecrescendo, kBass},
                {21, kArtechoCrescendo, kBass},
                {22, kHammerRail, kBass},
                {114, kIntensity, kTreble, 1},
                {113, kIntensity, kTreble, 2},
                {112, kIntensity, kTreble, 4},
                {111, kCancel, kTreble},
                {110, kArtechoDecrescendo, kTreble},
                {109, kArtechoCrescendo, kTreble},
                {107, kHammerRail, kTreble},
                {108, kPianissimo, kBoth},
                {106, kGeneralCancel, kBoth},
                {18, kSustain, kBoth}})
          .Roles();
  }
  return TrackRoles{};
}

}  // namespace tarvelo
