#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

PathRules SystemPathRules() { return PathRules{'/', true}; }

const Texts& SystemTexts() { return kUtf8Texts; }

namespace {

FileIdentity IdentityOf(const struct stat& st) {
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    error = std::strerror(errno);
    ::close(fd);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = std::strerror(EISDIR);
    ::close(fd);
    return false;
  }
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  handle_ = fd;
  size_ = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  identity_ = IdentityOf(st);
  return true;
}

std::ptrdiff_t InputFile::Read(void* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(Fd(handle_), buffer, size);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    error_ = std::strerror(errno);
    return -1;
  }
}

void InputFile::Close() {
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = -1;
}

OutputFile::~OutputFile() { Discard(); }

OpenResult OutputFile::Open(const std::string& path, const FileIdentity& input) {
  // Opened without O_TRUNC and compared on the open file itself: emptying it first would have
  // emptied the input when the name reaches it (a link, another case, the same name), and a
  // lookup before the open could be outdated by the time of the open. Then emptied by hand.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return OpenResult::Failed;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return OpenResult::Failed;
  }
  if (IdentityOf(st) == input) {
    ::close(fd);
    return OpenResult::SameAsInput;
  }
  if (S_ISREG(st.st_mode) && st.st_size > 0 && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return OpenResult::Failed;
  }
  handle_ = fd;
  path_ = path;
  return OpenResult::Opened;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(Fd(handle_), p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool OutputFile::Close() {
  if (handle_ < 0) return false;
  const int rc = ::close(Fd(handle_));
  handle_ = -1;
  if (rc != 0) {
    ::unlink(path_.c_str());
    return false;
  }
  return true;
}

void OutputFile::Discard() {
  if (handle_ < 0) return;
  ::close(Fd(handle_));
  handle_ = -1;
  ::unlink(path_.c_str());
}
