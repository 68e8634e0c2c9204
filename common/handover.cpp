#include "common/handover.h"

int gEditMode = 0;
std::string gFormMode;
std::string gPhotoPath;
std::string gPickClass;
std::string gLastKey;
