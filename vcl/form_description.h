// The text format of a stored form: which components a window has and how each is set.
//
//   # a comment line
//   Form2 form                  a component: its name and kind at the start of a line;
//     bounds = 626 108 273 112  the first one is the window itself; its settings follow,
//     caption = "調査結果"      indented, one "key = value" a line.
//
// Values are words (yes, sizeable), integers separated by blanks, or texts in double quotes.
// A text runs to the next double quote and has no escapes, because in code page 932 the
// second byte of a character may be a backslash. The layer reads the text as code page 932.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SettingDescription {
  std::string key;
  std::string value;  // as written, quotes included
  int line = 0;
};

struct ComponentDescription {
  std::string name;
  std::string kind;
  int line = 0;
  std::vector<SettingDescription> settings;
};

struct FormDescription {
  std::vector<ComponentDescription> components;  // the window itself first
};

// Throws Exception naming the line of the first fault.
FormDescription ParseFormDescription(std::string_view text);

// Typed reads of one component's settings. Each setting may be read once; Finish throws for a
// setting nobody read, so a misspelt key is an error rather than silently ignored.
class SettingsReader {
 public:
  explicit SettingsReader(const ComponentDescription& component);

  bool Has(std::string_view key) const;
  std::optional<std::string> Text(std::string_view key);
  std::optional<std::string> Word(std::string_view key);
  std::optional<int> Int(std::string_view key);
  std::optional<std::vector<int>> Ints(std::string_view key, std::size_t count);
  std::optional<bool> Flag(std::string_view key);  // yes or no
  void Finish() const;

  const ComponentDescription& Component() const { return component_; }

 private:
  const SettingDescription* Take(std::string_view key);
  [[noreturn]] void Fail(const SettingDescription& setting, std::string_view why) const;

  const ComponentDescription& component_;
  std::vector<bool> used_;
};
