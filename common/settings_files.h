// The one-line settings files: reading the lines of a text file, writing a file of one line, the program folder's
// copy of a file and the receipt settings line the receipt settings window writes.
#pragma once
#include <string>
#include <vector>

// The whole of a file into `text`, a UTF-8 byte-order mark at its start dropped. False when it cannot be read.
bool AppReadWholeFile(const std::string& path, std::string& text);

// The lines of a text file: a line ends at a line feed, a carriage return before it is dropped; a final line feed
// starts no further line. Nothing when the file cannot be read.
bool AppReadLines(const std::string& path, std::vector<std::string>& lines);

// Writes `line` + CR LF as the whole file (replacing it). True when written.
bool AppWriteLineFile(const std::string& path, const std::string& line);

// The program folder + "/" + name.
std::string AppProgramFile(const std::string& name);

// Writes `line` as the program folder's setting_struk.txt (the receipt settings window writes its fields' texts).
bool AppWriteStrukLine(const std::string& line);
