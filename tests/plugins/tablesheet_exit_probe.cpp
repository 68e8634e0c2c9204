// Loads the workbook plug-in given as the first argument, exports a small list from the working folder given as the
// second, and ends the process with the plug-in still loaded (no dlclose): what a program does that exits while an
// export's library is held. Exit code 0 when every step went as it should; the plug-in's own clean-up at process
// end must then let the process finish normally.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s plugin working-folder\n", argv[0]);
    return 2;
  }
  if (chdir(argv[2]) != 0) {
    std::perror(argv[2]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 3;
  }
  using SDataFn = const char* (*)(std::intptr_t, std::intptr_t, std::intptr_t);
  auto sData = reinterpret_cast<SDataFn>(dlsym(lib, "sData"));
  if (!sData) {
    std::fprintf(stderr, "no sData\n");
    return 4;
  }
  const char* rows = "NIS,NAMA;0012,Budi Santoso";
  const char* answer = sData(1, 2, reinterpret_cast<std::intptr_t>(rows));
  if (!answer || std::strcmp(answer, "0") != 0) {
    std::fprintf(stderr, "sData answered %s\n", answer ? answer : "<null>");
    return 5;
  }
  return 0;  // the plug-in stays loaded: the process's end runs its clean-up
}
