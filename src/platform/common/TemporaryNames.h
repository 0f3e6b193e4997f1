// The names of the temporaries that saves write beside a file: "<name>.<16 hex
// digits>.qtmp", random so that no other process can guess or take one in advance.
#ifndef QUILLET_PLATFORM_COMMON_TEMPORARYNAMES_H
#define QUILLET_PLATFORM_COMMON_TEMPORARYNAMES_H

#include <string>

namespace quillet::platform::detail {

// A new temporary name for the file `path` (same folder): `path` + "." + tag + ".qtmp".
std::string NewTemporaryName(const std::string& path);

// Whether `name` (a bare file name) is one that NewTemporaryName gives for a file
// named `base`.
bool IsTemporaryName(const std::string& name, const std::string& base);

}  // namespace quillet::platform::detail

#endif
