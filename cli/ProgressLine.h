#pragma once
// The one progress line the command line keeps at the bottom of a terminal: redrawn in
// place, never wider than the terminal (its width is asked for at every draw, so a resized
// window is followed), cleared before anything else is printed.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvelo::cli {

// The columns of the terminal standard error shows on: its window's width, else $COLUMNS,
// else 80; 0 when standard error is not a terminal.
int StandardErrorColumns();

// The length in bytes of the UTF-8 character starting with `lead` (1 for a stray byte).
size_t CharacterBytes(unsigned char lead);

// How many columns `text` may take: a byte below 0x80 takes one, every other character is
// counted as two (a wide character never makes the line longer than counted).
int TextColumns(std::string_view text);

// `text` cut to at most `columns` columns (at a character boundary), control characters
// shown as "?".
std::string FitToColumns(std::string_view text, int columns);

// "m:ss", or "h:mm:ss" from an hour on.
std::string FormatDuration(double seconds);

// The batch line: files done of the total, the current file, the elapsed time and the time
// left (`remaining` < 0: not known yet), fitted into `columns` columns. The file name gives
// way first (shortened in its middle), then the times.
std::string BatchProgressText(int done, int total, std::string_view current, double elapsed, double remaining,
                              int columns);

class ProgressLine {
 public:
  // Draws on standard error when `enabled` and standard error is a terminal.
  explicit ProgressLine(bool enabled);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool Enabled() const { return enabled_; }
  // The columns the line may take now (one less than the terminal, so that the cursor never
  // wraps); 0 when the line is not shown.
  int Columns() const;
  // Replaces the line with `text` (already fitted).
  void Show(const std::string& text);
  // Removes the line, leaving the cursor at the start of the empty line.
  void Clear();

 private:
  bool enabled_;
  int shown_columns_ = 0;  // columns of the line on the screen; 0 when none
};

}  // namespace tarvelo::cli
