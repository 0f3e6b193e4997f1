// The folder tree of a collection file, on elements: shared by the folder exports
// and by install and remove, which work without handing out handles.
#ifndef QUILLET_COLLECTION_FOLDERS_H
#define QUILLET_COLLECTION_FOLDERS_H

#include <string>

#include "collection/CollectionFile.h"

namespace quillet {

// The collection's Folders element, or null after setting the status text: 100 "Root
// element not present", 120 "HTMLHelpCollection root element not found" or 120
// "Failed to locate Folders element" in *code.
xml::CDOMElement* RequireFoldersElement(CCollectionFile& file, int* code, Status& status);

// The first Folder element at any depth, in document order, titled `title` exactly.
xml::CDOMElement* FindFolderAnywhere(CCollectionFile& file, const std::string& title);

// The first direct child of `folder` that is a Folder (letter case ignored) titled
// `title` exactly.
xml::CDOMElement* FindSubFolderOf(xml::CDOMElement* folder, const std::string& title);

// From `node` on, the first sibling (itself included) that is a Folder in any letter
// case; null when none is left.
xml::CDOMElement* FolderFrom(xml::CDOMNode* node);

// A folder's title: the value of its TitleString, or false when it has none.
bool FolderTitle(xml::CDOMElement* folder, std::string& title);

// A new Folder titled `title`, appended after the children of `parent`.
xml::CDOMElement* AppendFolder(xml::CDOMElement* parent, const std::string& title);

}  // namespace quillet

#endif
