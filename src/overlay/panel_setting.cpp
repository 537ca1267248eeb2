#include "overlay/panel_setting.h"

#include <windows.h>

#include <cstring>

#include "core/text_format.h"

namespace artwheel {
namespace {

struct PanelSettingCache {
  char path[260] = {};
  FILETIME lastWrite = {};
  DWORD sizeLow = 0;
  DWORD sizeHigh = 0;
  bool known = false;
  bool enabled = false;
};

PanelSettingCache cache;  // render thread only

}  // namespace

bool SkillPanelEnabledInFile(const char* iniPath) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  if (!GetFileAttributesExA(iniPath, GetFileExInfoStandard, &attributes)) {
    cache.known = false;
    return GetPrivateProfileIntA("SkillPanel", "Enable", 0, iniPath) != 0;
  }
  const bool unchanged = cache.known && std::strcmp(cache.path, iniPath) == 0 &&
                         CompareFileTime(&cache.lastWrite, &attributes.ftLastWriteTime) == 0 &&
                         cache.sizeLow == attributes.nFileSizeLow &&
                         cache.sizeHigh == attributes.nFileSizeHigh;
  if (unchanged) return cache.enabled;
  cache.enabled = GetPrivateProfileIntA("SkillPanel", "Enable", 0, iniPath) != 0;
  cache.known = FormatText(cache.path, sizeof cache.path, "%s", iniPath) >= 0;
  cache.lastWrite = attributes.ftLastWriteTime;
  cache.sizeLow = attributes.nFileSizeLow;
  cache.sizeHigh = attributes.nFileSizeHigh;
  return cache.enabled;
}

}  // namespace artwheel
