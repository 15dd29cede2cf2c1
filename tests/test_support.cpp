#include "tests/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace {

void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) b.push_back(static_cast<std::uint8_t>(u >> shift));
}

const char* EyeName(Eye eye) {
  switch (eye) {
    case Eye::Normal: return "normal";
    case Eye::Left: return "left";
    case Eye::Right: return "right";
    case Eye::Win: return "win";
    case Eye::Lose: return "lose";
  }
  return "?";
}

const char* WindowName(Window window) { return window == Window::Main ? "main" : "result"; }

}  // namespace

Bytes MakeHeader(const HeaderFields& f) {
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, f.fileSize);   // bfSize
  Put16(b, f.reserved1);  // bfReserved1
  Put16(b, f.reserved2);  // bfReserved2
  Put32(b, f.offBits);    // bfOffBits
  Put32(b, f.infoSize);   // biSize
  Put32(b, f.width);      // biWidth
  Put32(b, f.height);     // biHeight
  Put16(b, f.planes);     // biPlanes
  Put16(b, f.bitCount);   // biBitCount
  Put32(b, 0);            // biCompression
  Put32(b, 0);            // biSizeImage
  Put32(b, 2835);         // biXPelsPerMeter
  Put32(b, 2835);         // biYPelsPerMeter
  Put32(b, 0);            // biClrUsed
  Put32(b, 0);            // biClrImportant
  return b;
}

Bytes MakeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bitCount, std::uint8_t fill) {
  HeaderFields f;
  f.width = width;
  f.height = height;
  f.bitCount = bitCount;
  f.offBits = 54;
  f.fileSize = (bitCount * width + 31) / 32 * height * 4 + 54;
  Bytes b = MakeHeader(f);
  b.resize(static_cast<std::size_t>(f.fileSize), fill);
  return b;
}

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

void RecordingView::ClearReport() {
  ops.push_back("clear");
  lines.clear();
}
void RecordingView::AddReportLine(std::string_view line) {
  ops.push_back("line " + std::string(line));
  lines.emplace_back(line);
}
void RecordingView::SetPathCaption(std::string_view path) { ops.push_back("path " + std::string(path)); }
void RecordingView::SetEyeVisible(Eye eye, bool visible) {
  ops.push_back(std::string(visible ? "show " : "hide ") + EyeName(eye));
}
bool RecordingView::ExtendedMode() {
  ops.push_back("mode");
  return extended;
}
void RecordingView::RepaintNow() { ops.push_back("repaint"); }
bool RecordingView::IsVisible(Window window) {
  ops.push_back(std::string("visible? ") + WindowName(window));
  return window == Window::Main ? mainVisible : resultVisible;
}
void RecordingView::Show(Window window) {
  ops.push_back(std::string("show window ") + WindowName(window));
  (window == Window::Main ? mainVisible : resultVisible) = true;
}
void RecordingView::ShowMessage(std::string_view text, std::string_view caption) {
  ops.push_back("message " + std::string(text) + " | " + std::string(caption));
}

TempDir::TempDir() {
  static std::mt19937_64 rng{std::random_device{}()};
  path_ = std::filesystem::temp_directory_path() / ("zenpiko-test-" + std::to_string(rng()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const Bytes& data) const {
  const std::filesystem::path p = path_ / name;
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write fixture " + p.string());
  return p.string();
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::pair<std::string, Bytes>> FolderContents(const std::filesystem::path& dir, const std::string& skip) {
  std::vector<std::pair<std::string, Bytes>> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name != skip && entry.is_regular_file()) files.emplace_back(name, ReadFile(entry.path()));
  }
  std::sort(files.begin(), files.end());
  return files;
}
