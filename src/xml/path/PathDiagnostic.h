// The path language's diagnostic lines.
#ifndef QUILLET_XML_PATH_PATHDIAGNOSTIC_H
#define QUILLET_XML_PATH_PATHDIAGNOSTIC_H

#include <cstdio>

namespace quillet::xml {

// Writes line to standard output, where callers have always seen these lines; nothing
// reads them back and the caller learns of the failure only by its status.
inline void PrintPathDiagnostic(const char* line) {
  std::fputs(line, stdout);
  std::fflush(stdout);
}

}  // namespace quillet::xml

#endif
