#pragma once

#include <string>

namespace platform {

// Folders the editor offers to plug-ins. Each answer ends in a separator, or
// is empty when the system cannot tell.

// The folder of the running program (the host).
std::string HostPath();
// The folder of the module this code is linked into: the plug-in module in a
// deliverable, the program itself when the code is linked into a program.
std::string PluginPath();
// The user's desktop folder.
std::string DesktopPath();
// Where applications keep their data: shared by every user of the machine
// when system is true, else the current user's own.
std::string AppDataPath(bool system);
// The current user's application-data folder (AppDataPath(false)).
std::string UserAppDataPath();

}  // namespace platform
