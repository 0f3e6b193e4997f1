#include "collection/CollectionFile.h"

#include "api/LastError.h"
#include "api/SafeMode.h"
#include "collection/CodePageText.h"
#include "platform/Platform.h"
#include "quillet/quillet.h"

namespace quillet {
namespace {
// The encoding name a load gives HTML Help's "<XML>" form.
constexpr char16_t kCompatibilityEncoding[] = u"MSXML_IE4";
}  // namespace

CCollectionFile::CCollectionFile() {
  // The settings every collection file and registry loads with: declared, no
  // encoding yet, CDATA sections expanded into text, white space not preserved.
  declInfo_.declared = true;
  declInfo_.encoding.clear();
  declInfo_.encodingGiven = false;
  declInfo_.expandCDATA = true;
  declInfo_.preserveSpace = false;
  declInfo_.reserved = true;
}

CCollectionFile::~CCollectionFile() {
  for (xml::CDOMNode* node : removed_) node->release();
  if (document_ != nullptr) document_->release();
}

bool CCollectionFile::load(const std::string& fileName, const std::u16string& wideName, xml::LoadResult& failure) {
  fileName_ = fileName;
  xml::LoadResult result = xml::LoadDocumentFile(wideName, declInfo_);
  if (!result) {
    failure = std::move(result);
    return false;
  }
  document_ = result.document.release();
  if (SafeMode() && declInfo_.encoding == kCompatibilityEncoding) {
    const unsigned codePage = platform::AnsiCodePage();
    if (DecodeSingleByteTexts(document_, codePage)) codePage_ = codePage;
  }
  return true;
}

xml::SaveResult CCollectionFile::prepareSave(platform::FileReplacement& replacement) {
  xml::WriteOptions options;
  // A tree decoded from a code page goes back into it, whatever the switch says now;
  // otherwise safe mode keeps every character that the low 8 bits would lose from
  // being written at all.
  options.codePage = codePage_;
  if (SafeMode()) {
    options.emptyContainersWithEndTag = !SelfClosingEmptyTags();
    options.strictSingleByte = true;
    options.onlyWhatReadsBack = true;
  }
  // Temporaries of this file that a killed process left are older than the lock.
  const long long since = HelpFilesLock::heldSince();
  if (since >= 0) platform::RemoveStaleTemporaries(fileName_, since);
  if (document_ == nullptr) return xml::SaveResult{xml::SaveOutcome::kNothingToWrite, "", 0};
  return xml::PrepareDocumentFile(document_, platform::AnsiToWide(fileName_), declInfo_, options, replacement);
}

xml::SaveResult CCollectionFile::save() {
  platform::FileReplacement replacement;
  xml::SaveResult result = prepareSave(replacement);
  if (result.ok() && !replacement.commit()) {
    result.outcome = xml::SaveOutcome::kWriteFailed;
    result.error = replacement.error();
  }
  return result;
}

void CCollectionFile::detach(xml::CDOMNode* node) {
  if (node == nullptr || isRemoved(node)) return;
  xml::CDOMNode* parent = node->getParentNode();
  if (parent == nullptr || parent->removeChild(node) == nullptr) return;
  removed_.push_back(node);
  removedAt_[node] = ++generation_;
}

bool CCollectionFile::removedSince(xml::CDOMNode* node, unsigned long long generation) const {
  if (removedAt_.empty()) return false;
  // Walks up through every ancestor: a removed subtree's root has no parent, so the
  // walk from anything inside it ends there.
  for (xml::CDOMNode* n = node; n != nullptr; n = n->getParentNode()) {
    const auto found = removedAt_.find(n);
    if (found != removedAt_.end()) return found->second > generation;
  }
  return false;
}

CNodeListRef::~CNodeListRef() {
  if (list != nullptr) list->release();
}

CCollectionFile* RequireFile(unsigned long handle) { return RequireHandle<CCollectionFile>(handle); }

CNodeRef* RequireNode(unsigned long handle, CNodeRef::Kind kind) {
  CNodeRef* ref = HandleTable::instance().lookup<CNodeRef>(handle);
  if (ref == nullptr || ref->kind != kind || ref->gone()) {
    SetInvalidHandleError();
    return nullptr;
  }
  return ref;
}

CNodeListRef* RequireList(unsigned long handle) { return RequireHandle<CNodeListRef>(handle); }

int HandOut(std::unique_ptr<HandleRecord> record, unsigned long owner, unsigned long* place) {
  const unsigned long handle = HandleTable::instance().issue(std::move(record), owner);
  if (handle == 0) {
    SetInvalidHandleError();
    return QUILLET_E_NULL_HANDLE;
  }
  *place = handle;
  return QUILLET_OK;
}

int HandOutNode(CNodeRef::Kind kind, unsigned long owner, CCollectionFile* file, xml::CDOMElement* element,
                unsigned long* place) {
  return HandOut(std::make_unique<CNodeRef>(kind, file, element), owner, place);
}

}  // namespace quillet
