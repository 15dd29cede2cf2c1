#include "finder/scan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "finder/header.h"
#include "finder/magic.h"
#include "finder/names.h"
#include "platform/platform.h"

std::string ResultText;
int ResultCount = 0;

namespace {

constexpr int kPaceLimit = 20000;         // the eyes switch on the byte that passes it
constexpr int kPaceAfterPicture = 20001;  // so they switch on the first byte after a picture

std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Gives every observable result of pushing the file through the header window one byte
// at a time, but reads in blocks and tests only where the magic "BM" stands.
//
// buf_ holds the bytes pushed through the window contiguously: the 54 before the block
// (the window as it stood), then the block. Copied picture bytes are never pushed, so
// after a copy the window (the picture's header) is laid down again just before the
// next byte to push; a later header can then begin inside it.
class Scanner {
 public:
  Scanner(ScanView& view, InputFile& in, const ScanNames& names, bool extended, const ScanProgress& progress,
          std::size_t blockSize, ScanOutcome& out)
      : view_(view), in_(in), names_(names), extended_(extended), progress_(progress),
        blockSize_(std::max<std::size_t>(blockSize, 1)), out_(out), buf_(kHeaderSize + blockSize_, 0) {}

  void Run() {
    for (;;) {
      std::memmove(buf_.data(), buf_.data() + end_ - kHeaderSize, kHeaderSize);
      end_ = next_ = kHeaderSize;
      if (!Fill()) break;
      std::size_t from = next_ - (kHeaderSize - 1);  // earliest start of a header not yet tested
      for (;;) {
        const std::size_t last = end_ - (kHeaderSize - 1);  // starts from here on end past the block
        const std::size_t start = NextCandidate(buf_.data(), from, last);
        if (start == last) break;
        const BitmapHeaderRecord h = DecodeHeaderBytes(buf_.data() + start);
        if (IsBitmapHeader(h, extended_) != 0) {
          from = start + 1;
          continue;
        }
        Pace(start + kHeaderSize - next_);  // up to and including the header's last byte
        next_ = start + kHeaderSize;
        std::memcpy(HeaderWindow.data(), buf_.data() + start, kHeaderSize);
        BitmapHeader = h;
        TakePicture(start);
        from = next_ - (kHeaderSize - 1);
      }
      Pace(end_ - next_);
      next_ = end_;
    }
    // Leave the window as the last byte pushed left it.
    std::memcpy(HeaderWindow.data(), buf_.data() + end_ - kHeaderSize, kHeaderSize);
    DecodeHeader();
  }

 private:
  // Reads the next block just after the carried window. False at the end or on an error.
  bool Fill() {
    if (atEnd_) return false;
    const std::ptrdiff_t n = in_.Read(buf_.data() + kHeaderSize, blockSize_);
    if (n <= 0) {
      atEnd_ = true;
      if (n < 0) {
        out_.readFailed = true;
        out_.readError = in_.LastError();
      }
      return false;
    }
    end_ = kHeaderSize + static_cast<std::size_t>(n);
    done_ += static_cast<std::uint64_t>(n);
    if (progress_) progress_(done_, in_.Size());
    return true;
  }

  // Counts bytes pushed through the window, switching the eyes where the counter passes its limit.
  void Pace(std::uint64_t bytes) {
    while (bytes > 0) {
      const std::uint64_t untilSwitch =
          PaceCounter > kPaceLimit ? 1 : static_cast<std::uint64_t>(kPaceLimit + 1 - PaceCounter);
      if (bytes < untilSwitch) {
        PaceCounter += static_cast<int>(bytes);
        return;
      }
      bytes -= untilSwitch;
      EyeToggle ^= 1;
      if (EyeToggle == 1) {
        view_.SetEyeVisible(Eye::Left, true);
        view_.SetEyeVisible(Eye::Right, false);
      } else {
        view_.SetEyeVisible(Eye::Left, false);
        view_.SetEyeVisible(Eye::Right, true);
      }
      view_.RepaintNow();
      PaceCounter = 0;
    }
  }

  // The header at buf_[start, start + 54) was accepted and is the window.
  void TakePicture(std::size_t start) {
    const std::string name = ReportName(names_, ImageCount);
    ReportBitmap(view_, name);

    OutputFile file;
    bool ok = file.Open(OutputPath(names_, ImageCount), in_.Identity()) == OpenResult::Opened;
    const std::int32_t declared = WrapSub(BitmapHeader.bfSize, static_cast<std::int32_t>(kHeaderSize));
    std::uint64_t remaining = declared > 0 ? static_cast<std::uint64_t>(declared) : 0;

    // The header and the part of the picture already read go out in one write.
    std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, end_ - next_));
    ok = ok && file.Write(buf_.data() + start, kHeaderSize + take);
    next_ += take;
    remaining -= take;
    while (remaining > 0) {
      if (!Fill()) {  // the file ends inside the picture: keep the short file
        end_ = next_ = kHeaderSize;
        break;
      }
      next_ = kHeaderSize;
      take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, end_ - next_));
      ok = ok && file.Write(buf_.data() + next_, take);
      next_ += take;
      remaining -= take;
    }
    ok = ok && file.Close();  // on failure the destructor removes what was written
    if (!ok) {
      view_.AddReportLine(name + std::string(SystemTexts().notWrittenSuffix));
      ++out_.notWritten;
    }
    ++out_.found;

    std::memcpy(buf_.data() + next_ - kHeaderSize, HeaderWindow.data(), kHeaderSize);
    ++ImageCount;
    PaceCounter += kPaceAfterPicture;
  }

  ScanView& view_;
  InputFile& in_;
  const ScanNames& names_;
  const bool extended_;
  const ScanProgress& progress_;
  const std::size_t blockSize_;
  ScanOutcome& out_;

  std::vector<std::uint8_t> buf_;
  std::size_t end_ = kHeaderSize;   // bytes of buf_ in use
  std::size_t next_ = kHeaderSize;  // first byte of buf_ not yet pushed through the window
  std::uint64_t done_ = 0;          // bytes read from the file
  bool atEnd_ = false;

  int ImageCount = 0;   // pictures taken out so far; numbers the next one
  int PaceCounter = 0;  // bytes pushed since the eyes last switched
  int EyeToggle = 0;    // 1 while the eyes look left
};

}  // namespace

ScanOutcome ScanFile(ScanView& view, const std::string& path, const ScanProgress& progress, std::size_t blockSize) {
  ScanOutcome out;
  view.ClearReport();
  view.RepaintNow();

  const ScanNames names = DeriveNames(path, SystemPathRules());
  InputFile in;
  if (!in.Open(path, out.openError)) return out;
  out.opened = true;

  ClearHeaderWindow();
  view.SetEyeVisible(Eye::Normal, false);
  view.SetEyeVisible(Eye::Right, true);
  view.SetPathCaption(path);
  view.RepaintNow();

  // Nothing can change the check box while the scan runs.
  Scanner(view, in, names, view.ExtendedMode(), progress, blockSize, out).Run();
  in.Close();
  view.SetEyeVisible(Eye::Left, false);
  view.SetEyeVisible(Eye::Right, false);

  const Texts& texts = SystemTexts();
  const int written = out.found - out.notWritten;
  ResultCount = written;
  if (out.notWritten > 0) {
    ResultText = PartlyWrittenText(written, out.notWritten, texts);
  } else if (written > 0) {
    ResultText = FoundText(written, texts);
  } else {
    ResultText = NoneFoundText(texts);
  }
  view.SetEyeVisible(written > 0 ? Eye::Win : Eye::Lose, true);

  if (view.IsVisible(Window::Main)) {
    // A result window already up keeps the result it was filled with.
    if (!view.IsVisible(Window::Result)) view.Show(Window::Result);
  } else {
    // The scan of the command-line argument: the result window does not exist yet.
    view.Show(Window::Main);
    view.ShowMessage(ResultText, texts.resultCaption);
  }

  view.SetEyeVisible(Eye::Win, false);
  view.SetEyeVisible(Eye::Lose, false);
  view.SetEyeVisible(Eye::Normal, true);
  return out;
}
