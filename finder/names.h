// Names of the extracted files, report lines and result texts.
#pragma once

#include <string>
#include <string_view>

#include "finder/header.h"
#include "finder/texts.h"

class ScanView;

struct PathRules {
  char separator;   // the one byte that separates directories
  bool wholeUtf8;   // the 4-byte cut keeps UTF-8 characters whole
};

struct ScanNames {
  std::string NamePart;  // at most 4 bytes from the start of the file's name
  std::string PathStem;  // the path cut right after NamePart
};

ScanNames DeriveNames(std::string_view path, PathRules rules);

// Upper-case hexadecimal, at least three digits.
std::string HexNumber(int n);
std::string ReportName(const ScanNames& names, int n);
std::string OutputPath(const ScanNames& names, int n);

std::string ReportLine(std::string_view name, const BitmapHeaderRecord& h, const Texts& texts);
// Appends the line for the header in BitmapHeader to the report.
void ReportBitmap(ScanView& view, std::string_view name);

std::string FoundText(int count, const Texts& texts);
std::string NoneFoundText(const Texts& texts);
std::string PartlyWrittenText(int written, int notWritten, const Texts& texts);
