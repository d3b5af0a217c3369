#pragma once
// ALSA's library writes its own complaints to standard error (a missing card, a missing
// sequencer device) before it returns the failure the programs report in their own words.

namespace tarvelo {

// Sends the library's messages nowhere from now on; any thread, any number of times.
void SilenceAlsaLibraryMessages();

}  // namespace tarvelo
