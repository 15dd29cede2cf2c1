// Splitting the program's command line into arguments, as the program has always read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every item of `commandLine`, the program's own path first. Items are separated by runs of bytes
// 0x01-0x20; a double quote opens a run that may hold blanks, up to the next quote or the end;
// the quotes are dropped and the item goes on after them; "" before an item is skipped.
// Bytes from 0x80 up belong to items, so a double-byte character is never split.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The first argument after the program's own path, if there is one.
std::optional<std::string> FirstArgument(std::string_view commandLine);
