// The block scan against the byte-by-byte model on generated inputs: every recorded
// operation, every output byte, the result and the final window must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "finder/header.h"
#include "finder/scan.h"
#include "tests/scan_model.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

class InputGenerator {
 public:
  explicit InputGenerator(std::uint64_t seed) : rng_(seed) {}

  Bytes Make() {
    Bytes data;
    const int pieces = Pick(0, 12);
    for (int i = 0; i < pieces; ++i) {
      switch (Pick(0, 7)) {
        case 0: Noise(data, Pick(0, 30000)); break;
        case 1: Noise(data, Pick(0, 100)); break;
        case 2: Append(data, ValidBitmap()); break;
        case 3: Append(data, NearMiss()); break;
        case 4: Append(data, ExtendedOnly()); break;
        case 5: Append(data, StartsInsidePrevious()); break;
        case 6: data.resize(data.size() + Pick(0, 3) * 20001 + Pick(-60, 60) + 60, 'B'); break;
        case 7: Append(data, Truncated()); break;
      }
    }
    return data;
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Noise(Bytes& data, int n) {
    // Dense in 'B' and 'M' so that magic pairs and partial headers are common.
    static const std::uint8_t kAlphabet[] = {'B', 'M', 'B', 0, 1, 40, 0xFF, 'M'};
    for (int i = 0; i < n; ++i) {
      data.push_back(Pick(0, 3) == 0 ? kAlphabet[Pick(0, 7)] : static_cast<std::uint8_t>(Pick(0, 255)));
    }
  }

  Bytes ValidBitmap() {
    const std::uint16_t bits[] = {1, 4, 8, 24, 32};
    Bytes b = MakeBitmap(Pick(1, 40), Pick(1, 20), bits[Pick(0, 4)], static_cast<std::uint8_t>(Pick(0, 255)));
    if (Pick(0, 2) == 0) {  // plant another header in its pixel bytes: it must stay unseen
      const Bytes inner = MakeBitmap(1, 1, 8);
      if (b.size() >= 54 + inner.size()) std::copy(inner.begin(), inner.end(), b.begin() + 54);
    }
    return b;
  }

  Bytes NearMiss() {
    HeaderFields f;
    switch (Pick(0, 4)) {
      case 0: f.planes = 2; break;
      case 1: f.reserved1 = 1; break;
      case 2: f.reserved2 = 1; break;
      case 3: f.infoSize = 12; break;  // still accepted in normal mode
      case 4: f.fileSize = 67; break;  // still accepted in extended mode
    }
    Bytes b = MakeHeader(f);
    b.resize(66, 0x5A);
    return b;
  }

  Bytes ExtendedOnly() {
    HeaderFields f;
    f.fileSize = Pick(0, 3) == 0 ? Pick(-100, 53) : Pick(54, 3000);  // no copy when 54 or less
    Bytes b = MakeHeader(f);
    b.resize(54 + static_cast<std::size_t>(Pick(0, 200)), 0x66);
    return b;
  }

  Bytes StartsInsidePrevious() {
    // A picture whose header's last k bytes are the first k of the next header, which
    // follows the copied bytes with its first k bytes left out.
    const Bytes next = MakeBitmap(Pick(1, 8), Pick(1, 4), 24, 0x77);
    HeaderFields f{Pick(1, 8), Pick(1, 4), 8, 54, 0};
    f.fileSize = (8 * f.width + 31) / 32 * f.height * 4 + 54;
    Bytes first = MakeHeader(f);
    const std::size_t k = static_cast<std::size_t>(Pick(1, 16));  // bytes 38..53 are tested by neither mode
    std::copy(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(k), first.end() - static_cast<std::ptrdiff_t>(k));
    first.resize(static_cast<std::size_t>(f.fileSize), 0x78);
    first.insert(first.end(), next.begin() + static_cast<std::ptrdiff_t>(k), next.end());
    return first;
  }

  Bytes Truncated() {
    Bytes b = MakeBitmap(Pick(20, 200), Pick(20, 200), 24);
    b.resize(static_cast<std::size_t>(Pick(54, static_cast<int>(b.size()))));
    return b;
  }

  std::mt19937_64 rng_;
};

struct Observed {
  std::vector<std::string> ops;
  std::vector<std::pair<std::string, Bytes>> outputs;
  std::string resultText;
  int resultCount;
  HeaderBytes window;
};

template <typename Scan>
Observed Observe(const TempDir& dir, const std::string& path, bool extended, bool mainVisible, Scan scan) {
  RecordingView view;
  view.extended = extended;
  view.mainVisible = mainVisible;
  ResultText = "before";
  ResultCount = -1;
  scan(view, path);
  Observed seen{view.ops, FolderContents(dir.path(), fs::path(path).filename().string()), ResultText, ResultCount,
                HeaderWindow};
  for (const auto& [name, bytes] : seen.outputs) fs::remove(dir.path() / name);
  return seen;
}

TEST(BlockScan, MatchesTheByteByByteScanOnGeneratedInputs) {
  const std::size_t kBlockSizes[] = {1, 2, 53, 54, 55, 97, 4096, kScanBlockSize};
  TempDir dir;
  int pictures = 0;
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    InputGenerator gen(seed);
    const Bytes data = gen.Make();
    const std::string path = dir.Write("in.bin", data);
    const bool extended = seed % 2 == 0;
    const bool mainVisible = seed % 7 != 0;
    const std::size_t blockSize = kBlockSizes[seed % std::size(kBlockSizes)];
    const Observed model = Observe(dir, path, extended, mainVisible,
                                   [](RecordingView& v, const std::string& p) { ModelScanFile(v, p); });
    const Observed fast = Observe(dir, path, extended, mainVisible, [&](RecordingView& v, const std::string& p) {
      ScanFile(v, p, {}, blockSize);
    });
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(data.size()) + " bytes, block " +
                 std::to_string(blockSize) + (extended ? ", extended" : ", normal"));
    ASSERT_EQ(fast.ops, model.ops);
    ASSERT_EQ(fast.outputs, model.outputs);
    ASSERT_EQ(fast.resultText, model.resultText);
    ASSERT_EQ(fast.resultCount, model.resultCount);
    ASSERT_EQ(fast.window, model.window);
    pictures += model.resultCount;
  }
  EXPECT_GT(pictures, 400) << "the generator should plant plenty of pictures";
}

TEST(BlockScan, MatchesTheByteByByteScanOnEveryRealBitmapOneAfterAnother) {
  const fs::path suite = ZENPIKO_TESTDATA;
  if (!fs::exists(suite)) GTEST_SKIP() << "no " << suite;
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(suite)) {
    if (entry.is_regular_file() && entry.path().extension() == ".bmp") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_GT(files.size(), 50u);
  Bytes all;
  for (const fs::path& f : files) Append(all, ReadFile(f));
  TempDir dir;
  const std::string path = dir.Write("suite.bin", all);
  for (bool extended : {false, true}) {
    const Observed model =
        Observe(dir, path, extended, true, [](RecordingView& v, const std::string& p) { ModelScanFile(v, p); });
    const Observed fast =
        Observe(dir, path, extended, true, [](RecordingView& v, const std::string& p) { ScanFile(v, p, {}, 4096); });
    EXPECT_EQ(fast.ops, model.ops) << (extended ? "extended" : "normal");
    EXPECT_EQ(fast.outputs, model.outputs);
    EXPECT_GT(model.resultCount, 0);
  }
}

}  // namespace
