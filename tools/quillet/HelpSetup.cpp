#include "HelpSetup.h"

#include <ostream>
#include <vector>

#include "HostFiles.h"
#include "WineRegistryEditor.h"
#include "api/LastError.h"
#include "collection/CodePageText.h"
#include "collection/CollectionFile.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "xml/dom/loader/LoadDocument.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"
#include "xml/common/U16String.h"

namespace quillet::tool {

const char* const kDefaultLanguage = "0x0409";
const char* const kDefaultCollectionName = "Quillet";
const char* const kDefaultCollectionFile = "C:\\windows\\Help\\quillet.col";
const char* const kDefaultCollectionRegistry = "C:\\windows\\Help\\hhcolreg.dat";

namespace platform = quillet::platform;

namespace {

// Windows keeps a key name within 255 characters and a path within 260 (the
// library's records hold a name of 260 characters and its NUL).
constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxPath = 259;

bool HasControlCharacter(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 32 || c == 127) return true;
  return false;
}

// The text of an attribute value between double quotes.
std::string AttributeText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// One registry value that init relies on: found with its text, or to be made.
struct ValueStep {
  std::string key;
  std::string name;
  std::string text;
  bool found = false;
};

// Looks the value up; when absent, plans to add `fallback`. False (with a message on
// `err`) when the value exists but is not a string: its text cannot name anything.
bool LookUp(WineRegistryEditor& editor, ValueStep& step, const std::string& fallback, std::ostream& err) {
  const auto value = editor.findValue(step.key, step.name);
  if (!value) {
    step.text = fallback;
    return true;
  }
  if (!value->isString()) {
    err << "quillet: the value \"" << step.name << "\" of [HKLM\\" << step.key << "] is " << value->raw
        << ", not a string; init leaves the prefix as it is\n";
    return false;
  }
  if (value->text().empty()) {
    err << "quillet: the value \"" << step.name << "\" of [HKLM\\" << step.key
        << "] is empty, so it names nothing; init leaves the prefix as it is\n";
    return false;
  }
  step.text = value->text();
  step.found = true;
  return true;
}

void Describe(std::ostream& out, const ValueStep& step) {
  out << (step.found ? "found: " : "made: ") << step.name << " = " << Quoted(step.text) << " in [HKLM\\"
      << step.key << "]\n";
}

// When a value was found but the command asked for another, say which one counts.
void NoteIgnored(std::ostream& err, const ValueStep& step, const std::optional<std::string>& asked,
                 const char* option) {
  if (step.found && asked && !xml::EqualsIgnoreAsciiCase(step.text, *asked))
    err << "note: " << option << " " << Quoted(*asked) << " ignored: " << step.name << " already is "
        << Quoted(step.text) << " and init changes nothing that exists\n";
}

// Writes one file of the setup and says so (unless `what` is empty); false (with the reason on `err`) when it
// could not be written, in which case it was left as it was.
bool WriteAndReport(const std::string& hostPath, const std::string& bytes, const std::string& what,
                    std::ostream& out, std::ostream& err) {
  std::string error;
  if (!WriteWholeFile(hostPath, bytes, error)) {
    err << "quillet: " << error << "\n";
    return false;
  }
  if (!what.empty()) out << "made: " << what << "\n";
  return true;
}

// What is wrong with a registry found on the prefix for the collection `collectionFile`
// to be used with it: "" when it loads and lists that collection with a number.
std::string RegistryProblem(const std::string& registry, const std::string& collectionFile) {
  if (const std::string kind = platform::NotARegularFile(registry); !kind.empty())
    return ShownPath(registry) + " is " + kind + ", not a file";
  xml::XMLDeclInfo info;
  xml::LoadResult loaded = xml::LoadDocumentFile(platform::AnsiToWide(registry), info);
  if (!loaded) return ShownPath(registry) + " " + DescribeLoadFailure(loaded);
  // HTML Help's own form is read in the prefix's code page, as the library reads it.
  if (info.encoding == xml::kCompatibilityEncoding) DecodeSingleByteTexts(loaded.document.get(), platform::AnsiCodePage());
  xml::CDOMElement* collections = FindChildElement(loaded.document->getDocumentElement(), "Collections");
  if (collections == nullptr)
    return ShownPath(registry) + " is not a collection registry: it has no Collections element";
  for (xml::CDOMNode* node = FindChildElement(collections, "Collection"); node != nullptr;
       node = node->getNextSibling()) {
    xml::CDOMElement* name = FindChildElement(node, "ColName");
    if (name != nullptr && FindChildElement(node, "ColNum") != nullptr &&
        xml::EqualsIgnoreAsciiCase(ReadValue(name), collectionFile))
      return "";
  }
  return ShownPath(registry) + " does not list the collection " + collectionFile +
         " (no Collection whose ColName names it, with a ColNum)";
}

// What is wrong with a collection file found on the prefix: "" when it is one.
std::string CollectionProblem(const std::string& collectionFile) {
  if (const std::string kind = platform::NotARegularFile(collectionFile); !kind.empty())
    return ShownPath(collectionFile) + " is " + kind + ", not a file";
  xml::XMLDeclInfo info;
  xml::LoadResult loaded = xml::LoadDocumentFile(platform::AnsiToWide(collectionFile), info);
  if (!loaded) return ShownPath(collectionFile) + " " + DescribeLoadFailure(loaded);
  const std::string problem = CollectionFileProblem(loaded.document.get());
  return problem.empty() ? "" : ShownPath(collectionFile) + " " + problem;
}

// A new file's text in the bytes HTML Help reads: the prefix's ANSI code page.
bool EncodeForHelp(const std::string& utf8, std::string& bytes, std::ostream& err) {
  const std::u16string text = xml::Utf8ToU16(utf8);
  size_t failedAt = 0;
  if (platform::EncodeCodePage(platform::AnsiCodePage(), text, bytes, failedAt)) return true;
  err << "quillet: init: " << xml::DescribeCharacter(xml::CharacterAt(text, failedAt))
      << " cannot be written in code page " << platform::AnsiCodePage() << ", in which HTML Help reads its files\n";
  return false;
}

}  // namespace

std::string CollectionRegistryText(const std::string& collectionFile) {
  return "<XML>\r\n"
         "<HTMLHelpDocInfo>\r\n"
         "<NextCollectionId value=2/>\r\n"
         "<Collections>\r\n"
         "<Collection>\r\n"
         "\t<ColNum value=1/>\r\n"
         "\t<ColName value=\"" + AttributeText(collectionFile) + "\"/>\r\n"
         "</Collection>\r\n"
         "</Collections>\r\n"
         "<Locations>\r\n"
         "</Locations>\r\n"
         "<DocCompilations>\r\n"
         "</DocCompilations>\r\n"
         "</HTMLHelpDocInfo>\r\n"
         "</XML>\r\n";
}

std::string CollectionFileText() {
  return "<XML>\r\n"
         "<HTMLHelpCollection>\r\n"
         "<masterchm value=\"\"/>\r\n"
         "<masterlangid value=1033/>\r\n"
         "<samplelocation value=\"\"/>\r\n"
         "<collectionnum value=1/>\r\n"
         "<refcount value=0/>\r\n"
         "<version value=1/>\r\n"
         "<findmergedchms value=0/>\r\n"
         "<Folders>\r\n"
         "</Folders>\r\n"
         "</HTMLHelpCollection>\r\n"
         "</XML>\r\n";
}

std::string CheckCollectionName(const std::string& name) {
  if (name.empty()) return "the collection name must not be empty";
  if (name.size() > kMaxKeyName) return "the collection name is longer than 255 bytes";
  if (name.find('\\') != std::string::npos) return "the collection name names a registry key: no backslash in it";
  if (HasControlCharacter(name)) return "the collection name must not hold control characters";
  return "";
}

std::string CheckCollectionFile(const std::string& path) {
  const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                     path[2] == '\\';
  if (!drive) return "the collection file must be a Windows path such as C:\\windows\\Help\\quillet.col";
  if (path.size() > kMaxPath) return "the collection file's path is longer than 259 bytes";
  if (path.back() == '\\') return "the collection file's path names a directory";
  if (HasControlCharacter(path) || path.find_first_of("\"<>|*?/", 0) != std::string::npos ||
      path.find(':', 2) != std::string::npos)
    return "the collection file's path holds a character Windows does not allow in file names";
  if (path.find("\\\\") != std::string::npos) return "the collection file's path has an empty folder name";
  return "";
}

int SetUpHelpEnvironment(const SetupRequest& request, std::ostream& out, std::ostream& err) {
  const std::string prefix = platform::Prefix();
  if (prefix.empty()) {
    err << "quillet: init sets up a Wine prefix, and this build uses the Windows registry itself\n";
    return 1;
  }
  out << "prefix: " << prefix << "\n";

  // system.reg: read it, or start a new one.
  const std::string registryFile = prefix + "/system.reg";
  const bool registryFileFound = platform::FileExists(registryFile);
  std::string text = WineRegistryEditor::EmptyFileText();
  std::string error;
  if (registryFileFound && !ReadWholeFile(registryFile, text, error)) {
    err << "quillet: " << error << "\n";
    return 1;
  }
  WineRegistryEditor editor(text);
  if (!editor.hasHeader()) {
    err << "quillet: " << registryFile << " is not a Wine registry file (its first line is not \""
        << WineRegistryEditor::kHeader << "\"); init leaves the prefix as it is\n";
    return 1;
  }
  if (registryFileFound) out << "found: " << registryFile << "\n";

  // The three values, each one naming the key of the next, as the library reads them.
  ValueStep language{kDeveloperCollectionsKey, "Language", "", false};
  if (!LookUp(editor, language, kDefaultLanguage, err)) return 1;
  ValueStep preferred{language.key + "\\" + language.text, "Preferred", "", false};
  if (!LookUp(editor, preferred, request.name.value_or(kDefaultCollectionName), err)) return 1;
  ValueStep filename{preferred.key + "\\" + preferred.text, "Filename", "", false};
  if (!LookUp(editor, filename, request.file.value_or(kDefaultCollectionFile), err)) return 1;
  std::vector<const ValueStep*> steps{&language, &preferred, &filename};
  for (const ValueStep* step : steps) {
    if (step->found) Describe(out, *step);
    else editor.addStringValue(step->key, step->name, step->text, request.timestamp);
  }
  NoteIgnored(err, preferred, request.name, "--name");
  NoteIgnored(err, filename, request.file, "--file");

  // The collection registry, wherever the library finds one (keeping an All Users one
  // from being hidden behind a new one in the Windows directory).
  char found[1024];
  bool collectionRegistryFound = QuilletGetDefaultDocumentCollectionFilename(found, sizeof found) == 1;
  SetLastErrorText("");  // "not found" is expected here, not a failure of init
  if (!collectionRegistryFound && (platform::FileExists(kDefaultCollectionRegistry))) {
    // The library did not take it, but it is there: never write over it.
    CopyTextBounded(kDefaultCollectionRegistry, found, sizeof found);
    collectionRegistryFound = true;
  }
  const std::string collectionFile = filename.text;
  for (const std::string& named : {collectionFile, request.file.value_or("")}) {
    if (xml::EqualsIgnoreAsciiCase(named, kDefaultCollectionRegistry) ||
        (collectionRegistryFound && xml::EqualsIgnoreAsciiCase(named, found))) {
      err << "quillet: init: the collection file " << Quoted(named)
          << " is the collection registry itself; name another file\n";
      return 1;
    }
  }
  if (collectionRegistryFound) {
    out << "found: collection registry " << found << "\n";
    if (const std::string problem = RegistryProblem(found, collectionFile); !problem.empty()) {
      err << "quillet: init: problem: " << problem << "\n"
          << "hint: init never changes a registry it finds. Move " << platform::HostPath(found)
          << " away (a backup may be beside it as HHCOLREG.BAK) and run init again to make a new one\n";
      return 1;
    }
  }

  const bool collectionFileFound = platform::FileExists(collectionFile);
  if (collectionFileFound) {
    out << "found: collection file " << collectionFile << "\n";
    if (const std::string problem = CollectionProblem(collectionFile); !problem.empty()) {
      err << "quillet: init: problem: " << problem << "\n"
          << "hint: init never changes a collection file it finds. Move " << platform::HostPath(collectionFile)
          << " away and run init again to make an empty one\n";
      return 1;
    }
  } else if (const std::string why = CheckCollectionFile(collectionFile); !why.empty()) {
    err << "quillet: cannot make the collection file " << Quoted(collectionFile) << ": " << why << "\n";
    return 1;
  }
  std::string registryBytes;
  if (!collectionRegistryFound && !EncodeForHelp(CollectionRegistryText(collectionFile), registryBytes, err)) return 1;

  const bool registryChanged = editor.text() != text;
  if (registryChanged)
    err << "warning: Wine must not be running while system.reg is edited (it would write its own copy back);"
           " stop it first with \"wineserver -k\"\n";

  // Files first, the registry values that point at them last.
  if (!collectionFileFound && !WriteAndReport(platform::HostPath(collectionFile), CollectionFileText(),
                                              "collection file " + collectionFile, out, err))
    return 1;
  if (!collectionRegistryFound &&
      !WriteAndReport(platform::HostPath(kDefaultCollectionRegistry), registryBytes,
                      std::string("collection registry ") + kDefaultCollectionRegistry, out, err))
    return 1;
  if (registryChanged) {
    // An existing system.reg is edited, not made: its new values are the news.
    if (!WriteAndReport(registryFile, editor.text(), registryFileFound ? "" : registryFile, out, err)) return 1;
    for (const ValueStep* step : steps)
      if (!step->found) Describe(out, *step);
  }
  if (!registryChanged && collectionRegistryFound && collectionFileFound)
    out << "nothing to do: the prefix is already set up, and its files are in order\n";
  return 0;
}

}  // namespace quillet::tool
