// What both export plug-ins need of the machine they run on: the folder they were loaded from (the program folder,
// where "Lap.html" is written and "Lap.xlt" is read) and the desktop's default program. Compiled into each plug-in
// with hidden visibility, so each finds its own folder.
#pragma once
#include <string>

// The folder of the library that holds this code, without a trailing "/" ("/" itself for the root; "." when unknown).
std::string PluginFolder();

// The file `name` in `folder` (a folder as PluginFolder gives it, "/" included).
std::string PluginFile(const std::string& folder, const std::string& name);

// Opens a file with the desktop's default program: the desktop opener "xdg-open", looked up along PATH, is started
// with the path as its one argument (never shell text) and left to run on its own: the caller does not wait for it
// (nor for the program it starts, which may stay open for as long as the operator looks at the file), and it is
// never left behind as a zombie of the caller's process. True when the opener was started; false when there is no
// opener that can be run (the caller tells the operator).
bool PluginOpenWithDesktop(const std::string& path);
