// Two pieces of the statically linked GNU runtime replaced by smaller ones (MinGW builds
// only). Linked into each program as an object of its own, ahead of the runtime's archives:
// from an archive of ours, the linker would take the runtime's pieces instead.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

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

// The containers' and strings' own errors, which libstdc++ throws as std::length_error,
// std::out_of_range and the rest, each carrying a message built in a string type of its own
// (30 KiB of the runtime for texts nobody reads). In this program they can only mean that a
// text or a tape would grow beyond what memory holds, or a part asked for that is not there:
// either way the operation cannot be done, and it is refused whole, as when memory runs out
// ("memory allocate error!"), with everything as it was.
namespace std {
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_alloc();
}
void __throw_length_error(const char*) {
  throw bad_alloc();
}
void __throw_logic_error(const char*) {
  throw bad_alloc();
}
void __throw_out_of_range(const char*) {
  throw bad_alloc();
}
void __throw_out_of_range_fmt(const char*, ...) {
  throw bad_alloc();
}
void __throw_invalid_argument(const char*) {
  throw bad_alloc();
}
void __throw_domain_error(const char*) {
  throw bad_alloc();
}
void __throw_range_error(const char*) {
  throw bad_alloc();
}
void __throw_overflow_error(const char*) {
  throw bad_alloc();
}
void __throw_underflow_error(const char*) {
  throw bad_alloc();
}
void __throw_runtime_error(const char*) {
  throw bad_alloc();
}
void __throw_bad_cast() {
  throw bad_alloc();
}
void __throw_bad_typeid() {
  throw bad_alloc();
}
void __throw_bad_exception() {
  throw bad_alloc();
}
}  // namespace std
