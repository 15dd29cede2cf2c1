#include "fixtures.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

std::string EyeBitmap(const char* resource) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, resource, RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw std::runtime_error("no resource");
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

std::string ExtendedOnlyBitmap() {
  std::string bmp = EyeBitmap("EYE_NORMAL");
  // bfSize (offset 2) two bytes more than the dimensions give: the normal test wants them equal.
  std::uint32_t size;
  std::memcpy(&size, bmp.data() + 2, 4);
  size += 2;
  std::memcpy(bmp.data() + 2, &size, 4);
  return bmp + "xx";
}

std::string FileWithPictures(int count) {
  std::string file = "MZ no picture here";
  for (int i = 0; i < count; ++i) file += EyeBitmap("EYE_WIN") + "between pictures";
  return file;
}

TempFolder::TempFolder(std::string_view name) {
  char temp[MAX_PATH + 1];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + std::string(name) + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  // Two levels are all the tests make.
  const auto clear = [](const std::string& folder, auto& self) -> void {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        self(path, self);
        RemoveDirectoryA(path.c_str());
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  };
  clear(path_, clear);
  RemoveDirectoryA(path_.c_str());
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = path_ + "\\" + std::string(name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

bool TempFolder::Exists(std::string_view name) const {
  return GetFileAttributesA((path_ + "\\" + std::string(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder::MakeFolder(std::string_view name) const {
  const std::string path = path_ + "\\" + std::string(name);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}
