// scan_bench ZENPIKO WORKDIR [ROUNDS]: times the command-line scanner beside `cat` of the same
// input, beside a loop that only writes the same pictures, and beside the byte-by-byte scan,
// in one run, interleaved, and prints medians, MB/s and ratios.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "finder/header.h"
#include "finder/names.h"
#include "finder/quiet_view.h"
#include "finder/scan.h"
#include "platform/platform.h"
#include "tests/scan_model.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Bitmap(int width, int height, std::uint8_t fill) {
  const std::int32_t size = (24 * width + 31) / 32 * height * 4 + 54;
  std::vector<std::uint8_t> b(static_cast<std::size_t>(size), fill);
  auto put32 = [&](std::size_t at, std::int32_t v) { std::memcpy(&b[at], &v, 4); };  // little-endian host
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&b[at], &v, 2); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(6, 0);       // reserved words
  put32(10, 54);     // bfOffBits
  put32(14, 40);     // biSize
  put32(18, width);
  put32(22, height);
  put16(26, 1);      // biPlanes
  put16(28, 24);     // biBitCount
  std::memset(&b[30], 0, 24);
  return b;
}

void WriteAll(const fs::path& path, const std::function<void(std::FILE*)>& body) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  body(f);
  std::fclose(f);
}

// Random bytes with no "BM" pair in them, so that only planted pictures are found.
void RandomBytes(std::FILE* f, std::uint64_t size, std::mt19937_64& rng, std::uint64_t plantEvery,
                 int* planted) {
  std::vector<std::uint8_t> chunk(64 << 10);
  const std::vector<std::uint8_t> pic = Bitmap(64, 64, 0x5A);  // 12342 bytes
  std::uint64_t written = 0, nextPlant = plantEvery;
  while (written < size) {
    for (std::size_t i = 0; i < chunk.size(); i += 8) {
      const std::uint64_t r = rng();
      std::memcpy(&chunk[i], &r, 8);
    }
    for (std::size_t i = 1; i < chunk.size(); ++i) {
      if (chunk[i - 1] == 'B' && chunk[i] == 'M') chunk[i] = 'N';
    }
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - written));
    std::fwrite(chunk.data(), 1, n, f);
    written += n;
    if (plantEvery && written >= nextPlant && written + pic.size() < size) {
      std::fwrite(pic.data(), 1, pic.size(), f);
      written += pic.size();
      nextPlant += plantEvery;
      ++*planted;
    }
  }
}

long gScannerPeakKiB = 0;

// Wall time of one run of argv with stdout to /dev/null.
double RunCommand(const std::vector<std::string>& argv) {
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, STDOUT_FILENO);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (argv[0] != "cat") gScannerPeakKiB = std::max(gScannerPeakKiB, usage.ru_maxrss);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s exited with %d\n", argv[0].c_str(), status);
    std::exit(1);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Timed {
  std::string what;
  std::function<double()> run;
  std::vector<double> times;
};

// Reads `input` in the scanner's blocks and creates and writes the `count` pictures spread evenly
// between them, named after `namesFrom`: the scanner's work without the search, the checks and
// the report.
double ReadAndWriteFloor(const std::string& input, const std::string& namesFrom, int count,
                         const std::vector<std::uint8_t>& pic) {
  const ScanNames names = DeriveNames(namesFrom, SystemPathRules());
  std::vector<std::uint8_t> block(kScanBlockSize);
  const auto start = Clock::now();
  const int in = open(input.c_str(), O_RDONLY | O_CLOEXEC);
  const std::uint64_t blocks = (fs::file_size(input) + kScanBlockSize - 1) / kScanBlockSize;
  std::uint64_t at = 0;
  int written = 0;
  while (read(in, block.data(), block.size()) > 0) {
    ++at;
    for (; written < count && static_cast<std::uint64_t>(written) * blocks < at * count; ++written) {
      const int fd = open(OutputPath(names, written).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (fd < 0 || write(fd, pic.data(), pic.size()) != static_cast<ssize_t>(pic.size()) || close(fd) != 0) {
        std::perror("floor");
        std::exit(1);
      }
    }
  }
  close(in);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Removes the pictures earlier runs wrote in `folder`, so that every run creates its files.
void RemovePictures(const fs::path& folder) {
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    if (e.path().extension() == ".BMP") fs::remove(e.path());
  }
}

// Runs every contender once per round, in turn, so that they share the machine's state. Before
// each run (untimed) the pictures of `folder` are removed and everything is put on the disk:
// overwriting a file whose last contents are still being written back waits for that, which
// would charge one contender for the writes of the one before.
void Interleave(std::vector<Timed>& contenders, int rounds, const fs::path& folder = {}) {
  const auto settle = [&] {
    if (!folder.empty()) RemovePictures(folder);
    sync();
  };
  for (Timed& c : contenders) c.run();  // warm the page cache
  for (int r = 0; r < rounds; ++r) {
    for (Timed& c : contenders) {
      settle();
      c.times.push_back(c.run());
    }
  }
  settle();
}

// The cost of creating and writing the same pictures the scanner writes, and nothing else.
double WriteFloor(const std::string& input, int count, const std::vector<std::uint8_t>& pic) {
  const ScanNames names = DeriveNames(input, SystemPathRules());
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    const int fd = open(OutputPath(names, i).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || write(fd, pic.data(), pic.size()) != static_cast<ssize_t>(pic.size()) || close(fd) != 0) {
      std::perror("floor");
      std::exit(1);
    }
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Report(const char* title, std::uint64_t bytes, const std::vector<Timed>& contenders) {
  std::printf("\n%s (%.0f MiB)\n", title, static_cast<double>(bytes) / (1 << 20));
  const double base = Median(contenders.front().times);
  for (const Timed& c : contenders) {
    const double m = Median(c.times);
    std::printf("  %-52s median %8.3f s  %9.1f MB/s  %5.2f x %s\n", c.what.c_str(), m,
                static_cast<double>(bytes) / 1e6 / m, m / base, contenders.front().what.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: scan_bench ZENPIKO WORKDIR [ROUNDS]\n");
    return 2;
  }
  const std::string zenpiko = argv[1];
  const fs::path work = argv[2];
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 7;
  fs::create_directories(work);
  constexpr std::uint64_t kSize = 512ull << 20;
  constexpr int kSmallCount = 100000;
  const std::vector<std::uint8_t> smallPic = Bitmap(3, 3, 0x33);  // 90 bytes

  // The inputs are the same every run (fixed seeds), so they are made only when missing, and
  // put on the disk before anything is timed: writing them back must not overlap the runs.
  const fs::path plain = work / "random.bin";
  if (!fs::exists(plain) || fs::file_size(plain) != kSize) {
    std::mt19937_64 rng(20261211);
    int none = 0;
    WriteAll(plain, [&](std::FILE* f) { RandomBytes(f, kSize, rng, 0, &none); });
  }

  const fs::path plantedDir = work / "planted";
  fs::create_directories(plantedDir);
  const fs::path planted = plantedDir / "planted.bin";
  const fs::path plantedCountFile = plantedDir / "planted.count";
  int plantedCount = 0;
  if (std::FILE* f = std::fopen(plantedCountFile.c_str(), "r")) {
    if (std::fscanf(f, "%d", &plantedCount) != 1) plantedCount = 0;
    std::fclose(f);
  }
  if (plantedCount == 0 || !fs::exists(planted) || fs::file_size(planted) != kSize) {
    std::mt19937_64 rng(20261212);
    plantedCount = 0;
    WriteAll(planted, [&](std::FILE* f) { RandomBytes(f, kSize, rng, kSize / 1001, &plantedCount); });
    WriteAll(plantedCountFile, [&](std::FILE* f) { std::fprintf(f, "%d\n", plantedCount); });
  }

  const fs::path smallDir = work / "small";
  fs::create_directories(smallDir);
  const fs::path small = smallDir / "small.bin";
  if (!fs::exists(small) || fs::file_size(small) != kSmallCount * smallPic.size()) {
    WriteAll(small, [&](std::FILE* f) {
      for (int i = 0; i < kSmallCount; ++i) std::fwrite(smallPic.data(), 1, smallPic.size(), f);
    });
  }
  // A 64 MiB prefix of the random file for the byte-by-byte scan: at its speed the whole would take long.
  const fs::path prefixDir = work / "model";
  fs::create_directories(prefixDir);
  const fs::path prefix = prefixDir / "prefix.bin";
  if (!fs::exists(prefix) || fs::file_size(prefix) != (64ull << 20)) {
    std::vector<char> head(64 << 20);
    std::FILE* in = std::fopen(plain.c_str(), "rb");
    if (!in || std::fread(head.data(), 1, head.size(), in) != head.size()) {
      std::perror(plain.c_str());
      return 1;
    }
    std::fclose(in);
    WriteAll(prefix, [&](std::FILE* f) { std::fwrite(head.data(), 1, head.size(), f); });
  }
  sync();

  std::printf("rounds: %d (medians of wall time, contenders interleaved)\n", rounds);

  std::vector<Timed> plainRun = {
      {"cat FILE > /dev/null", [&] { return RunCommand({"cat", plain.string()}); }, {}},
      {"zenpiko FILE", [&] { return RunCommand({zenpiko, plain.string()}); }, {}},
  };
  Interleave(plainRun, rounds);
  Report("512 MiB of random bytes, no picture", kSize, plainRun);

  // cat of the input, then the same pictures written by a loop that does nothing else.
  const std::vector<std::uint8_t> bigPic = Bitmap(64, 64, 0x5A);
  std::vector<Timed> plantedRun = {
      {"cat FILE + writing the pictures",
       [&] {
         const double cat = RunCommand({"cat", planted.string()});
         return cat + WriteFloor((plantedDir / "floor.bin").string(), plantedCount, bigPic);
       },
       {}},
      {"zenpiko FILE", [&] { return RunCommand({zenpiko, planted.string()}); }, {}},
      {"reading it in blocks, the pictures written between them",
       [&] { return ReadAndWriteFloor(planted.string(), (plantedDir / "rdwr.bin").string(), plantedCount, bigPic); },
       {}},
  };
  Interleave(plantedRun, rounds, plantedDir);
  Report(("512 MiB with " + std::to_string(plantedCount) + " pictures of 12342 bytes").c_str(), kSize, plantedRun);

  std::vector<Timed> smallRun = {
      {"writing the 100000 files only", [&] { return WriteFloor(small.string(), kSmallCount, smallPic); }, {}},
      {"zenpiko FILE", [&] { return RunCommand({zenpiko, small.string()}); }, {}},
  };
  Interleave(smallRun, rounds, smallDir);
  Report("100000 back-to-back pictures of 90 bytes", fs::file_size(small), smallRun);
  std::printf("  per picture: floor %.1f us, zenpiko %.1f us\n", Median(smallRun[0].times) / kSmallCount * 1e6,
              Median(smallRun[1].times) / kSmallCount * 1e6);

  // The byte-by-byte scan, on the prefix.
  std::vector<Timed> modelRun = {
      {"cat PREFIX > /dev/null", [&] { return RunCommand({"cat", prefix.string()}); }, {}},
      {"zenpiko PREFIX", [&] { return RunCommand({zenpiko, prefix.string()}); }, {}},
      {"byte-by-byte scan, 512-byte buffer",
       [&] {
         QuietView view;
         const auto start = Clock::now();
         ModelScanFile(view, prefix.string());
         return std::chrono::duration<double>(Clock::now() - start).count();
       },
       {}},
  };
  Interleave(modelRun, std::max(1, rounds / 3));
  Report("64 MiB prefix of the random file", 64ull << 20, modelRun);

  std::printf("\npeak resident set of a zenpiko run: %ld KiB\n", gScannerPeakKiB);
  return 0;
}
