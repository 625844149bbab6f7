// Writing whole text files safely: every writer of the program (parameter file, data file,
// picture) goes through WriteTextFile, so a failure is reported the same way everywhere and never
// leaves a half-written or emptied file behind.
#pragma once

#include <string>

namespace zemra {

// Writes `text` to `path` atomically: into a new file in the same folder, renamed over `path`
// only when everything was written and closed. On any failure the old file (if any) is
// untouched, the temporary file is removed, and RuntimeError is raised with the system's
// description of the failure (e.g. "No such file or directory"). A symbolic link is followed, so
// the file it points to is replaced and the link stays.
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace zemra
