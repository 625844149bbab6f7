// Writing whole text files safely: every writer of the program (parameter file, data file,
// picture) goes through WriteTextFile, so a failure is reported the same way everywhere and never
// leaves a half-written or emptied file behind.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>

namespace zemra {

// Writes `text` to `path` atomically: into a new file in the same folder, renamed over `path`
// only when everything was written and closed. On any failure the old file (if any) is
// untouched, the temporary file is removed, and RuntimeError is raised with the system's
// description of the failure (e.g. "No such file or directory"). A symbolic link is followed, so
// the file it points to is replaced and the link stays.
void WriteTextFile(const std::string& path, const std::string& text);

// The regular file at `path`, opened for reading in binary. Raises RuntimeError "File not
// found" for a missing file and "Path/File access error" for a folder, a device, a FIFO (reading
// one could wait or run without end) or a file that cannot be opened.
std::ifstream OpenRegularFile(const std::string& path);

// The whole content of the regular file at `path`, at most `limit` bytes. Raises RuntimeError
// "File not found" for a missing file, "Path/File access error" for a folder, a device or a file
// that cannot be opened (reading a device could wait without end), and "File too large" above
// the limit.
std::string ReadTextFile(const std::string& path, size_t limit);

}  // namespace zemra
