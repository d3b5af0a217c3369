#pragma once
// What the command line tells a user to do about a roll whose notes the settings put on wrong
// tracks: the options of `convert`, for every reporter of the command line.

#include <string_view>

#include "document/FrontEndHooks.h"

namespace tarvelo::cli {

class CommandLineAdvice : public FrontEndHooks {
 public:
  std::string_view AlignAdvice() const override {
    return "Convert with --align (or with the preset's Auto-Tweak on) to use settings that fit.";
  }
  std::string_view RecogniseAdvice() const override {
    return "Convert with --roll-type auto (or --roll-type NAME) to map its expression and control tracks.";
  }
  std::string_view UnreadableAdvice() const override {
    return "Check the roll type (--roll-type auto recognises it) and the scanner preset.";
  }
};

}  // namespace tarvelo::cli
