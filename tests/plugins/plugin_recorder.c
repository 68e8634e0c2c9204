/* A plug-in that records how it was called: sData writes its arguments into the file named by FIN_PLUGIN_RECORD,
   one per line, the first two as texts (FIN_PLUGIN_RECORD_INTS unset) or as integers (FIN_PLUGIN_RECORD_INTS set),
   the third always as text; then returns "ok". */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

static const char* Text(intptr_t p) { return p ? (const char*)p : "<null>"; }

__attribute__((visibility("default"))) const char* sData(intptr_t a, intptr_t b, intptr_t c) {
  const char* path = getenv("FIN_PLUGIN_RECORD");
  FILE* f = path ? fopen(path, "wb") : NULL;
  if (!f) return "no record";
  if (getenv("FIN_PLUGIN_RECORD_INTS"))
    fprintf(f, "%ld\n%ld\n%s\n", (long)a, (long)b, Text(c));
  else
    fprintf(f, "%s\n%s\n%s\n", Text(a), Text(b), Text(c));
  fclose(f);
  return "ok";
}
