#pragma once

namespace artwheel {

// [SkillPanel] Enable as it stands in the file now. Read again only when the
// file's size or last-write time changed: the profile read costs tens of
// microseconds under the frame, a file-attribute query a fraction of that.
bool SkillPanelEnabledInFile(const char* iniPath);

}  // namespace artwheel
