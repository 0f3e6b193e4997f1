#include "collection/Folders.h"

#include "collection/Navigation.h"
#include "quillet/result_codes.h"

namespace quillet {

bool FolderTitle(xml::CDOMElement* folder, std::string& title) {
  xml::CDOMElement* titleString = FindChildElement(folder, "TitleString");
  if (titleString == nullptr) return false;
  title = ReadValue(titleString);
  return true;
}

namespace {
bool IsTitled(xml::CDOMElement* folder, const std::string& title) {
  std::string actual;
  return FolderTitle(folder, actual) && actual == title;
}
}  // namespace

xml::CDOMElement* FolderFrom(xml::CDOMNode* node) {
  while (node != nullptr && !HasTagName(node, "Folder")) node = node->getNextSibling();
  return AsElement(node);
}

xml::CDOMElement* RequireFoldersElement(CCollectionFile& file, int* code, Status& status) {
  if ((*code = CheckCollectionRoot(file, status)) != QUILLET_OK) return nullptr;
  xml::CDOMElement* folders = FindChildElement(file.document()->getDocumentElement(), "Folders");
  if (folders == nullptr) {
    status.setText("Failed to locate Folders element");
    *code = QUILLET_E_STRUCTURE;
  }
  return folders;
}

xml::CDOMElement* FindFolderAnywhere(CCollectionFile& file, const std::string& title) {
  return FindElementByChildValue(file.document(), u"Folder", "TitleString", title);
}

xml::CDOMElement* FindSubFolderOf(xml::CDOMElement* folder, const std::string& title) {
  for (xml::CDOMElement* child = FolderFrom(folder->getFirstChild()); child != nullptr;
       child = FolderFrom(child->getNextSibling()))
    if (IsTitled(child, title)) return child;
  return nullptr;
}

xml::CDOMElement* AppendFolder(xml::CDOMElement* parent, const std::string& title) {
  xml::CDOMElement* folder = AppendChildElement(parent, "Folder");
  WriteValue(AppendChildElement(folder, "TitleString"), title);
  return folder;
}

}  // namespace quillet
