#include <windows.h>

#include "platform/platform.h"

PathRules SystemPathRules() { return PathRules{'\\', false}; }

const Texts& SystemTexts() { return kShiftJisTexts; }

namespace {

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
const std::intptr_t kNoHandle = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);

// The system's own wording of an error, in the ANSI code page.
std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n ? std::string(text, n) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

bool IdentityOf(HANDLE h, FileIdentity& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path, std::string& error) {
  // Others may go on reading and writing it, as with the C library's "rb".
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = SystemMessage(GetLastError());
    return false;
  }
  LARGE_INTEGER size;
  size_ = GetFileSizeEx(h, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  IdentityOf(h, identity_);
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

std::ptrdiff_t InputFile::Read(void* buffer, std::size_t size) {
  DWORD got = 0;
  const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!ReadFile(H(handle_), buffer, want, &got, nullptr)) {
    const DWORD code = GetLastError();
    if (code == ERROR_HANDLE_EOF) return 0;
    error_ = SystemMessage(code);
    return -1;
  }
  return static_cast<std::ptrdiff_t>(got);
}

void InputFile::Close() {
  if (handle_ != kNoHandle) CloseHandle(H(handle_));
  handle_ = kNoHandle;
}

OutputFile::~OutputFile() { Discard(); }

OpenResult OutputFile::Open(const std::string& path, const FileIdentity& input) {
  // OPEN_ALWAYS rather than CREATE_ALWAYS: the file is emptied only once it is known not to be the input.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenResult::Failed;
  FileIdentity id;
  if (!IdentityOf(h, id)) {
    CloseHandle(h);
    return OpenResult::Failed;
  }
  if (id == input) {
    CloseHandle(h);
    return OpenResult::SameAsInput;
  }
  if (!SetEndOfFile(h)) {  // at position 0: empties an older file of the same name
    CloseHandle(h);
    return OpenResult::Failed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
  path_ = path;
  return OpenResult::Opened;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD done = 0;
    if (!WriteFile(H(handle_), p, chunk, &done, nullptr) || done == 0) return false;
    p += done;
    size -= done;
  }
  return true;
}

bool OutputFile::Close() {
  if (handle_ == kNoHandle) return false;
  const BOOL ok = CloseHandle(H(handle_));
  handle_ = kNoHandle;
  if (!ok) {
    DeleteFileA(path_.c_str());
    return false;
  }
  return true;
}

void OutputFile::Discard() {
  if (handle_ == kNoHandle) return;
  CloseHandle(H(handle_));
  handle_ = kNoHandle;
  DeleteFileA(path_.c_str());
}
