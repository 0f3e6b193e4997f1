#include "XmlDocumentLoad.h"

#include <iostream>

#include "platform/Platform.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet::tool {

void AddLoadOptions(CLI::App* cmd, LoadOptions& options, const std::string& fileName) {
  cmd->add_option(fileName, options.file, "The XML file to load")->required();
  cmd->add_flag("--preserve-space", options.preserveSpace, "Keep white space and line ends in element content");
  cmd->add_flag("--no-expand-cdata", options.noExpandCDATA, "Keep CDATA sections as nodes of their own");
}

DocumentPtr LoadForTool(const LoadOptions& options, xml::XMLDeclInfo& info, int& exitCode) {
  // The load opens the file again, so it must be a file that reads the same twice: a
  // folder (which opens but reads as nothing, an empty document) and a pipe (whose
  // bytes the probe would take, and whose second open may wait forever) are refused
  // with a missing file as unreadable input.
  const int probe = platform::OpenForReading(options.file);
  unsigned char byte = 0;
  const bool readable =
      probe >= 0 && platform::ReadFile(probe, &byte, 1) >= 0 && platform::SeekFile(probe, 0) == 0;
  if (probe >= 0) platform::CloseFile(probe);
  if (!readable) {
    std::cerr << "quillet: cannot read " << options.file << "\n";
    exitCode = kExitUsage;
    return nullptr;
  }

  info = xml::XMLDeclInfo{};
  info.expandCDATA = !options.noExpandCDATA;
  info.preserveSpace = options.preserveSpace;
  xml::ReplacePendingParseError(nullptr);
  DocumentPtr doc(xml::LoadDocument(platform::MultiByteToWide(options.file), info));
  if (!doc) {
    const std::unique_ptr<xml::CSAXParseException> error = xml::TakePendingParseError();
    std::cerr << (error ? xml::U16ToUtf8(xml::FormatParseErrorText(*error)) : std::string("NO LAST ERROR\n"));
    exitCode = kExitFailed;
  }
  return doc;
}

}  // namespace quillet::tool
