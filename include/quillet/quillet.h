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
// - After a failure, QuilletGetLastError gives the text the function set, if any. A
//   success does not clear it.
// - The library takes no locks: use it from one thread at a time.
#ifndef QUILLET_QUILLET_H
#define QUILLET_QUILLET_H

#include "quillet/export.h"

// Result codes.
enum {
  QUILLET_OK = 0,
  QUILLET_E_REMOVE_LOAD_FAILED = 1,      // QuilletRemove: the default collection did not load
  QUILLET_E_NOT_FOUND = 5,               // not found, absent, or end of an enumeration
  QUILLET_E_NULL_HANDLE = 6,             // invalid handle
  QUILLET_E_CHM_MISSING = 7,             // the CHM file does not exist
  QUILLET_E_CHI_MISSING = 8,             // the CHI file does not exist
  QUILLET_E_NO_COLLECTION = 9,           // no registry lists the default collection
  QUILLET_E_DEFAULT_COLLECTION = 10,     // naming or loading the default collection failed
  QUILLET_E_NO_ROOT = 100,               // the document has no root element
  QUILLET_E_PARSE = 110,                 // the file is not well-formed XML
  QUILLET_E_STRUCTURE = 120,             // wrong root element, or a required element missing
  QUILLET_E_REGISTRY = 130,              // reading the default collection name failed
  QUILLET_E_BACKUP = 140,                // the backup copy failed
  QUILLET_E_ADD_FOLDER = 150             // adding a folder of the install path failed
};

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
// Returns 1 when the name was read, 0 when not; sets no last-error text.
QUILLET_API int QuilletGetDefaultCollectionFilename(char* buffer, unsigned long size);

// Finds the collection registry: "HHCOLREG.DAT" in the Help directory under the
// Windows directory, else "hhcolreg.dat" in the All Users HTML Help directory on the
// Windows directory's drive. Copies its full path into the caller's buffer of `size`
// bytes (cut to fit) and returns 1; returns 0 with the last-error text
// "HHCOLREG.DAT in %windows%\HELP not found" when neither exists.
QUILLET_API int QuilletGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size);

#endif
