// zenpiko [--extended] FILE...: takes the pictures out of each FILE, for batch use.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "finder/scan.h"

namespace {

constexpr const char* kUsage =
    "usage: zenpiko [--extended] FILE...\n"
    "Writes every BMP picture stored in each FILE beside it and lists them.\n"
    "  --extended  accept any header with a 40-byte info header, whatever its declared size\n";

// Progress on a terminal's stderr, for files large enough to wait for.
class Progress {
 public:
  static constexpr std::uint64_t kMinSize = 64ull << 20;

  Progress() : enabled_(::isatty(STDERR_FILENO) == 1) {}

  void Start() {
    start_ = last_ = Clock::now();
    shown_ = false;
  }

  void Update(std::uint64_t done, std::uint64_t total) {
    if (!enabled_ || total < kMinSize) return;
    const auto now = Clock::now();
    if (now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stderr, "\r%3u%%  %.0f MB/s", static_cast<unsigned>(done * 100 / total),
                 seconds > 0 ? static_cast<double>(done) / 1e6 / seconds : 0.0);
    std::fflush(stderr);
    shown_ = true;
  }

  void Erase() {
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool enabled_;
  bool shown_ = false;
  Clock::time_point start_, last_;
};

// The report goes to stdout as it is found; the result becomes the file's last line.
class ConsoleView final : public ScanView {
 public:
  ConsoleView(bool extended, Progress& progress) : extended_(extended), progress_(progress) {}

  void ClearReport() override {}
  void AddReportLine(std::string_view line) override { PrintLine(line); }
  void SetPathCaption(std::string_view) override {}
  void SetEyeVisible(Eye, bool) override {}
  bool ExtendedMode() override { return extended_; }
  void RepaintNow() override {}
  // A console counts as the main window already up, with no result window showing.
  bool IsVisible(Window window) override { return window == Window::Main; }
  void Show(Window window) override {
    if (window == Window::Result) PrintLine(ResultText);
  }
  void ShowMessage(std::string_view text, std::string_view) override { PrintLine(text); }

 private:
  void PrintLine(std::string_view line) {
    progress_.Erase();
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }

  bool extended_;
  Progress& progress_;
};

}  // namespace

int main(int argc, char** argv) {
  bool extended = false;
  std::vector<std::string> files;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (options && arg == "--extended") {
      extended = true;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "zenpiko: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    } else {
      files.emplace_back(arg);
    }
  }
  if (files.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  int status = 0;
  Progress progress;
  ConsoleView view(extended, progress);
  for (const std::string& file : files) {
    progress.Start();
    const ScanOutcome outcome =
        ScanFile(view, file, [&](std::uint64_t done, std::uint64_t total) { progress.Update(done, total); });
    progress.Erase();
    std::fflush(stdout);
    if (!outcome.opened) {
      std::fprintf(stderr, "zenpiko: cannot open %s: %s\n", file.c_str(), outcome.openError.c_str());
      status = 1;
      continue;
    }
    if (outcome.readFailed) {
      std::fprintf(stderr, "zenpiko: error reading %s: %s\n", file.c_str(), outcome.readError.c_str());
      status = 1;
    }
    if (outcome.notWritten > 0) status = 1;
  }
  if (std::fflush(stdout) != 0) return 1;
  return status;
}
