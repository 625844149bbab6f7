// zemra-cli: the workbench's command set from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "platform/StartHeap.h"

int main(int argc, char** argv) {
    zemra::PrepareHugePageHeap();  // before the workbench allocates its arrays
    std::vector<std::string> tokens(argv + 1, argv + argc);
    if (tokens.empty()) {
        std::cout << zemra::CliUsage();
        return 0;
    }
    return zemra::RunCli(tokens, std::cout, std::cerr);
}
