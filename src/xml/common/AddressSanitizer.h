// Whether the address sanitizer instruments this build (QUILLET_ADDRESS_SANITIZER), and
// how a function tells it not to look at the memory it reads.
#ifndef QUILLET_XML_COMMON_ADDRESSSANITIZER_H
#define QUILLET_XML_COMMON_ADDRESSSANITIZER_H

#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_ADDRESS_SANITIZER 1
#endif
#endif

#if !defined(QUILLET_ADDRESS_SANITIZER)
#define QUILLET_NO_SANITIZE_ADDRESS
#elif defined(_MSC_VER) && !defined(__clang__)
#define QUILLET_NO_SANITIZE_ADDRESS __declspec(no_sanitize_address)
#else
#define QUILLET_NO_SANITIZE_ADDRESS __attribute__((no_sanitize_address))
#endif

#endif
