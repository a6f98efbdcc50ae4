#pragma once

namespace tarvelo {

// Runs the program: answers the command line, then shows the dialog until it ends.
// Returns the exit status; a desktop that cannot be reached gives one line and 1.
int Start(int argc, char* argv[]);

}  // namespace tarvelo
