#include "CommandSupport.h"

#include <iostream>
#include <vector>

#include "Command.h"
#include "api/LastError.h"
#include "quillet/quillet_c.h"

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
    default: return "failed";
  }
}

}  // namespace

void ForgetLastError() { SetLastErrorText(""); }

int Finish(int code, const std::string& what) {
  ExitCode() = code;
  if (code == QUILLET_OK) return code;
  if (!LastErrorText().empty()) {
    FailWithLastError(code);
  } else {
    std::cerr << "quillet: " << what << ": " << CodeMeaning(code) << " (code " << code << ")\n";
  }
  return code;
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

}  // namespace quillet::tool
