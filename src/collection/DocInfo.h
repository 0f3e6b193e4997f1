// Title entries of the collection registry: finding the registry that lists the
// default collection, and finding or adding an entry.
#ifndef QUILLET_COLLECTION_DOCINFO_H
#define QUILLET_COLLECTION_DOCINFO_H

#include <memory>
#include <string>

#include "collection/CollectionFile.h"

namespace quillet {

// The longest collection number the registry probe takes, NUL included. A longer
// ColNum value is refused rather than cut: a cut number would stamp titles with a
// collection that does not exist.
constexpr size_t kCollectionNumberBuffer = 60;

// Opens any well-formed file as a registry: 0, 5 ("File does not exist") or 110 (and
// 190, as LoadFile). A copy of why a load failed goes to `failure` when given.
int OpenRegistryFile(const std::string& fileName, const Switches& switches, std::unique_ptr<CCollectionFile>& file,
                     Status& status, xml::LoadResult* failure = nullptr);

// The number of the registry's Collection whose ColName names the default collection
// file: 0, 5, 9 or 130, setting the texts on the way.
int DefaultCollectionNumber(CCollectionFile& file, std::string& number, Status& status);

// Finds the registry that lists the default collection: the Help directory's one,
// else the All Users one. On 0, `file` holds the accepted registry, `path` its name
// and `number` the default collection's number; otherwise 9, and `why` (when given)
// says for each file looked at what was wrong with it.
int ProbeDefaultRegistry(const Switches& switches, std::unique_ptr<CCollectionFile>& file, std::string& path,
                         std::string& number, Status& status, std::string* why = nullptr);

// Opens the registry that lists the default collection as QuilletOpenDocInfo without
// a file name does: 0, 5 ("HHCOLREG.DAT not found"), 9 or 110.
int OpenDefaultRegistryFile(const Switches& switches, std::unique_ptr<CCollectionFile>& file, Status& status);

// The first DocCompilation at any depth whose DocCompId value equals `titleId`
// exactly; null when there is none.
xml::CDOMElement* FindDocCompilation(CCollectionFile& file, const std::string& titleId);

// The entry of `titleId`, added under DocCompilations (holding only its DocCompId)
// when missing. 0, or 120 when the registry has no DocCompilations.
int FindOrAddDocCompilation(CCollectionFile& file, const std::string& titleId, xml::CDOMElement*& entry);

}  // namespace quillet

#endif
