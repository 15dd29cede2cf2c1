// Reading one file from start to end and taking out every picture in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "finder/view.h"

// The result of the last scan whose file could be opened.
extern std::string ResultText;
extern int ResultCount;

struct ScanOutcome {
  bool opened = false;
  std::string openError;   // why the file could not be opened
  bool readFailed = false;  // the scan ended early on a read error
  std::string readError;
  int found = 0;            // pictures recognised
  int notWritten = 0;       // of those, pictures whose file could not be written
};

// Called after every block read: bytes taken from the file so far, and its size (0 when unknown).
using ScanProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

inline constexpr std::size_t kScanBlockSize = 256 * 1024;

// Tests pass a small block size to put headers across block edges.
ScanOutcome ScanFile(ScanView& view, const std::string& path, const ScanProgress& progress = {},
                     std::size_t blockSize = kScanBlockSize);
