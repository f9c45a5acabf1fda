#pragma once

#include <cstddef>
#include <vector>

#include "base/string.h"
#include "config/config_data.h"

// The template folder and what the tray's template menu lists from it.

// The folder "template" beside the program, with its trailing separator.
Ostra::String templateFolder();

// The templates the tray's menu offers: the names of the folder's "*.tpt"
// files without the extension, sorted, at most limit; none when the folder
// cannot be read.
std::vector<Ostra::String> templateMenuNames(const Ostra::String& folder, size_t limit);

// How long the settings count, as the template menu shows it: "4分",
// "1時間30分", "45秒", "0秒"; in time-of-day mode the time, "14:30" (with
// ":05" when the seconds are not 0).  Throws where a key is malformed.
Ostra::String durationText(const Ostra::CConfigData& settings);
// The template menu's item texts for the named templates of folder: each name,
// cut to 40 characters with "…" when longer, then a tab and the duration it
// would count, read as its start reads it (over the defaults and the
// default-settings file); no tab nor duration for a file that cannot be read
// or holds a malformed value.
std::vector<Ostra::String> templateMenuTexts(const Ostra::String& folder, const std::vector<Ostra::String>& names);
