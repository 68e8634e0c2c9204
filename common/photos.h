// The photo files of students and operators ("image/<id>.bmp"): a bitmap the operator chose in a photo dialog is
// brought in as that person's photo when the person is saved, in place of the photo the person had.
#pragma once
#include <string>

// Copies `source` to `target`, replacing the file `target` holds. The copy is written beside the target first and
// then put in its place, so that a copy that fails half-way leaves the old photo whole. Nothing is made when `source`
// or `target` is empty, `source` cannot be read or the target's folder is missing (no folder is made). True when
// `target` then holds the copy (also when `source` is `target` itself).
bool FinReplacePhoto(const std::string& source, const std::string& target);
