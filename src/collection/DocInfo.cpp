#include "collection/DocInfo.h"

#include "collection/Location.h"
#include "collection/Navigation.h"
#include "platform/Platform.h"
#include "quillet/result_codes.h"
#include "xml/common/U16String.h"

namespace quillet {
namespace {

// Loads one candidate registry and takes it when it lists the default collection.
// When it does not, and `why` is given, appends a sentence on what was wrong with it.
bool TakeCandidate(const std::string& directory, const Switches& switches, std::unique_ptr<CCollectionFile>& file,
                   std::string& path, std::string& number, Status& status, std::string* why) {
  const std::string candidate = directory + "hhcolreg.dat";
  auto reject = [&](const std::string& reason) {
    if (why != nullptr) *why += (why->empty() ? "" : "; ") + ShownPath(candidate) + " " + reason;
    return false;
  };
  if (const std::string kind = platform::NotARegularFile(candidate); !kind.empty())
    return reject("is " + kind + ", not a file");
  std::unique_ptr<CCollectionFile> probe;
  xml::LoadResult failure;
  switch (OpenRegistryFile(candidate, switches, probe, status, &failure)) {
    case QUILLET_OK: break;
    case QUILLET_E_NOT_FOUND: return reject("does not exist");
    case QUILLET_E_PARSE: return reject(DescribeLoadFailure(failure));
    default: return reject(status.text());
  }
  std::string found;
  switch (DefaultCollectionNumber(*probe, found, status)) {
    case QUILLET_OK: break;
    case QUILLET_E_REGISTRY: return reject("cannot be matched: HTML Help's registry settings name no default collection");
    case QUILLET_E_NOT_FOUND: return reject("has no Collections element with a Collection in it");
    default: {
      std::string name;
      char buffer[kCollectionFilenameSize];
      if (ReadDefaultCollectionFilename(buffer, sizeof buffer)) name = buffer;
      return reject("does not list the default collection " + name + " (a Collection whose ColName names it, with a ColNum)");
    }
  }
  if (found.size() >= kCollectionNumberBuffer) {
    const std::string longest = std::to_string(kCollectionNumberBuffer - 1);
    status.setText("ColNum value longer than " + longest + " characters");
    return reject("lists the default collection with a ColNum longer than " + longest + " characters");
  }
  file = std::move(probe);
  path = candidate;
  number = found;
  return true;
}

}  // namespace

int OpenRegistryFile(const std::string& fileName, const Switches& switches, std::unique_ptr<CCollectionFile>& file,
                     Status& status, xml::LoadResult* failure) {
  if (!platform::FileExists(fileName)) {
    status.setText("File does not exist");
    return QUILLET_E_NOT_FOUND;
  }
  return LoadFile(fileName, switches, file, status, failure);
}

int DefaultCollectionNumber(CCollectionFile& file, std::string& number, Status& status) {
  xml::CDOMElement* collections = FindChildElement(file.document()->getDocumentElement(), "Collections");
  if (collections == nullptr) {
    status.setText("Collections element not found under root");
    return QUILLET_E_NOT_FOUND;
  }
  char buffer[kCollectionFilenameSize];
  if (!ReadDefaultCollectionFilename(buffer, sizeof buffer)) {
    status.setText("Error getting default collection");
    return QUILLET_E_REGISTRY;
  }
  const std::string defaultName = buffer;
  xml::CDOMElement* first = FindChildElement(collections, "Collection");
  if (first == nullptr) {
    status.setText("Error locating first child collection");
    return QUILLET_E_NOT_FOUND;
  }
  status.setText("Error locating elements in XML document");
  // Every sibling from the first Collection on is looked at, whatever its name: the
  // registry keeps nothing else in Collections.
  for (xml::CDOMNode* node = first; node != nullptr; node = node->getNextSibling()) {
    xml::CDOMElement* colName = FindChildElement(node, "ColName");
    if (colName == nullptr) {
      status.setText("Error locating ColName within Collection");
      continue;
    }
    if (!xml::EqualsIgnoreAsciiCase(ReadValue(colName), defaultName)) continue;
    xml::CDOMElement* colNum = FindChildElement(node, "ColNum");
    if (colNum == nullptr) {
      status.setText("Error locating ColNum within Collection");
      continue;
    }
    number = ReadValue(colNum);
    return QUILLET_OK;
  }
  return QUILLET_E_NO_COLLECTION;
}

int ProbeDefaultRegistry(const Switches& switches, std::unique_ptr<CCollectionFile>& file, std::string& path,
                         std::string& number, Status& status, std::string* why) {
  std::string directory;
  bool any = false;
  if (LocateWindowsHelpDir(directory)) {
    any = true;
    if (TakeCandidate(directory, switches, file, path, number, status, why)) return QUILLET_OK;
  }
  if (LocateAllUsersHelpDir(directory)) {
    any = true;
    if (TakeCandidate(directory, switches, file, path, number, status, why)) return QUILLET_OK;
  }
  if (!any && why != nullptr) {
    std::string windows;
    platform::WindowsDirectory(windows);
    *why = "there is no collection registry: neither " + ShownPath(windows + "\\Help\\HHCOLREG.DAT") + " nor " +
           ShownPath(AllUsersHelpDirFor(windows) + "hhcolreg.dat") + " exists";
  }
  return QUILLET_E_NO_COLLECTION;
}

int OpenDefaultRegistryFile(const Switches& switches, std::unique_ptr<CCollectionFile>& file, Status& status) {
  // The registry the probe chose is the one opened: it was loaded as opening it by name
  // loads it, under the same switches (and lock).
  std::string path;
  std::string number;
  return ProbeDefaultRegistry(switches, file, path, number, status) == QUILLET_OK ? QUILLET_OK
                                                                                 : QUILLET_E_NO_COLLECTION;
}

xml::CDOMElement* FindDocCompilation(CCollectionFile& file, const std::string& titleId) {
  return FindElementByChildValue(file.document(), u"DocCompilation", "DocCompId", titleId);
}

int FindOrAddDocCompilation(CCollectionFile& file, const std::string& titleId, xml::CDOMElement*& entry) {
  entry = FindDocCompilation(file, titleId);
  if (entry != nullptr) return QUILLET_OK;
  xml::CDOMElement* compilations = FindChildElement(file.document()->getDocumentElement(), "DocCompilations");
  if (compilations == nullptr) return QUILLET_E_STRUCTURE;
  entry = AppendChildElement(compilations, "DocCompilation");
  WriteValue(FindOrAppendChildElement(entry, "DocCompId"), titleId);
  return QUILLET_OK;
}

}  // namespace quillet

