// Values one window hands to the next one it opens: the edit and form modes set before an entry window opens, the
// bitmap last chosen with a photo dialog and the class last chosen in a student picker. Defined once in handover.cpp.
#pragma once
#include <string>

extern int gEditMode;                 // 0 add, 1 edit
extern std::string gFormMode;         // mode text handed to the next window
extern std::string gPhotoPath;        // bitmap last chosen with a photo dialog
extern std::string gPickClass;        // class chosen in a student picker
extern std::string gLastKey;          // HHmmss of the last payment save (the KWITANSI receipt prints them); the
                                      // payment report keeps the key of its previous row in it
