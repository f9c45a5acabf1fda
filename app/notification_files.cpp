#include "app/notification_files.h"

#include "base/environment.h"
#include "base/shell.h"

using Ostra::String;

String programToLaunch(const String& named) { return Ostra::findProgram(Ostra::resolvePath(named, String())); }

String soundToPlay(const String& named) { return Ostra::resolveFromExecutable(named); }
