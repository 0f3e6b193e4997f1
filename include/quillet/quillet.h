// The exported interface of the Quillet library: edit the HTML Help collection
// registry (hhcolreg.dat) and collection files, and install or remove help titles.
//
// Conventions shared by every function here:
// - Texts are NUL-terminated 8-bit texts in the system's ANSI code page (UTF-8 on
//   systems other than Windows); every buffer belongs to the caller.
// - An int result is a result code (QUILLET_OK and the QUILLET_E_* values below),
//   except for the two file-name queries, which return 1 when found and 0 when not.
// - Handles are non-zero numbers naming a record inside the library. A handle that is
//   0, was never issued, or has ended is invalid: the release functions ignore it,
//   QuilletRemoveDoc returns QUILLET_E_NULL_HANDLE, and every other function that takes
//   a handle returns QUILLET_E_NULL_HANDLE and sets the last-error text
//   "Invalid handle".
// - A null place for a new handle (an unsigned long* argument) makes the function do
//   nothing and return QUILLET_E_NULL_HANDLE with the last-error text "Null handle
//   pointer". A null text argument reads as the empty text (QuilletRemove excepted),
//   and nothing is copied into a null out buffer.
// - After a failure, QuilletGetLastError gives the text the function set, if any. A
//   success does not clear it.
// - Use the library from one thread at a time. QuilletInstall and QuilletRemove take an
//   advisory lock on HTML Help's files against other processes (see QuilletLockFiles).
#ifndef QUILLET_QUILLET_H
#define QUILLET_QUILLET_H

#include "quillet/export.h"

#include "quillet/doc_values.h"    // QUILLET_DOC_* value ids
#include "quillet/result_codes.h"  // QUILLET_OK and the QUILLET_E_* codes

// Copies the version text "Tessaly QUILLET Version 1.0.0 - Build 002" and its NUL
// (42 bytes) into the caller's buffer, which must hold them. A null buffer is ignored.
QUILLET_API void QuilletGetVersion(char* buffer);

// Copies the last-error text and its NUL into the caller's buffer of `size` bytes.
// A text that does not fit is cut so that the copy, NUL included, stays within `size`;
// with size 0 or a null buffer nothing is written. Before any failure the text is empty.
QUILLET_API void QuilletGetLastError(char* buffer, unsigned long size);

// Reads the file name of the developer's default collection from HTML Help's registry
// settings (key HKLM\SOFTWARE\Microsoft\HTML Help Collections\Developer Collections:
// its "Language", then that language's "Preferred" collection, or its first subkey,
// then that collection's "Filename") into the caller's buffer of `size` bytes.
// Returns 1 when the name was read, 0 when not (a missing key or value, or a name
// that does not fit the buffer with its NUL, which then stays as it was); sets no
// last-error text. Elsewhere than on Windows the registry is the prefix's system.reg.
QUILLET_API int QuilletGetDefaultCollectionFilename(char* buffer, unsigned long size);

// Finds the collection registry: "HHCOLREG.DAT" in the Help directory under the
// Windows directory, else "hhcolreg.dat" in the All Users HTML Help directory on the
// Windows directory's drive. Copies its full path into the caller's buffer of `size`
// bytes (cut to fit) and returns 1; returns 0 with the last-error text
// "HHCOLREG.DAT in %windows%\HELP not found" when neither exists. Elsewhere than on
// Windows the Windows directory is "C:\windows" of the prefix, and the path returned
// is a Windows path on it.
QUILLET_API int QuilletGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size);

// ---------------------------------------------------------------------------------
// Collection files (handle: collection handle). A collection file is an XML file whose
// root element is HTMLHelpCollection (letter case ignored) holding a Folders element.
// ---------------------------------------------------------------------------------

// Loads the collection file `fileName` and writes a new collection handle to *handle.
// Returns 0; 110 when the file is missing or not well-formed (last-error text: the
// three-line parse-error text, or "NO LAST ERROR"), or when the name is longer than
// 260 bytes, which is refused unread ("File name longer than 260 characters"); 100
// when it has no root element ("Root element not present"); 120 when the root is not
// HTMLHelpCollection ("HTMLHelpCollection root element not found"). No handle is
// written on failure.
// Release the handle with QuilletReleaseCollection.
QUILLET_API int QuilletLoadCollection(const char* fileName, unsigned long* handle);

// As QuilletLoadCollection for the developer's default collection file (see
// QuilletGetDefaultCollectionFilename). Returns 10, after printing "Failed to get
// collection filename" on standard output, when no default collection is named.
QUILLET_API int QuilletLoadDefaultCollection(unsigned long* handle);

// Writes the collection back to the file it was loaded from, in the form it was
// loaded in. A failure part-way leaves the old file as it was. Returns 0 (6 for an
// invalid handle), whether or not the file could be written; in safe mode
// (QuilletSetSafeMode in quillet_c.h) a failure returns 170 (write, flush or replace
// failed) or 180 (a character the file's code page cannot hold) with a last-error text.
QUILLET_API int QuilletSaveCollection(unsigned long handle);

// Releases a collection handle, its tree and every folder handle made from it,
// without saving. An invalid handle is ignored.
QUILLET_API void QuilletReleaseCollection(unsigned long handle);

// Copies the default collection file to the same name with the extension ".bak",
// replacing an older backup. Returns 0; 10 when no default collection is named; 140
// when the copy failed (in safe mode with the reason as the last-error text).
QUILLET_API int QuilletBackupDefaultCollection();

// ---------------------------------------------------------------------------------
// Folders (handle: folder handle, made from a collection handle; folder handles end
// with their collection handle or when their folder is deleted).
// ---------------------------------------------------------------------------------

// Writes a cursor standing on the first root folder (a Folder child of Folders, name
// letter case ignored) to *cursor. Returns 0; 5 when there is none; 100/120 when the
// collection has no root, a wrong root, or no Folders element (last-error text set).
QUILLET_API int QuilletEnumCollectionRootFolders(unsigned long collection, unsigned long* cursor);

// Writes a new handle on the folder the cursor stands on to *folder and moves the
// cursor to the next sibling folder (a sibling named Folder in any letter case).
// Returns 0, or 5 once the cursor has run out. A cursor that has run out stands on
// nothing: every other folder function given it returns 5 with the last-error text
// "Folder cursor has run out".
QUILLET_API int QuilletNextCollectionFolder(unsigned long cursor, unsigned long* folder);

// Writes a cursor standing on the folder's first sub-folder (a child named exactly
// Folder) to *cursor. Returns 0, or 5 when the folder has no sub-folder.
QUILLET_API int QuilletEnumSubFolders(unsigned long folder, unsigned long* cursor);

// Copies the folder's title (the value of its TitleString) and its NUL into `buffer`,
// which must have room for it. Returns 0, or 5 when the folder has no TitleString.
QUILLET_API int QuilletGetFolderName(unsigned long folder, char* buffer);

// Appends a root folder titled `title` and writes a handle on it to *folder. Returns
// 0; 100/120 as QuilletEnumCollectionRootFolders. A second folder of the same title is
// added all the same.
QUILLET_API int QuilletAddFolder(unsigned long collection, const char* title, unsigned long* folder);

// Appends a sub-folder titled `title` after the folder's children and writes a handle
// on it to *subFolder. Returns 0.
QUILLET_API int QuilletAddSubFolder(unsigned long folder, const char* title, unsigned long* subFolder);

// Finds the first folder at any depth, in document order, whose title equals `title`
// exactly, and writes a handle on it to *folder. Returns 0, or 5 when none matches.
QUILLET_API int QuilletFindFolder(unsigned long collection, const char* title, unsigned long* folder);

// Finds a direct sub-folder whose title equals `title` exactly. Returns 0, or 5.
QUILLET_API int QuilletFindSubFolder(unsigned long folder, const char* title, unsigned long* subFolder);

// Takes the folder, with its sub-folders and titles, out of the tree; the next save
// no longer writes it. Handles on it and on anything inside it end (this handle too).
QUILLET_API void QuilletDeleteFolder(unsigned long folder);

// ---------------------------------------------------------------------------------
// Title entries of the collection registry (handles: doc-info handle; doc handles and
// doc enumeration handles made from it, which end with it).
// ---------------------------------------------------------------------------------

// Opens the registry file `fileName` (any well-formed XML file) and writes a new
// doc-info handle to *docInfo. Returns 0; 5 when the file does not exist ("File does
// not exist"); 110 when it is not well-formed (parse-error text). Close the handle
// with QuilletCloseDocInfo.
QUILLET_API int QuilletOpenDocInfo(const char* fileName, unsigned long* docInfo);

// Opens the registry that lists the developer's default collection: the Help
// directory's hhcolreg.dat, else the All Users one, whichever has a Collection whose
// ColName names the default collection file (and whose ColNum is at most 59 bytes
// long: a longer one is refused, "ColNum value longer than 59 characters"). Returns 0;
// 9 when neither does; 5 when the file vanished ("HHCOLREG.DAT not found"); 110 when
// it does not load.
QUILLET_API int QuilletOpenDocInfo(unsigned long* docInfo);

// Writes a doc enumeration handle over a snapshot of every DocCompilation element of
// the registry to *enumeration. Returns 0 (also when there are none), or 5. The
// snapshot stands: entries added later do not join it, and an entry removed later is
// still handed out by QuilletNextDocCompilation (its handle reads the removed entry,
// which lives until the doc-info handle is closed).
QUILLET_API int QuilletEnumDocCompilations(unsigned long docInfo, unsigned long* enumeration);

// Writes a new doc handle on the next entry of the enumeration to *doc. Returns 0, or
// 5 after the last entry.
QUILLET_API int QuilletNextDocCompilation(unsigned long enumeration, unsigned long* doc);

// Finds the entry whose DocCompId value equals `titleId` exactly and writes a doc
// handle on it to *doc. Returns 0, or 5 when there is none.
QUILLET_API int QuilletFindDoc(unsigned long docInfo, const char* titleId, unsigned long* doc);

// Writes a doc handle on the entry of `titleId` to *doc, adding the entry (holding
// only its DocCompId) to DocCompilations when it does not exist. Returns 0, or 120 when
// the registry has no DocCompilations element.
QUILLET_API int QuilletAddDoc(unsigned long docInfo, const char* titleId, unsigned long* doc);

// Takes the entry out of the registry's tree. Every doc handle on the entry stays open
// only for QuilletCloseDoc; handles on entries nested inside it end. The entry's memory
// lives until the doc-info handle is closed. Returns 0, or 6 for an invalid handle.
QUILLET_API int QuilletRemoveDoc(unsigned long doc);

// Writes the registry back to the file it was opened from; a failure part-way leaves
// the old file as it was. Returns 0 (6 for an invalid handle), or in safe mode 170 or
// 180 as QuilletSaveCollection.
QUILLET_API int QuilletSaveDocInfo(unsigned long docInfo);

// Closes a doc-info handle without saving, with every doc and enumeration handle
// made from it. An invalid handle is ignored.
QUILLET_API void QuilletCloseDocInfo(unsigned long docInfo);

// Closes a doc handle; its entry stays in the tree. An invalid handle is ignored.
QUILLET_API void QuilletCloseDoc(unsigned long doc);

// Copies the registry (HHCOLREG.DAT) to HHCOLREG.BAK beside it, replacing an older
// backup. Returns 0; 5 when the registry is not found; 140 when the copy failed (in
// safe mode with the reason as the last-error text).
QUILLET_API int QuilletBackupDocInfo();

// Copies the number (ColNum) of the registry's Collection entry whose ColName names
// the default collection file (letter case ignored) into `buffer`, which must have
// room for it. Returns 0; 5 when the registry has no Collections or no Collection;
// 130 when no default collection is named; 9 when no entry matches. Sets the
// last-error text along the way (on success: "Error locating elements in XML
// document").
QUILLET_API int QuilletGetDefaultCollectionNumber(unsigned long docInfo, char* buffer);

// ---------------------------------------------------------------------------------
// Title entry values. Value ids: 1 CHM path (LocationHistory/TitleLocation), 2 CHI path
// (LocationHistory/IndexLocation), 3 language (DocCompLanguage), 4 collection number
// (LocationHistory/ColNum), 5 location name (LocationHistory/LocationRef), 6 title id
// (DocCompId, read only).
// ---------------------------------------------------------------------------------

// Copies the value `valueId` of the entry, and its NUL, into `buffer`, which must have
// room for it. Returns 0, or 5 for an unknown id or an element that is missing.
QUILLET_API int QuilletGetDocValue(unsigned long doc, long valueId, char* buffer);

// Sets the value `valueId` (1 to 5) of the entry, creating the elements on the way.
// Returns 0, or 5 for any other id (nothing changes).
QUILLET_API int QuilletSetDocValue(unsigned long doc, long valueId, char* value);

// ---------------------------------------------------------------------------------
// Install and remove.
// ---------------------------------------------------------------------------------

// Registers a help title: writes its entry (language "1033", the CHM and CHI paths,
// location "TESSALY-10-Local", the default collection's number) into the registry and
// saves it, then hangs it into the default collection under `folderPath` (titles
// separated by backslashes, outermost first; missing folders are created) as a folder
// titled "=" followed by the title id. An empty title ends the path: a trailing
// backslash adds nothing, and a path that is empty or starts with a backslash names no
// folder (the collection is then not touched). Returns 0; 7/8 when the CHM/CHI file
// does not exist; 9 when no registry lists the default collection; 120 when the
// registry has no DocCompilations ("Failed to add new doc" on standard output); 10
// when the default collection does not load ("Failed to load collection"); 150 when a
// root folder cannot be added. A path longer than 1023 bytes or of more than 99
// folders, or (with a folder path) a title id longer than 1022 bytes, is refused with
// 150 before either file changes. Holds the help files' lock while it works: 190 when
// another program held it too long. In safe mode it checks both files first and
// changes both or neither (last-error texts name the file that is wrong), and a file
// that cannot be written returns 170 or 180.
QUILLET_API int QuilletInstall(const char* folderPath, const char* chmPath, const char* chiPath,
                               const char* titleId);

// Removes a help title: its registry entry (when `titleId` is given and registered;
// an unregistered id returns 0 and changes nothing) and then the folder `folderPath`
// names in the default collection, with everything in it. Either argument may be null:
// a null id leaves the registry alone (an empty id is an id). A missing folder of the
// path returns 0 without deleting anything. Returns 0; 9 or 110 when the registry
// cannot be opened; 1 when the default collection does not load ("Failed to load
// collection, error = N" on standard output); 5 when the folder path is refused as
// QuilletInstall refuses it, before anything changes; 190, and in safe mode 170 and
// 180, as QuilletInstall.
QUILLET_API int QuilletRemove(const char* folderPath, const char* titleId);

#endif
