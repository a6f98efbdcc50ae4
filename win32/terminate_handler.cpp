// GNU's C++ library terminates by default through a handler that names the uncaught
// exception's type on standard error, with a demangler of about 45 KB. A windowed program
// has no standard error to show it on, so this one ends the program through abort alone,
// as that handler does after printing, and the demangler stays out of the exe.
//
// The library's containers report a failed allocation or an impossible length through
// helpers that build exceptions holding a message string and so bring in the library's
// string code, about 60 KB. Nothing in the program catches those exceptions: they would
// reach the handler above, so the program ends the same way without building them.
//
// The linker's --wrap (win32/CMakeLists.txt) sends every reference to each library
// function below, the library's own included, to the function here whose assembler name
// is __wrap_ and the library function's; the library's definitions stay as they are, so
// a part of the library that brings them in still links. The C++ names are the
// program's own: only the symbols carry the linker's reserved prefix.
#include <cstdlib>

extern "C" {
[[noreturn]] void TarveloTerminate() asm("__wrap__ZN9__gnu_cxx27__verbose_terminate_handlerEv");
[[noreturn]] void TarveloNoMemory() asm("__wrap__ZSt17__throw_bad_allocv");
[[noreturn]] void TarveloBadArrayLength() asm("__wrap__ZSt28__throw_bad_array_new_lengthv");
[[noreturn]] void TarveloLengthError(const char*) asm("__wrap__ZSt20__throw_length_errorPKc");
[[noreturn]] void TarveloLogicError(const char*) asm("__wrap__ZSt19__throw_logic_errorPKc");
[[noreturn]] void TarveloOutOfRange(const char*,
                                    ...) asm("__wrap__ZSt24__throw_out_of_range_fmtPKcz");
}

void TarveloTerminate() { std::abort(); }
void TarveloNoMemory() { std::abort(); }
void TarveloBadArrayLength() { std::abort(); }
void TarveloLengthError(const char* /*what*/) { std::abort(); }
void TarveloLogicError(const char* /*what*/) { std::abort(); }
void TarveloOutOfRange(const char* /*format*/, ...) { std::abort(); }
