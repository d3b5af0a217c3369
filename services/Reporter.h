#pragma once
// How the core reaches the user while it works: a status text, a progress bar, messages with
// their kind, and a cancel request. Every stage reports through this interface and through
// nothing else; each front end implements it (the desktop paints its status field and shows a
// modal message window, the command line prints a progress line and writes messages to
// standard error, tests record the calls). One reporter serves one document at a time.

#include <string_view>

namespace tarvelo {

// What a message means for the result of the run it belongs to.
enum class MessageKind {
  kInformation,  // a note on how the file was processed; the result is as good as ever
  kWarning,      // the result was made but may be doubtful: damaged lines, a value replaced
  kError,        // the file or a setting cannot be used, or an output was not written
};

// The name of a kind in reports: "information", "warning", "error".
const char* MessageKindName(MessageKind kind);

// Progress bar colour types.
enum ProgressColour : int {
  kProgressReading = 1,    // reading the CIS file, scan line positions
  kProgressTracking = 2,   // per-line pass
  kProgressTwinArray = 3,  // twin array merge
  kProgressUnused4 = 4,
  kProgressUnused5 = 5,
  kProgressFinished = 6,  // finished conversion
};

class Reporter {
 public:
  virtual ~Reporter() = default;

  // Shows `text` in the status field at once.
  virtual void SetStatusText(std::string_view text) = 0;
  // Colour types 1..6 set the bar colour (others keep it); position 0..100 (more shows full).
  virtual void SetProgress(int colour_type, int position) = 0;
  // A message of `kind`; returns when the user has acknowledged it. Line feeds start lines.
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  // Whether the user asked to stop. Long passes poll it at each progress step; a stopped run
  // writes no outputs. May be called from any thread.
  virtual bool IsCancelled() const { return false; }

  // text + " : " + value (8 significant digits, _gcvt form).
  void ShowMessageWithValue(MessageKind kind, std::string_view text, double value);
  // text1 + " : " + value1 + "\n" + text2 + " : " + value2.
  void ShowMessageWithTwoValues(MessageKind kind, std::string_view text1, double value1, std::string_view text2,
                                double value2);
};

}  // namespace tarvelo
