#include "app/startup_load.h"

#include <utility>

#include "app/settings.h"
#include "app/template_list.h"
#include "base/environment.h"
#include "base/path.h"

using Ostra::CConfigData;
using Ostra::String;

StartupFailures loadStartupSettings(CConfigData& settings, const String& startupFile, String* loadedTemplate,
                                    StartupName naming) {
  StartupFailures failures;
  writeDefaults(settings);
  // Only a first start creates the file: one that is there but cannot be read
  // now (held by another program, locked, too large) keeps the user's settings.
  switch (settings.readDefault()) {
    case Ostra::LoadResult::Loaded:
      // A typo in one line costs that setting, not the others.
      failures.malformedDefault = defaultMalformedSettings(settings);
      break;
    case Ostra::LoadResult::Missing:
      settings.saveDefault();
      break;
    case Ostra::LoadResult::Failed:
      failures.defaultFile = Ostra::defaultConfigPath();
      break;
  }
  if (startupFile.empty()) return failures;
  // A listed file's name is no text to expand: "%WINDIR%.tpt" is that file.
  const String path = naming == StartupName::Literal ? Ostra::resolveLiteralPath(startupFile, templateFolder())
                                                     : Ostra::resolvePath(startupFile, templateFolder());
  // Over a copy: a malformed template changes nothing, as one that cannot be read.
  CConfigData withTemplate = settings;
  const Ostra::LoadResult asNamed = withTemplate.read(path);
  const String withExtension = Ostra::changeExtension(path, u"tpt");
  const Ostra::LoadResult second = asNamed == Ostra::LoadResult::Loaded ? asNamed : withTemplate.read(withExtension);
  if (second == Ostra::LoadResult::Loaded) {
    failures.malformedStartup = defaultMalformedSettings(withTemplate);
    if (!failures.malformedStartup.empty()) return failures;
    settings = std::move(withTemplate);
    if (loadedTemplate != nullptr) *loadedTemplate = asNamed == Ostra::LoadResult::Loaded ? path : withExtension;
    return failures;
  }
  // The box names a file that is there but could not be read, when one is.
  const bool onlyTheFirstIsThere = asNamed == Ostra::LoadResult::Failed && second == Ostra::LoadResult::Missing;
  failures.startupFile = onlyTheFirstIsThere ? path : withExtension;
  return failures;
}
