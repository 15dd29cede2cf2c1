// The scan as it reads most plainly: one byte at a time through the header window.
// Kept as the oracle that the block scan must match in every observable result.
#pragma once

#include <string>

#include "finder/view.h"

void ModelScanFile(ScanView& view, const std::string& path);
