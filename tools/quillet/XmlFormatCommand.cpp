// quillet xml format IN OUT: a file loaded and saved again, as a collection save
// writes it.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "XmlDocumentLoad.h"
#include "XmlGroup.h"
#include "api/SafeMode.h"
#include "platform/Platform.h"
#include "xml/common/U16String.h"
#include "xml/output/XMLSave.h"
#include "xml/output/XMLWriter.h"

namespace {

using namespace quillet::tool;
using namespace quillet::xml;

struct FormatOptions {
  LoadOptions load;
  std::string out;
  std::optional<std::string> encoding;
};

// The names the writer knows, spelled as it wants them, and the "<XML>" form.
constexpr const char* kEncodingNames[] = {"ASCII", "ISO-8859-1", "UTF16", "UTF-16", "UTF8", "UTF-8", "UNICODE"};

// The writer's spelling of an encoding name given in any letter case; "" when unknown.
std::string CanonicalEncoding(const std::string& name) {
  for (const char* known : kEncodingNames)
    if (EqualsIgnoreAsciiCase(name, std::string(known))) return known;
  const std::string compatibility = U16ToUtf8(kCompatibilityEncoding);
  return EqualsIgnoreAsciiCase(name, compatibility) ? compatibility : "";
}

// Standard output as a byte sink, for OUT "-".
class StdoutSink final : public CByteSink {
 public:
  void putByte(unsigned char b) override { failed_ = failed_ || std::fputc(b, stdout) == EOF; }
  void writeBytes(const unsigned char* p, size_t n) override {
    failed_ = failed_ || std::fwrite(p, 1, n, stdout) != n;
  }
  bool failed() const { return failed_ || std::fflush(stdout) != 0; }

 private:
  bool failed_ = false;
};

int WriteToStdout(const CDOMDocument* doc, const XMLDeclInfo& info, const WriteOptions& options) {
  StdoutSink sink;
  CXMLWriter writer(options);
  writer.setByteSink(&sink);
  writer.selectEncoding(info.encoding);
  char32_t character = 0;
  if (!writer.writeDocument(doc, &info)) {
    std::cerr << "quillet: nothing written: the document is empty or its own XML declaration is malformed\n";
  } else if (writer.encodingFailure(character)) {
    std::cerr << "quillet: " << DescribeCharacter(character) << " cannot be written in code page " << options.codePage
              << "\n";
  } else if (sink.failed()) {
    std::cerr << "quillet: writing to standard output failed\n";
  } else {
    return 0;
  }
  return kExitFailed;
}

int RunFormat(const FormatOptions& options) {
  std::string encoding;
  if (options.encoding) {
    encoding = CanonicalEncoding(*options.encoding);
    if (encoding.empty()) {
      std::cerr << "quillet: unknown encoding " << *options.encoding
                << " (known: ASCII, ISO-8859-1, UTF16, UTF-16, UTF8, UTF-8, UNICODE, MSXML_IE4)\n";
      return kExitUsage;
    }
  }
  if (options.out != "-") {
    if (const std::string kind = quillet::platform::NotARegularFile(ToAnsi(options.out)); !kind.empty()) {
      std::cerr << "quillet: " << options.out << " is " << kind << ", not a file: it was left as it is"
                << " (use - for standard output)\n";
      return kExitFailed;
    }
  }
  XMLDeclInfo info;
  int exitCode = 0;
  DocumentPtr doc = LoadForTool(options.load, info, exitCode);
  if (!doc) return exitCode;
  if (options.encoding) {
    // Named in the declaration too, so that the file reads back in the encoding it
    // was written in.
    info.encoding = Utf8ToU16(encoding);
    info.encodingGiven = true;
  }
  WriteOptions writeOptions;
  writeOptions.emptyContainersWithEndTag = quillet::SafeMode() && !quillet::SelfClosingEmptyTags();
  writeOptions.codePage = options.load.codePage;
  if (options.out == "-") return WriteToStdout(doc.get(), info, writeOptions);

  const SaveResult result =
      WriteDocumentFile(doc.get(), quillet::platform::AnsiToWide(ToAnsi(options.out)), info, writeOptions);
  switch (result.outcome) {
    case SaveOutcome::kWritten: return 0;
    case SaveOutcome::kNothingToWrite:
      std::cerr << "quillet: nothing written to " << options.out
                << ": the document is empty or its own XML declaration is malformed\n";
      break;
    case SaveOutcome::kUnrepresentable:
      std::cerr << "quillet: " << DescribeCharacter(result.character) << " cannot be written in code page "
                << options.load.codePage << "; " << options.out << " was left as it was\n";
      break;
    case SaveOutcome::kWouldNotLoad:
    case SaveOutcome::kCannotCreate:
    case SaveOutcome::kWriteFailed:
      std::cerr << "quillet: " << result.error << "; " << options.out << " was left as it was\n";
      break;
  }
  return kExitFailed;
}

}  // namespace

void quillet::tool::AddXmlFormatCommand(CLI::App& app) {
  auto options = std::make_shared<FormatOptions>();
  CLI::App* cmd = XmlGroup(app).add_subcommand("format", "Load IN and save it to OUT as a collection save writes it");
  AddLoadOptions(cmd, options->load, "IN");
  cmd->add_option("OUT", options->out, "The file to write (replaced only once it is complete); - for standard output")
      ->required();
  cmd->add_option("--encoding", options->encoding,
                  "Write in this encoding instead of the one IN was read in (letter case does not matter)");
  cmd->callback([options] { ExitCode() = RunFormat(*options); });
}
