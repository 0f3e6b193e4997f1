// What the tool's path commands (xml select, test, match) share: the loaded document and
// the context node a query starts from.
#ifndef QUILLET_TOOL_XMLPATHCONTEXT_H
#define QUILLET_TOOL_XMLPATHCONTEXT_H

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include "XmlDocumentLoad.h"
#include "quillet/xml/DOMNode.h"

namespace quillet::tool {

struct PathContextOptions {
  LoadOptions load;
  std::optional<std::string> context;  // a path from the document, UTF-8
};

// Adds FILE, the load switches and --context PATH2 to `cmd`.
void AddPathContextOptions(CLI::App* cmd, PathContextOptions& options);

struct PathContext {
  DocumentPtr doc;
  xml::CDOMNode* node = nullptr;  // the document, or the first node --context selects
};

// Loads the file as LoadForTool does and finds the context node. On failure returns
// false after saying why on standard error, with `exitCode` set: the load's code, or
// kExitFailed when the context path fails or selects nothing.
bool LoadPathContext(const PathContextOptions& options, PathContext& context, int& exitCode);

// Reports on standard error that `expression` (its first 80 bytes) could not be
// evaluated; returns kExitFailed.
int PathEvaluationFailed(const std::string& expression);

}  // namespace quillet::tool

#endif
