#include "finder/names.h"

#include <cstdio>

#include "finder/view.h"
#include "platform/platform.h"

namespace {

// Length of the UTF-8 character starting at s[i]; a malformed byte counts alone.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (i + len > s.size()) return 1;
  for (std::size_t k = 1; k < len; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

}  // namespace

ScanNames DeriveNames(std::string_view path, PathRules rules) {
  const std::size_t sep = path.rfind(rules.separator);
  const std::size_t start = sep == std::string_view::npos ? 0 : sep + 1;
  std::size_t stop = start;
  while (stop < path.size() && path[stop] != '.') {
    const std::size_t len = rules.wholeUtf8 ? Utf8Length(path, stop) : 1;
    if (stop + len - start > 4) break;
    stop += len;
  }
  return ScanNames{std::string(path.substr(start, stop - start)), std::string(path.substr(0, stop))};
}

std::string HexNumber(int n) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03X", static_cast<unsigned>(n));
  return digits;
}

std::string ReportName(const ScanNames& names, int n) { return names.NamePart + HexNumber(n) + ".BMP"; }

std::string OutputPath(const ScanNames& names, int n) { return names.PathStem + HexNumber(n) + ".BMP"; }

std::string ReportLine(std::string_view name, const BitmapHeaderRecord& h, const Texts& texts) {
  std::string line(name);
  line += "   ";
  line += std::to_string(h.biWidth);
  line += 'x';
  line += std::to_string(h.biHeight);
  line += texts.dots;
  line += std::to_string(h.biBitCount);
  line += texts.bitColour;
  line += std::to_string(h.bfSize);
  line += "bytes";
  return line;
}

void ReportBitmap(ScanView& view, std::string_view name) {
  view.AddReportLine(ReportLine(name, BitmapHeader, SystemTexts()));
}

std::string FoundText(int count, const Texts& texts) { return std::to_string(count) + std::string(texts.foundSuffix); }

std::string NoneFoundText(const Texts& texts) { return std::string(texts.noneFound); }

std::string PartlyWrittenText(int written, int notWritten, const Texts& texts) {
  return std::to_string(written) + std::string(texts.partialMiddle) + std::to_string(notWritten) +
         std::string(texts.partialSuffix);
}
