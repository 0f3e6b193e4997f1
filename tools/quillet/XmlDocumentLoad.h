// Loading a file for the tool's document commands (xml tree, format, serialize) as the
// library loads collection files, with failures reported to the user.
#ifndef QUILLET_TOOL_XMLDOCUMENTLOAD_H
#define QUILLET_TOOL_XMLDOCUMENTLOAD_H

#include <CLI/CLI.hpp>

#include <string>

#include "Command.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/XMLDeclInfo.h"
#include "xml/dom/loader/LoadDocument.h"

namespace quillet::tool {

using xml::DocumentPtr;

struct LoadOptions {
  std::string file;
  bool preserveSpace = false;
  bool noExpandCDATA = false;
  // Read HTML Help's "<XML>" form in this Windows code page (0: byte for character,
  // as the toolkit itself reads it).
  unsigned codePage = 0;
};

// Adds --code-page N to `cmd`: a Windows code page this machine can convert.
CLI::Option* AddCodePageOption(CLI::App* cmd, unsigned& codePage, const std::string& help);

// Adds FILE, --preserve-space, --no-expand-cdata and --code-page to `cmd` (FILE under
// `fileName`).
void AddLoadOptions(CLI::App* cmd, LoadOptions& options, const std::string& fileName = "FILE");

// Loads `options.file` with the declaration info a new collection record starts with,
// its two load settings taken from the options; `info` then holds what the load found.
// On failure returns null after printing on standard error either why the file cannot
// be read (exit code kExitUsage) or where it is not well-formed: "quillet: FILE: line
// L, column C: MESSAGE (code N)" (exit code kExitFailed), and sets `exitCode`.
DocumentPtr LoadForTool(const LoadOptions& options, xml::XMLDeclInfo& info, int& exitCode);

}  // namespace quillet::tool

#endif
