/* The Quillet library for callers that cannot use C++ linkage: C programs, Python's
 * ctypes, installer scripting systems. This header compiles as C (C99 and later) and
 * as C++.
 *
 * Naming. Every function of the C++ interface (quillet.h) is here under the name
 * "QuilletC" followed by the rest of its name, with the same parameters and the same
 * behaviour: QuilletAddFolder is QuilletCAddFolder. The two forms of
 * QuilletOpenDocInfo get one name each: QuilletCOpenDocInfoFile (with a file name)
 * and QuilletCOpenDocInfoDefault (without). Functions that exist only in C form have
 * plain names (QuilletSetSafeMode). quillet.h and this header can be
 * included together.
 *
 * Sized calls. Four C++ calls fill a buffer whose size they are not told. Each has a
 * variant here, named with the suffix "Sized", that takes the buffer's size in bytes
 * and never writes past it. When the text and its NUL fit, they are copied and the
 * call returns what the plain call returns. When they do not fit, the call returns
 * QUILLET_E_BUFFER_TOO_SMALL (160) and leaves the empty text in the buffer (nothing
 * at all for size 0 or a null buffer): a cut text is never handed out as if it were
 * whole. Call again with a bigger buffer. A failure of the plain call (not found,
 * invalid handle) is reported before the size is looked at, with its own code.
 *
 * Everything else is as in quillet.h: texts are NUL-terminated ANSI text (UTF-8 on
 * systems other than Windows), buffers belong to the caller, handles are non-zero
 * numbers, results are the codes of quillet/result_codes.h, and QuilletCGetLastError
 * gives the text a failure left. Use the library from one thread at a time.
 */
#ifndef QUILLET_QUILLET_C_H
#define QUILLET_QUILLET_C_H

#include "quillet/export.h"
#include "quillet/doc_values.h"
#include "quillet/result_codes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Frame ---------------------------------------------------------------------- */

/* Copies the version text (41 characters) and its NUL into `buffer`, which must hold
 * 42 bytes. A null buffer is ignored. */
QUILLET_API void QuilletCGetVersion(char* buffer);

/* As QuilletCGetVersion within `size` bytes. Returns 0, or 160 when size < 42. */
QUILLET_API int QuilletCGetVersionSized(char* buffer, unsigned long size);

/* Copies the last-error text and its NUL into `buffer` of `size` bytes, cut to fit
 * (this call always took a size). Nothing is written for size 0 or a null buffer. */
QUILLET_API void QuilletCGetLastError(char* buffer, unsigned long size);

/* Reads the default collection's file name from HTML Help's registry settings into
 * `buffer` of `size` bytes. Returns 1 when it was read, 0 when not. */
QUILLET_API int QuilletCGetDefaultCollectionFilename(char* buffer, unsigned long size);

/* Copies the full path of the collection registry (hhcolreg.dat) into `buffer` of
 * `size` bytes, cut to fit. Returns 1 when found, 0 when not (with a last-error text). */
QUILLET_API int QuilletCGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size);

/* Turns safe mode on (non-zero) or off (0) for the whole process; it is off until
 * turned on, and every function then behaves as it always has. Safe mode protects the
 * user's files where that behaviour would lose or damage data (the quillet tool turns
 * it on; the README's "Safe mode" section lists every difference):
 * - a file in HTML Help's own "<XML>" form is read and written in the system's ANSI
 *   code page (not byte for character), and a character the code page cannot hold
 *   fails the save with QUILLET_E_UNREPRESENTABLE instead of being cut to its low
 *   8 bits; likewise for "ASCII" and "ISO-8859-1" files and characters above U+00FF;
 * - in the "<XML>" form, an element with neither attributes nor children is written
 *   `<Locations></Locations>`, which HTML Help's own reader needs, not `<Locations/>`;
 * - a save that cannot write, flush or replace its file returns
 *   QUILLET_E_WRITE_FAILED with a last-error text naming the file and the reason
 *   (QuilletSaveCollection, QuilletSaveDocInfo, QuilletInstall, QuilletRemove), and a
 *   failed backup sets a last-error text with the reason;
 * - QuilletInstall and QuilletRemove check both files before changing either, and
 *   change both or neither; their last-error texts name the file that is wrong. */
QUILLET_API void QuilletSetSafeMode(int on);

/* The earlier name of QuilletSetSafeMode, kept for callers built against it. */
QUILLET_API void QuilletSetHtmlHelpSafeOutput(int on);

/* Turns the help files' lock for handles on (non-zero) or off (0, the default) for the
 * whole process. While it is on, every collection or doc-info handle holds an advisory
 * lock on the file "hhcolreg.lck" beside hhcolreg.dat from its load until it is
 * released, so that another program's install cannot slip in between a load and a
 * save. QuilletInstall and QuilletRemove always hold that lock while they work. A
 * call that waits longer than the lock wait (QUILLET_LOCK_TIMEOUT seconds from the
 * environment, default 30) fails with QUILLET_E_LOCKED and a last-error text. */
QUILLET_API void QuilletLockFiles(int on);

/* ---- Collection files: see QuilletLoadCollection and the following in quillet.h --- */

/* Loads a collection file; on 0 writes a new collection handle. 100, 110, 120 on
 * failure (with a last-error text). Release with QuilletCReleaseCollection. */
QUILLET_API int QuilletCLoadCollection(const char* fileName, unsigned long* handle);

/* Loads the default collection file; as QuilletCLoadCollection, or 10 when none is
 * named in the registry settings. */
QUILLET_API int QuilletCLoadDefaultCollection(unsigned long* handle);

/* Writes the collection back to its file; 0, or 6 for an invalid handle (170 or 180 in
 * safe mode when the file could not be written). */
QUILLET_API int QuilletCSaveCollection(unsigned long handle);

/* Releases a collection handle and the folder handles made from it, without saving. */
QUILLET_API void QuilletCReleaseCollection(unsigned long handle);

/* Copies the default collection file to the same name with ".bak"; 0, 10 or 140. */
QUILLET_API int QuilletCBackupDefaultCollection(void);

/* ---- Folders ---------------------------------------------------------------------- */

/* Writes a cursor on the first root folder; 0, 5 (none), 100 or 120. */
QUILLET_API int QuilletCEnumCollectionRootFolders(unsigned long collection, unsigned long* cursor);

/* Writes a handle on the cursor's folder and moves the cursor on; 0, or 5 at the end. */
QUILLET_API int QuilletCNextCollectionFolder(unsigned long cursor, unsigned long* folder);

/* Writes a cursor on the folder's first sub-folder; 0, or 5 when it has none. */
QUILLET_API int QuilletCEnumSubFolders(unsigned long folder, unsigned long* cursor);

/* Copies the folder's title and its NUL into `buffer`, which must have room for it;
 * 0, or 5 when the folder has no title element. Prefer QuilletCGetFolderNameSized. */
QUILLET_API int QuilletCGetFolderName(unsigned long folder, char* buffer);

/* As QuilletCGetFolderName within `size` bytes: 0, 5, 6, or 160 when it does not fit. */
QUILLET_API int QuilletCGetFolderNameSized(unsigned long folder, char* buffer, unsigned long size);

/* Appends a root folder titled `title`; writes a handle on it. 0, 100 or 120. */
QUILLET_API int QuilletCAddFolder(unsigned long collection, const char* title, unsigned long* folder);

/* Appends a sub-folder titled `title` to the folder; writes a handle on it. 0. */
QUILLET_API int QuilletCAddSubFolder(unsigned long folder, const char* title, unsigned long* subFolder);

/* Finds the first folder at any depth titled exactly `title`; 0, or 5. */
QUILLET_API int QuilletCFindFolder(unsigned long collection, const char* title, unsigned long* folder);

/* Finds a direct sub-folder titled exactly `title`; 0, or 5. */
QUILLET_API int QuilletCFindSubFolder(unsigned long folder, const char* title, unsigned long* subFolder);

/* Takes the folder and everything in it out of the tree; its handles end. */
QUILLET_API void QuilletCDeleteFolder(unsigned long folder);

/* ---- Title entries of the collection registry --------------------------------------- */

/* Opens the registry file `fileName`; on 0 writes a new doc-info handle. 5 when the
 * file does not exist, 110 when it is not well-formed. Close with QuilletCCloseDocInfo. */
QUILLET_API int QuilletCOpenDocInfoFile(const char* fileName, unsigned long* docInfo);

/* Opens the registry that lists the default collection; 0, 5, 9 or 110. */
QUILLET_API int QuilletCOpenDocInfoDefault(unsigned long* docInfo);

/* Writes an enumeration handle over every title entry (a snapshot); 0, or 5. */
QUILLET_API int QuilletCEnumDocCompilations(unsigned long docInfo, unsigned long* enumeration);

/* Writes a doc handle on the enumeration's next entry; 0, or 5 after the last. */
QUILLET_API int QuilletCNextDocCompilation(unsigned long enumeration, unsigned long* doc);

/* Finds the entry of `titleId` (compared exactly); 0, or 5. */
QUILLET_API int QuilletCFindDoc(unsigned long docInfo, const char* titleId, unsigned long* doc);

/* Finds or adds the entry of `titleId`; 0, or 120 when the registry has no
 * DocCompilations element. */
QUILLET_API int QuilletCAddDoc(unsigned long docInfo, const char* titleId, unsigned long* doc);

/* Takes the entry out of the tree; its handle then only serves QuilletCCloseDoc. 0 or 6. */
QUILLET_API int QuilletCRemoveDoc(unsigned long doc);

/* Writes the registry back to its file; 0, or 6 for an invalid handle (170 or 180 in
 * safe mode when the file could not be written). */
QUILLET_API int QuilletCSaveDocInfo(unsigned long docInfo);

/* Closes a doc-info handle and every handle made from it, without saving. */
QUILLET_API void QuilletCCloseDocInfo(unsigned long docInfo);

/* Closes a doc handle; its entry stays in the tree. */
QUILLET_API void QuilletCCloseDoc(unsigned long doc);

/* Copies HHCOLREG.DAT to HHCOLREG.BAK beside it; 0, 5 or 140. */
QUILLET_API int QuilletCBackupDocInfo(void);

/* Copies the number of the registry's Collection entry for the default collection
 * into `buffer`, which must have room for it; 0, 5, 9 or 130 (last-error text set). */
QUILLET_API int QuilletCGetDefaultCollectionNumber(unsigned long docInfo, char* buffer);

/* As QuilletCGetDefaultCollectionNumber within `size` bytes, or 160 when it does not
 * fit. */
QUILLET_API int QuilletCGetDefaultCollectionNumberSized(unsigned long docInfo, char* buffer,
                                                        unsigned long size);

/* ---- Title entry values: 1 CHM path, 2 CHI path, 3 language, 4 collection number,
 *      5 location name, 6 title id (read only) ----------------------------------------- */

/* Copies value `valueId` of the entry and its NUL into `buffer`, which must have room
 * for it; 0, or 5 for an unknown id or a missing element. */
QUILLET_API int QuilletCGetDocValue(unsigned long doc, long valueId, char* buffer);

/* As QuilletCGetDocValue within `size` bytes: 0, 5, 6, or 160 when it does not fit. */
QUILLET_API int QuilletCGetDocValueSized(unsigned long doc, long valueId, char* buffer,
                                         unsigned long size);

/* Sets value `valueId` (1 to 5) of the entry, creating its elements; 0, or 5. The
 * value is only read. */
QUILLET_API int QuilletCSetDocValue(unsigned long doc, long valueId, const char* value);

/* ---- Install and remove ------------------------------------------------------------ */

/* Registers a title and hangs it into the default collection under `folderPath`
 * (titles separated by backslashes); 0, 7, 8, 9, 10, 120, 150 or 190 (170, 180 in safe mode). */
QUILLET_API int QuilletCInstall(const char* folderPath, const char* chmPath, const char* chiPath,
                                const char* titleId);

/* Removes a title's entry and the folder `folderPath` names; either may be null.
 * 0, 1, 5, 9, 110 or 190 (170, 180 in safe mode). */
QUILLET_API int QuilletCRemove(const char* folderPath, const char* titleId);

#ifdef __cplusplus
}
#endif

#endif
