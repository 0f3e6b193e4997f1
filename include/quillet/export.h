// Symbol visibility of the library's public interface.
#ifndef QUILLET_EXPORT_H
#define QUILLET_EXPORT_H

#if defined(QUILLET_STATIC)
#define QUILLET_API
#elif defined(_WIN32)
#if defined(QUILLET_BUILDING)
#define QUILLET_API __declspec(dllexport)
#else
#define QUILLET_API __declspec(dllimport)
#endif
#else
#define QUILLET_API __attribute__((visibility("default")))
#endif

#endif
