#include "tests/TestSupport.h"

#include <unistd.h>

#include <filesystem>

namespace zemra::test {

std::string TempPath(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zemra-tests-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

}  // namespace zemra::test
