#include "XmlDocumentLoad.h"

#include <cerrno>
#include <iostream>

#include "CommandSupport.h"
#include "collection/CodePageText.h"
#include "platform/Platform.h"
#include "xml/common/U16String.h"

namespace quillet::tool {

CLI::Option* AddCodePageOption(CLI::App* cmd, unsigned& codePage, const std::string& help) {
  return cmd->add_option("--code-page", codePage, help)->type_name("N")->check([](const std::string& text) {
    try {
      const unsigned long n = std::stoul(text);
      if (n > 0 && n <= 65535 && platform::CodePageSupported(static_cast<unsigned>(n))) return std::string();
    } catch (const std::exception&) {
    }
    return "code page " + text + " is not supported here";
  });
}

void AddLoadOptions(CLI::App* cmd, LoadOptions& options, const std::string& fileName) {
  cmd->add_option(fileName, options.file, "The XML file to load")->required();
  cmd->add_flag("--preserve-space", options.preserveSpace, "Keep white space and line ends in element content");
  cmd->add_flag("--no-expand-cdata", options.noExpandCDATA, "Keep CDATA sections as nodes of their own");
  AddCodePageOption(cmd, options.codePage,
                    "Read (and write) HTML Help's <XML> form in this Windows code page, as the collection commands do");
}

DocumentPtr LoadForTool(const LoadOptions& options, xml::XMLDeclInfo& info, int& exitCode) {
  // The load opens the file again, so it must be a file that reads the same twice: a
  // folder and a pipe (whose bytes the probe would take, and whose second open may
  // wait forever) are refused as unreadable input.
  const std::string file = ToAnsi(options.file);
  if (const std::string kind = platform::NotARegularFile(file); !kind.empty()) {
    std::cerr << "quillet: cannot read " << options.file << ": it is " << kind << ", not a file\n";
    exitCode = kExitUsage;
    return nullptr;
  }
  const int probe = platform::OpenForReading(file);
  const int why = errno;
  unsigned char byte = 0;
  const bool readable =
      probe >= 0 && platform::ReadFile(probe, &byte, 1) >= 0 && platform::SeekFile(probe, 0) == 0;
  if (probe >= 0) platform::CloseFile(probe);
  if (!readable) {
    std::cerr << "quillet: cannot read " << options.file;
    if (probe < 0) std::cerr << ": " << platform::SystemErrorText(why);
    std::cerr << "\n";
    exitCode = kExitUsage;
    return nullptr;
  }

  info = xml::XMLDeclInfo{};
  info.expandCDATA = !options.noExpandCDATA;
  info.preserveSpace = options.preserveSpace;
  xml::LoadResult loaded = xml::LoadDocumentFile(platform::AnsiToWide(file), info);
  if (!loaded) {
    std::cerr << "quillet: " << options.file;
    if (loaded.parseError) {
      const xml::CSAXParseException& e = *loaded.parseError;
      // One line: a message ends at a NUL or line end it may carry.
      std::string message = xml::U16ToUtf8(e.getMessage());
      message = message.substr(0, message.find_first_of(std::string("\0\r\n", 3)));
      if (message.empty()) message = "not well-formed XML";  // some errors carry no text
      std::cerr << ": line " << e.getLineNumber() << ", column " << e.getColumnNumber() << ": " << message
                << " (code " << e.getCode() << ")\n";
      exitCode = kExitFailed;
    } else {
      std::cerr << ": cannot be read: " << platform::SystemErrorText(loaded.openError) << "\n";
      exitCode = kExitUsage;
    }
    return nullptr;
  }
  if (options.codePage != 0 && info.encoding == xml::kCompatibilityEncoding)
    DecodeSingleByteTexts(loaded.document.get(), options.codePage);
  return std::move(loaded.document);
}

}  // namespace quillet::tool
