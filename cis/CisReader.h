#pragma once
// Reads a CIS file's header and scan line records into CisScanData.

#include <cstdint>
#include <span>
#include <string>

#include "cis/CisScanData.h"
#include "services/UiServices.h"

namespace tarvelo {

enum class CisReadResult {
  kRead,       // header accepted and lines read (damaged lines are reported and kept)
  kRefused,    // zero or negative scan width or line count: reported, no lines read
  kTooShort,   // fewer bytes than the 52-byte header: nothing read
};

// Reads `bytes` (the whole file) into `data`, whose FileName and FileExtension name the file
// in messages. Reports status and progress (colour type 1) and shows the reader's messages.
// On kRefused, `last_error` holds the message shown.
CisReadResult ReadCisFile(std::span<const uint8_t> bytes, CisScanData& data, UiServices& ui,
                          std::string& last_error);

}  // namespace tarvelo
