// Whole-file reading and writing for the tool's commands, through the platform layer.
// Paths are host paths (for a Windows path, ask quillet::platform::HostPath first).
#ifndef QUILLET_TOOL_HOSTFILES_H
#define QUILLET_TOOL_HOSTFILES_H

#include <string>

namespace quillet::tool {

// Reads the whole file into `bytes`. False, with a sentence for the user in `error`,
// when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Makes `path` hold exactly `bytes` through a platform::FileReplacement: a failure at
// any point leaves `path` as it was (absent, or with its old bytes) and no temporary
// behind, a link stays a link, and a `path` that is not a regular file is refused.
// Missing parent directories are created first. False, with `error` set, on failure.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace quillet::tool

#endif
