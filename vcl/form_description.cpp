#include "vcl/form_description.h"

#include <charconv>

#include "vcl/exception.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view s) {
  if (s.empty() || (s.front() >= '0' && s.front() <= '9')) return false;
  for (char c : s) {
    if (!IsNameByte(c)) return false;
  }
  return true;
}

[[noreturn]] void Fail(int line, std::string_view why) {
  throw Exception("form description, line " + std::to_string(line) + ": " + std::string(why));
}

// A quoted value must close on its line and have nothing after the closing quote.
void CheckValue(std::string_view value, int line) {
  if (value.empty()) Fail(line, "setting without a value");
  if (value.front() != '"') {
    if (value.find('"') != std::string_view::npos) Fail(line, "stray double quote");
    return;
  }
  const std::size_t close = value.find('"', 1);
  if (close == std::string_view::npos) Fail(line, "text without its closing double quote");
  if (close + 1 != value.size()) Fail(line, "something after the closing double quote");
}

}  // namespace

FormDescription ParseFormDescription(std::string_view text) {
  FormDescription form;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    const std::string_view content = Trim(raw);
    if (content.empty() || content.front() == '#') continue;

    if (!IsBlank(raw.front())) {
      // NAME KIND
      const std::size_t gap = content.find_first_of(" \t");
      if (gap == std::string_view::npos) Fail(line, "a component needs a name and a kind");
      const std::string_view name = content.substr(0, gap);
      const std::string_view kind = Trim(content.substr(gap));
      if (!IsName(name)) Fail(line, "not a component name: " + std::string(name));
      if (!IsName(kind)) Fail(line, "not a component kind: " + std::string(kind));
      for (const ComponentDescription& c : form.components) {
        if (c.name == name) Fail(line, "a second component named " + std::string(name));
      }
      form.components.push_back(ComponentDescription{std::string(name), std::string(kind), line, {}});
      continue;
    }

    if (form.components.empty()) Fail(line, "a setting before the first component");
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) Fail(line, "a setting needs \"key = value\"");
    const std::string_view key = Trim(content.substr(0, eq));
    const std::string_view value = Trim(content.substr(eq + 1));
    if (!IsName(key)) Fail(line, "not a setting name: " + std::string(key));
    CheckValue(value, line);
    ComponentDescription& component = form.components.back();
    for (const SettingDescription& s : component.settings) {
      if (s.key == key) Fail(line, "a second setting " + std::string(key) + " for " + component.name);
    }
    component.settings.push_back(SettingDescription{std::string(key), std::string(value), line});
  }
  if (form.components.empty()) Fail(line, "no components");
  return form;
}

SettingsReader::SettingsReader(const ComponentDescription& component)
    : component_(component), used_(component.settings.size(), false) {}

bool SettingsReader::Has(std::string_view key) const {
  for (const SettingDescription& s : component_.settings) {
    if (s.key == key) return true;
  }
  return false;
}

const SettingDescription* SettingsReader::Take(std::string_view key) {
  for (std::size_t i = 0; i < component_.settings.size(); ++i) {
    if (component_.settings[i].key == key) {
      used_[i] = true;
      return &component_.settings[i];
    }
  }
  return nullptr;
}

void SettingsReader::Fail(const SettingDescription& setting, std::string_view why) const {
  ::Fail(setting.line, component_.name + "." + setting.key + ": " + std::string(why));
}

std::optional<std::string> SettingsReader::Text(std::string_view key) {
  const SettingDescription* s = Take(key);
  if (!s) return std::nullopt;
  if (s->value.front() != '"') Fail(*s, "a text in double quotes is needed");
  return s->value.substr(1, s->value.size() - 2);
}

std::optional<std::string> SettingsReader::Word(std::string_view key) {
  const SettingDescription* s = Take(key);
  if (!s) return std::nullopt;
  if (!IsName(s->value)) Fail(*s, "a single word is needed");
  return s->value;
}

std::optional<int> SettingsReader::Int(std::string_view key) {
  const std::optional<std::vector<int>> v = Ints(key, 1);
  if (!v) return std::nullopt;
  return v->front();
}

std::optional<std::vector<int>> SettingsReader::Ints(std::string_view key, std::size_t count) {
  const SettingDescription* s = Take(key);
  if (!s) return std::nullopt;
  std::vector<int> values;
  std::string_view rest = s->value;
  while (!(rest = Trim(rest)).empty()) {
    const std::size_t gap = rest.find_first_of(" \t");
    const std::string_view item = rest.substr(0, gap);
    int v = 0;
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), v);
    if (ec != std::errc() || end != item.data() + item.size()) Fail(*s, "not an integer: " + std::string(item));
    values.push_back(v);
    rest.remove_prefix(item.size());
  }
  if (values.size() != count) Fail(*s, std::to_string(count) + " integers are needed");
  return values;
}

std::optional<bool> SettingsReader::Flag(std::string_view key) {
  const SettingDescription* s = Take(key);
  if (!s) return std::nullopt;
  if (s->value == "yes") return true;
  if (s->value == "no") return false;
  Fail(*s, "yes or no is needed");
}

void SettingsReader::Finish() const {
  for (std::size_t i = 0; i < used_.size(); ++i) {
    if (!used_[i]) Fail(component_.settings[i], "no such setting for a " + component_.kind);
  }
}
