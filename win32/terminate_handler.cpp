// GNU's C++ library terminates by default through a handler that names the uncaught
// exception's type on standard error, with a demangler of about 45 KB. A windowed program
// has no standard error to show it on, so this one ends the program through abort alone,
// as that handler does after printing, and the demangler stays out of the exe.
#include <cstdlib>

// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
