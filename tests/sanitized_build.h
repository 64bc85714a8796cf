// Whether this build runs with AddressSanitizer, for the tests that cannot
// run under it or only under it.
#ifndef SANITIZED_BUILD_H
#define SANITIZED_BUILD_H

// True in the build with AddressSanitizer, where the programs the tests run
// are built with it too.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized_build = true;
#elif defined(__has_feature)
constexpr bool sanitized_build = __has_feature(address_sanitizer);
#else
constexpr bool sanitized_build = false;
#endif

#endif  // SANITIZED_BUILD_H
