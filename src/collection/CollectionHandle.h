// Loading, saving and releasing collection files and registries, shared by the
// collection-handle exports, the doc-info exports and install/remove.
#ifndef QUILLET_COLLECTION_COLLECTIONHANDLE_H
#define QUILLET_COLLECTION_COLLECTIONHANDLE_H

#include <memory>
#include <string>

#include "collection/CollectionFile.h"

namespace quillet {

// Turns the pending parse error of the last failed load into the last-error text:
// three lines (message, code, line and column), or "NO LAST ERROR" when the loader
// left none. Empties the pending slot.
void FormatParseError();

// Loads `fileName` into a new record, refusing a name longer than
// CCollectionFile::kMaxFileName ("File name longer than 260 characters", 110). The
// name is widened with the C library's multibyte conversion when `multiByteName` is
// set, else through the ANSI code page. Returns 0 or 110 (parse-error text set; a
// copy of why the load failed goes to `failure` when given), or 190 when
// QuilletLockFiles is on and the help files' lock could not be taken.
int LoadFile(const std::string& fileName, bool multiByteName, std::unique_ptr<CCollectionFile>& file,
             xml::LoadResult* failure = nullptr);

// A file's path for a message: the path as the library uses it, followed on the
// portable backend by the host path it stands for, in parentheses.
std::string ShownPath(const std::string& path);

// Why a load failed, as a clause for a message: "is not well-formed XML (line 3,
// column 7: End tag does not match start tag)", "cannot be read: Permission denied".
std::string DescribeLoadFailure(const xml::LoadResult& failure);

// What a save tells its caller: 0 on success; for a failure, 0 as saves always
// reported, except in safe mode: 170 (write failed) or 180 (a character the file's
// code page cannot hold), with a last-error text that names `fileName` and the
// reason.
int ReportSave(const xml::SaveResult& result, const std::string& fileName);

// The last-error text ReportSave gives a failed save.
std::string DescribeSaveFailure(const xml::SaveResult& result, const std::string& fileName);

// A backup copy of `from` to `to`: 0, or 140 (in safe mode with the reason as the
// last-error text).
int BackupCopy(const std::string& from, const std::string& to);

// Whether the file's root element is a collection's: 0; 100 "Root element not
// present"; 120 "HTMLHelpCollection root element not found" (letter case ignored).
int CheckCollectionRoot(CCollectionFile& file);

// LoadFile, then CheckCollectionRoot: 0, 100, 110 or 120 with their texts.
int LoadCollectionFile(const std::string& fileName, std::unique_ptr<CCollectionFile>& file);

// LoadCollectionFile on the developer's default collection: 10 (after the diagnostic
// line "Failed to get collection filename") when the registry settings name none.
int LoadDefaultCollectionFile(std::unique_ptr<CCollectionFile>& file);

// The default collection's file name from the registry settings, or false after the
// diagnostic line "Failed to get collection filename".
bool DefaultCollectionName(std::string& name);

// Checks a caller's place for a new handle: false, with the last-error text
// "Null handle pointer", when it is null.
bool RequireHandlePlace(unsigned long* place);

// Writes a diagnostic line to standard output, where installers' logs pick it up.
void PrintDiagnostic(const char* line);

}  // namespace quillet

#endif
