// The program's entry: the run's state prepared before any window, then the main window's loop.
#pragma once
#include <cstdint>

// Prepares the run (school year, conn.txt, the database, receipt settings) and shows the main window; ends the
// process with its exit code (0 after the main window closed).
[[noreturn]] void AppMain(int argc, char** argv);
// Starts the windows: control ids, the rich-edit class, then the main window shown maximised and modal. Returns the
// exit code: gFormResult once the main window's loop has ended.
int AppRunGui(std::intptr_t instance, std::intptr_t prevInstance, const char* commandLine, int showCommand);
// Called just before the main window is shown; 0 lets it show.
int AppPreStartHook(std::intptr_t instance, std::intptr_t prevInstance, const char* commandLine, int showCommand);
// Every control-id global of the forms that keep their ids in globals.
void AppInitControlIds();
