/* A plug-in library that loads but does not export sData. */
__attribute__((visibility("default"))) const char* sDataMissing(void) { return "0"; }
