// The few things that differ between the Windows and the POSIX build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "finder/names.h"
#include "finder/texts.h"

// Backslash only on Windows; '/' on POSIX, where names are UTF-8.
PathRules SystemPathRules();
// Shift_JIS on Windows, UTF-8 on POSIX.
const Texts& SystemTexts();

// Which file a handle refers to, whatever name reached it.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// A file opened for reading from start to end. Closed by its destructor.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // False with a reason when the path cannot be opened, or names a directory.
  bool Open(const std::string& path, std::string& error);
  // Bytes read, 0 at the end, -1 on a read error (see LastError).
  std::ptrdiff_t Read(void* buffer, std::size_t size);
  void Close();
  std::uint64_t Size() const { return size_; }
  const FileIdentity& Identity() const { return identity_; }
  const std::string& LastError() const { return error_; }

 private:
  std::intptr_t handle_ = -1;
  std::uint64_t size_ = 0;
  FileIdentity identity_;
  std::string error_;
};

enum class OpenResult { Opened, SameAsInput, Failed };

// A picture being written. Never truncates the file it is told to protect.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // removes the file unless Close succeeded

  // Creates the file or empties an existing one, unless it is `input`.
  OpenResult Open(const std::string& path, const FileIdentity& input);
  bool Write(const void* data, std::size_t size);
  // False when the last bytes could not be stored; the file is then removed.
  bool Close();
  // Closes and removes a partly written file.
  void Discard();

 private:
  std::intptr_t handle_ = -1;
  std::string path_;
};
