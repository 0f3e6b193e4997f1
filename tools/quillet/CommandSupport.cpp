#include "CommandSupport.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "Command.h"
#include "api/LastError.h"
#include "collection/CollectionFile.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/quillet_c.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"

namespace quillet::tool {
namespace {

const char* CodeMeaning(int code) {
  switch (code) {
    case QUILLET_E_REMOVE_LOAD_FAILED: return "the default collection did not load";
    case QUILLET_E_NOT_FOUND: return "not found";
    case QUILLET_E_NULL_HANDLE: return "invalid handle";
    case QUILLET_E_CHM_MISSING: return "the CHM file does not exist";
    case QUILLET_E_CHI_MISSING: return "the CHI file does not exist";
    case QUILLET_E_NO_COLLECTION: return "no collection registry lists the default collection";
    case QUILLET_E_DEFAULT_COLLECTION: return "no default collection is named, or it did not load";
    case QUILLET_E_NO_ROOT: return "the document has no root element";
    case QUILLET_E_PARSE: return "the file is missing or not well-formed XML";
    case QUILLET_E_STRUCTURE: return "a required element is missing";
    case QUILLET_E_REGISTRY: return "reading the default collection name failed";
    case QUILLET_E_BACKUP: return "the backup copy failed";
    case QUILLET_E_ADD_FOLDER: return "adding a folder failed";
    case QUILLET_E_WRITE_FAILED: return "a file could not be written";
    case QUILLET_E_UNREPRESENTABLE: return "a text cannot be written in the file's code page";
    case QUILLET_E_LOCKED: return "another program is changing HTML Help's files";
    default: return "failed";
  }
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string ToAnsi(const std::string& utf8) {
#ifdef _WIN32
  return platform::WideToAnsi(xml::Utf8ToU16(utf8));
#else
  return utf8;
#endif
}

std::string FromAnsi(const std::string& ansi) {
#ifdef _WIN32
  return xml::U16ToUtf8(platform::AnsiToWide(ansi));
#else
  return ansi;
#endif
}

int Fail(const std::string& command, int code, const std::string& message) {
  ExitCode() = code;
  std::cerr << "quillet: " << (command.empty() ? "" : command + ": ") << message << "\n";
  return code;
}

void ForgetLastError() { SetLastErrorText(""); }

int Finish(int code, const std::string& command) {
  ExitCode() = code;
  if (code == QUILLET_OK) return code;
  const std::string& text = LastErrorText();
  // A file that could not be written is the tool's own "could not do its work".
  const int exitCode = code == QUILLET_E_WRITE_FAILED ? kExitFailed : code;
  return Fail(command, exitCode,
              text.empty() ? std::string(CodeMeaning(code)) + " (code " + std::to_string(code) + ")" : FromAnsi(text));
}

bool CheckCodePageText(const std::string& command, const std::string& option, const std::string& value) {
  const std::u16string wide = xml::Utf8ToU16(value);
  if (xml::U16ToUtf8(wide) != value) {
    Fail(command, kExitUsage, option + " is not valid UTF-8 text");
    return false;
  }
  const unsigned codePage = platform::AnsiCodePage();
  std::string bytes;
  size_t failedAt = 0;
  if (platform::EncodeCodePage(codePage, wide, bytes, failedAt)) return true;
  if (failedAt >= wide.size()) {
    Fail(command, kExitUsage, "the prefix's code page " + std::to_string(codePage) + " is not supported here");
  } else {
    Fail(command, kExitUsage,
         option + ": " + xml::DescribeCharacter(xml::CharacterAt(wide, failedAt)) + " cannot be written in code page " +
             std::to_string(codePage) + ", in which HTML Help reads its files");
  }
  return false;
}

std::string ClosestMatch(const std::string& word, const std::vector<std::string>& candidates) {
  std::string best;
  size_t bestDistance = std::max<size_t>(2, word.size() / 3) + 1;
  for (const std::string& candidate : candidates) {
    const size_t distance = EditDistance(word, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

int ReadSized(const std::function<int(char*, unsigned long)>& call, std::string& text) {
  constexpr size_t kLongestText = size_t{1} << 30;
  std::vector<char> buffer(256);
  for (;;) {
    const int code = call(buffer.data(), static_cast<unsigned long>(buffer.size()));
    if (code == QUILLET_OK) {
      text = buffer.data();
      return code;
    }
    // A text of a gigabyte cannot come from a help file; refusing it keeps a faulty
    // answer from growing the buffer without end.
    if (code != QUILLET_E_BUFFER_TOO_SMALL || buffer.size() >= kLongestText) return code;
    buffer.resize(buffer.size() * 2);
  }
}

FileProblem CheckHelpFile(const std::string& path, HelpFileKind kind) {
  const std::string shown = FromAnsi(ShownPath(path));
  const bool registry = kind == HelpFileKind::kRegistry;
  if (const std::string what = platform::NotARegularFile(path); !what.empty())
    return {kExitFailed, shown + " is " + what + ", not a file"};
  if (!platform::FileExists(path)) return {registry ? QUILLET_E_NOT_FOUND : QUILLET_E_PARSE, shown + " does not exist"};
  xml::XMLDeclInfo info;
  xml::LoadResult loaded = xml::LoadDocumentFile(platform::AnsiToWide(path), info);
  if (!loaded) return {QUILLET_E_PARSE, shown + " " + FromAnsi(DescribeLoadFailure(loaded))};
  if (registry) {
    xml::CDOMElement* root = loaded.document->getDocumentElement();
    const std::string rootName = root != nullptr ? xml::U16ToUtf8(root->getNodeName()) : "";
    if (FindChildElement(root, "Collections") == nullptr && FindChildElement(root, "DocCompilations") == nullptr)
      return {kExitFailed, shown + " is not a collection registry: its root element " + rootName +
                               " has neither Collections nor DocCompilations"};
    return {};
  }
  if (const std::string problem = CollectionFileProblem(loaded.document.get()); !problem.empty())
    return {kExitFailed, shown + " " + FromAnsi(problem)};
  return {};
}

}  // namespace quillet::tool
