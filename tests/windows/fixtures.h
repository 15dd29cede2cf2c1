// Files the main window's tests scan, made from the eye pictures this executable carries.
#pragma once

#include <string>
#include <string_view>

// The whole BMP file of an eye picture resource (EYE_WIN, ...).
std::string EyeBitmap(const char* resource);
// The same bitmap with a declared size that only the extended mode accepts.
std::string ExtendedOnlyBitmap();
// `count` pictures, each after some bytes that are no picture.
std::string FileWithPictures(int count);

// A fresh empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  explicit TempFolder(std::string_view name);
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();
  const std::string& Path() const { return path_; }
  // Writes `bytes` to the file `name` in this folder; gives its full path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  bool Exists(std::string_view name) const;
  // Makes the folder `name` in this one; gives its full path.
  std::string MakeFolder(std::string_view name) const;

 private:
  std::string path_;
};
