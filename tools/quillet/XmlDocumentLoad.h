// Loading a file for the tool's document commands (xml tree, format, serialize) as the
// library loads collection files, with failures reported to the user.
#ifndef QUILLET_TOOL_XMLDOCUMENTLOAD_H
#define QUILLET_TOOL_XMLDOCUMENTLOAD_H

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/XMLDeclInfo.h"

namespace quillet::tool {

constexpr int kExitFailed = 1;  // the file did not load, or the result could not be written
constexpr int kExitUsage = 2;   // bad arguments or unreadable input

struct DocumentReleaser {
  void operator()(xml::CDOMDocument* d) const { d->release(); }
};
using DocumentPtr = std::unique_ptr<xml::CDOMDocument, DocumentReleaser>;

struct LoadOptions {
  std::string file;
  bool preserveSpace = false;
  bool noExpandCDATA = false;
};

// Adds FILE, --preserve-space and --no-expand-cdata to `cmd` (FILE under `fileName`).
void AddLoadOptions(CLI::App* cmd, LoadOptions& options, const std::string& fileName = "FILE");

// Loads `options.file` with the declaration info a new collection record starts with,
// its two load settings taken from the options; `info` then holds what the load found.
// On failure returns null after printing on standard error either "cannot read FILE"
// (exit code kExitUsage) or the three-line parse-error text, "NO LAST ERROR" when
// there is none (exit code kExitFailed), and sets `exitCode`.
DocumentPtr LoadForTool(const LoadOptions& options, xml::XMLDeclInfo& info, int& exitCode);

}  // namespace quillet::tool

#endif
