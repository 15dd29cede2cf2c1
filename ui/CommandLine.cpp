#include "ui/CommandLine.h"

namespace {

// A NUL ends the line, as it does in the string the system hands over.
bool IsSeparator(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x01 && b <= 0x20;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  if (const std::size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
  std::vector<std::string> items;
  std::size_t i = 0;
  for (;;) {
    for (;;) {
      while (i < line.size() && IsSeparator(line[i])) ++i;
      if (line.substr(i, 2) == "\"\"") {
        i += 2;
      } else {
        break;
      }
    }
    if (i == line.size()) return items;
    std::string item;
    while (i < line.size() && !IsSeparator(line[i])) {
      if (line[i] == '"') {
        ++i;
        while (i < line.size() && line[i] != '"') item += line[i++];
        if (i < line.size()) ++i;
      } else {
        item += line[i++];
      }
    }
    items.push_back(std::move(item));
  }
}

std::optional<std::string> FirstArgument(std::string_view commandLine) {
  std::vector<std::string> items = SplitCommandLine(commandLine);
  if (items.size() < 2) return std::nullopt;
  return std::move(items[1]);
}
