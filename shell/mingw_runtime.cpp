// Two pieces of the statically linked GNU runtime replaced by smaller ones (MinGW builds
// only). Linked into each program as an object of its own, ahead of the runtime's archives:
// from an archive of ours, the linker would take the runtime's pieces instead.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>

#if !defined(__MINGW32__) || !defined(__GLIBCXX__)
#error "only for MinGW builds with libstdc++"
#endif

// libstdc++'s default terminate handler, which every std::terminate() reaches unless the
// program sets another. The runtime's own prints the escaping exception's type with its
// demangler (45 KiB) to a standard error a windowed program does not have, then aborts.
// Here it only aborts: the program ends at once (exit code 3), whichever thread threw.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

// MinGW's sprintf, with its own floating-point formatting (22 KiB). Only std::to_chars for
// long double calls it (libstdc++ formats long double through sprintf), and the programs
// format only double; sprintf itself is not used here (its buffer can overflow). Should
// either ever reach it, the program ends rather than write digits nobody checked.
extern "C" int __cdecl __mingw_vsprintf(char*, const char*, va_list) {
  std::abort();
}
