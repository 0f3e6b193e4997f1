// quillet xml format IN OUT: a file loaded and saved again, as a collection save
// writes it.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Command.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "platform/Platform.h"
#include "xml/common/U16String.h"
#include "xml/output/OutputEncoder.h"
#include "xml/output/XMLSave.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct FormatOptions {
  LoadOptions load;
  std::string out;
  std::optional<std::string> encoding;
};

bool IsOutputEncoding(const std::u16string& name) {
  return name == u"MSXML_IE4" || CreateOutputEncoder(name, nullptr) != nullptr;
}

int RunFormat(const FormatOptions& options) {
  std::u16string encoding;
  if (options.encoding) {
    encoding = Utf8ToU16(*options.encoding);
    if (!IsOutputEncoding(encoding)) {
      std::cerr << "quillet: unknown encoding " << *options.encoding
                << " (known: ASCII, ISO-8859-1, UTF16, UTF-16, UTF8, UTF-8, UNICODE, MSXML_IE4)\n";
      return kExitUsage;
    }
  }
  XMLDeclInfo info;
  int exitCode = 0;
  DocumentPtr doc = LoadForTool(options.load, info, exitCode);
  if (!doc) return exitCode;
  if (options.encoding) {
    // Named in the declaration too, so that the file reads back in the encoding it
    // was written in.
    info.encoding = encoding;
    info.encodingGiven = true;
  }
  switch (WriteDocumentFile(doc.get(), quillet::platform::MultiByteToWide(options.out), info)) {
    case SaveOutcome::kWritten:
      return 0;
    case SaveOutcome::kNothingToWrite:
      std::cerr << "quillet: nothing written to " << options.out
                << ": the document is empty or its own XML declaration is malformed\n";
      break;
    case SaveOutcome::kCannotCreate:
      std::cerr << "quillet: cannot create a file beside " << options.out << "\n";
      break;
    case SaveOutcome::kWriteFailed:
      std::cerr << "quillet: writing " << options.out << " failed; the file is unchanged\n";
      break;
  }
  return kExitFailed;
}

quillet::tool::CommandRegistration registration([](CLI::App& app) {
  auto options = std::make_shared<FormatOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("format", "Load IN and save it to OUT as a collection save writes it");
  AddLoadOptions(cmd, options->load, "IN");
  cmd->add_option("OUT", options->out, "The file to write (replaced only once it is complete)")->required();
  cmd->add_option("--encoding", options->encoding, "Write in this encoding instead of the one IN was read in");
  cmd->callback([options] { ExitCode() = RunFormat(*options); });
});

}  // namespace
