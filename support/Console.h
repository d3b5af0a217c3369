#pragma once
// The console a command-line program writes to: whether a stream shows on a terminal (progress
// lines are drawn only there), and how the standard streams carry the program's UTF-8 text.

#include <cstdio>

namespace tarvelo {

// True when `stream` is a terminal (on Windows, a console window), not a file or a pipe.
bool IsTerminal(std::FILE* stream);

// Makes standard output and standard error carry the program's bytes as they are: on Windows
// line feeds stay line feeds (so reports and messages are the same bytes as elsewhere) and a
// console shows UTF-8 text. Nothing to do elsewhere.
void UseUtf8StandardStreams();

}  // namespace tarvelo
