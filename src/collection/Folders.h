// The folder tree of a collection file, on elements: shared by the folder exports
// and by install and remove, which work without handing out handles.
#ifndef QUILLET_COLLECTION_FOLDERS_H
#define QUILLET_COLLECTION_FOLDERS_H

#include <string>

#include "collection/CollectionFile.h"

namespace quillet {

// The collection's Folders element, or null after setting the last-error text:
// 100 "Root element not present", 120 "HTMLHelpCollection root element not found" or
// 120 "Failed to locate Folders element" in *code.
xml::CDOMElement* RequireFoldersElement(CCollectionFile& file, int* code);

// The first Folder element at any depth, in document order, titled `title` exactly.
xml::CDOMElement* FindFolderAnywhere(CCollectionFile& file, const std::string& title);

// The first direct child of `folder` that is a Folder (letter case ignored) titled
// `title` exactly.
xml::CDOMElement* FindSubFolderOf(xml::CDOMElement* folder, const std::string& title);

// The title of the folder a folder handle stands on, for the exports that copy it out:
// 0, 5 when the folder has no TitleString (or the cursor has run out), 6 for an
// invalid handle.
int FolderNameOfHandle(unsigned long folder, std::string& title);

// A new Folder titled `title`, appended after the children of `parent`.
xml::CDOMElement* AppendFolder(xml::CDOMElement* parent, const std::string& title);

}  // namespace quillet

#endif
