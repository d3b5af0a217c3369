#pragma once
// Texts between the core (UTF-8 bytes; titles and file names from older systems may be Latin-1)
// and Qt.

#include <QString>
#include <string>
#include <string_view>

namespace tarvelo::app {

// UTF-8 when `text` is valid UTF-8, else Latin-1 (one character per byte), so that no byte is
// shown as a replacement character.
QString ToQString(std::string_view text);
std::string ToUtf8(const QString& text);

// File names: the bytes the file system uses, and back.
std::string ToFilePath(const QString& path);
QString FromFilePath(std::string_view path);

}  // namespace tarvelo::app
