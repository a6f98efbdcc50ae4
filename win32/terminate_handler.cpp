// GNU's C++ library terminates by default through a handler that names the uncaught
// exception's type on standard error, with a demangler of about 45 KB. A windowed program
// has no standard error to show it on, so this one ends the program through abort alone,
// as that handler does after printing, and the demangler stays out of the exe.
//
// The library's containers report a failed allocation or an impossible length through the
// functions below, which build exceptions holding a message string and so bring in the
// library's string code, about 50 KB. Nothing in the program catches those exceptions:
// they would reach the handler above, so these functions end the program the same way.
#include <cstdlib>

// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,cert-dcl58-cpp)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char* /*what*/) { std::abort(); }
void __throw_logic_error(const char* /*what*/) { std::abort(); }
void __throw_out_of_range_fmt(const char* /*format*/, ...) { std::abort(); }
}  // namespace std
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,cert-dcl58-cpp)
