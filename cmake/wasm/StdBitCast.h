// std::bit_cast for the WebAssembly toolchain, whose libc++ (13) predates it;
// the compiler's builtin does the work, as the library's own does. Included
// ahead of every file of that build only.
#pragma once

#include <version>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
