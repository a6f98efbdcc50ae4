#pragma once

#include <iosfwd>
#include <optional>
#include <span>

namespace tarvelo {

// Answers the arguments after the program's name: --help (-h) and --version (-v) print
// to `out`, anything else is refused with one line on `err`. Returns the exit status
// when the command line has been answered, or nothing when the dialog is to open.
[[nodiscard]] std::optional<int> AnswerCommandLine(std::span<const char* const> arguments,
                                                   std::ostream& out, std::ostream& err);

// Runs the program: answers the command line, then shows the dialog until it ends.
// Returns the exit status; a desktop that cannot be reached gives one line and 1.
int Start(int argc, char* argv[]);

}  // namespace tarvelo
