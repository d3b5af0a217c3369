#pragma once
// The catalogue of a batch (convert --catalog FILE.csv or FILE.jsonl): one row per input in
// input order, for an archive to keep and sort. A row holds the input's path, size and
// SHA-256, its roll information, what the conversion found and used (scanner type, DPI,
// length, playing time, roll type used and recognised with its score, alignment, holes on
// track, placement verdict), its status, message counts and the outputs written. An input
// whose bytes equal an earlier one's names that input in its duplicate_of column.
//
// CSV: a header row, then comma-separated fields, quoted as RFC 4180 wants where needed, lines
// ending in CR LF; the outputs of a row are joined by "; ". JSON Lines: one object per input,
// the same names as the CSV header, numbers as numbers, unknown values null, outputs a list.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cli/FileOutcome.h"

namespace tarvelo::cli {

enum class CatalogFormat { kCsv, kJsonLines };

// The format that `path` names by its extension: ".csv" or ".jsonl" in any letter case.
// False for any other.
bool CatalogFormatOf(const std::string& path, CatalogFormat& format);

class Catalog {
 public:
  // Adds the row of `outcome`; call in input order.
  void Add(const FileOutcome& outcome);
  size_t Rows() const { return rows_.size(); }
  // The whole catalogue in `format`.
  std::string Text(CatalogFormat format) const;
  // The column names, in order.
  static std::vector<std::string> Columns();

 private:
  struct Cell {
    std::string Text;                // "" when unknown
    bool Number = false;             // written as a JSON number
    std::vector<std::string> Items;  // a list (the outputs)
    bool List = false;
  };
  std::vector<std::vector<Cell>> rows_;
  std::map<std::string, std::string> first_with_;  // SHA-256 -> the first input with those bytes
};

}  // namespace tarvelo::cli
