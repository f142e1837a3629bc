// Debian's wasm32 C++ ABI library has no exceptions. The standard library still names the two
// functions a throw calls; nothing in loadcalc throws, and if the library ever does (a failed
// allocation), the program stops there rather than carrying on in a state no one checked.
#include <cstddef>
#include <cstdlib>

extern "C" {

void* __cxa_allocate_exception(std::size_t) noexcept {
  std::abort();
}

[[noreturn]] void __cxa_throw(void*, void*, void (*)(void*)) {
  std::abort();
}
}
