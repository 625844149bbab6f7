// zemra-cli: works like a user at the desktop, token by token, left to right.
//   NAME=VALUE, NAME(ROW)=VALUE  set a control as a user would, running its change handler
//   COMMAND, COMMAND=FILE        run a menu item or dialog button (file commands take the name)
// Result-window lines go to `out` as printed; each message box to `err` as "message: TEXT".
// A message box reports an error and ends the run after its token, unless the first token is
// "--keep-going". Returns 0, 1 when a message box reported an error, or 2 for a token it does
// not know or a setting the desktop would not allow (one line naming it, and a hint to --help).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zemra {

int RunCli(const std::vector<std::string>& tokens, std::ostream& out, std::ostream& err);
std::string CliUsage();

}  // namespace zemra
