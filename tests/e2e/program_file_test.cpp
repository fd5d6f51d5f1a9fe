// The program file carries the window icon and the manifest that selects
// version 6 of the common controls.
#include <gtest/gtest.h>

#include <string>

#include "app_driver.hpp"

namespace {

struct LoadedImage {
  HMODULE module = nullptr;
  ~LoadedImage() {
    if (module != nullptr) FreeLibrary(module);
  }
};

std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  if (found == nullptr) return "";
  HGLOBAL loaded = LoadResource(module, found);
  const char* bytes = static_cast<const char*>(LockResource(loaded));
  return bytes == nullptr ? "" : std::string(bytes, SizeofResource(module, found));
}

TEST(ProgramFile, HasIconOneAndCommonControlsSixManifest) {
  LoadedImage image;
  image.module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image.module, nullptr) << ProgramPath();
  EXPECT_NE(FindResourceA(image.module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14)), nullptr)
      << "no icon group 1";
  HICON icon = static_cast<HICON>(
      LoadImageA(image.module, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  EXPECT_NE(icon, nullptr);
  if (icon != nullptr) DestroyIcon(icon);
  std::string manifest = ResourceText(image.module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("processorArchitecture=\"*\""), std::string::npos);
}

}  // namespace
