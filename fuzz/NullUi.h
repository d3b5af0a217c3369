#pragma once
// A user interface for fuzz targets: shows nothing, answers with the settings it is given.

#include <string_view>

#include "services/UiServices.h"

namespace tarvelo::fuzzing {

class NullUi : public UiServices {
 public:
  explicit NullUi(SessionSettings& settings) : UiServices(settings) {}
  void SetStatusText(std::string_view) override {}
  void SetProgress(int, int) override {}
  void ShowMessage(std::string_view) override {}
};

}  // namespace tarvelo::fuzzing
