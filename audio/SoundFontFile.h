#pragma once
// Which SoundFont the software synthesizer plays with, and whether a file is one.

#include <string>

#include "support/Result.h"

namespace tarvelo {

// The General MIDI SoundFont of Debian's timgm6mb-soundfont package, at its installed place.
inline constexpr const char* kInstalledSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// `named` (a command's option) when given, else `setting` ("Audio Settings/SoundFont") when
// not empty, else the installed one.
std::string ChooseSoundFont(const std::string& named, const std::string& setting);

// Ok when `path` is a readable SoundFont 2 file (a RIFF file of form "sfbk"). kNotFound when
// there is no such file, kIoError when it cannot be read, kInvalid when it is not a SoundFont;
// each message names the file (and, for the installed one, the package that brings it).
Result CheckSoundFont(const std::string& path);

}  // namespace tarvelo
