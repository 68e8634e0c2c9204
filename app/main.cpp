#include "app/startup.h"

int main(int argc, char** argv) { AppMain(argc, argv); }
