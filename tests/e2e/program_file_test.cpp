// The program files carry the window icon, the manifest that selects version 6
// of the common controls, and the version Windows shows in their properties.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
  // Per-monitor DPI awareness, and Windows 7, 8, 8.1, 10 and 11 as supported systems.
  for (const char* entry :
       {">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
  }
}

// A string of the version resource's US English / Windows Latin-1 table.
std::string VersionString(const std::vector<char>& info, const std::string& name) {
  std::string path = "\\StringFileInfo\\040904E4\\" + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      length == 0) {
    return "<none>";
  }
  return std::string(value, length - 1);
}

struct VersionedFile {
  const char* name;
  std::string path;
};

void PrintTo(const VersionedFile& file, std::ostream* out) {
  *out << file.name;
}

class VersionResource : public ::testing::TestWithParam<VersionedFile> {};

TEST_P(VersionResource, NamesProductMakerAndVersion) {
  const std::string& path = GetParam().path;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
  ASSERT_GT(size, 0u) << "no version resource in " << path;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
  EXPECT_EQ(VersionString(info, "ProductName"), "Velkor - IPv4 Subnetting");
  EXPECT_EQ(VersionString(info, "CompanyName"), "Orvantis");
  EXPECT_EQ(VersionString(info, "FileVersion"), "1.0.2.1");
  EXPECT_EQ(VersionString(info, "ProductVersion"), "1.0.2.1");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00020001u);  // .2.1
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
}

INSTANTIATE_TEST_SUITE_P(ProgramFiles, VersionResource,
                         ::testing::Values(VersionedFile{"Desktop", ProgramPath()},
                                           VersionedFile{"CommandLine", CommandLinePath()}),
                         [](const ::testing::TestParamInfo<VersionedFile>& row) {
                           return row.param.name;
                         });

}  // namespace
