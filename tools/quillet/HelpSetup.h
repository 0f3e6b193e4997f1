// Setting up a Wine prefix as a working HTML Help environment (the `init` command):
// the registry values that name a default collection file, the collection registry
// that lists that collection, and the collection file itself.
//
// Nothing that exists is replaced. Each piece is looked for first and only what is
// missing is made; the registry values go into system.reg with every other byte of
// it kept. Everything is checked before anything is written, and each file is
// written whole or not at all.
#ifndef QUILLET_TOOL_HELPSETUP_H
#define QUILLET_TOOL_HELPSETUP_H

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace quillet::tool {

// What `init` makes when nothing else is asked for.
extern const char* const kDefaultLanguage;           // "0x0409"
extern const char* const kDefaultCollectionName;     // "Quillet"
extern const char* const kDefaultCollectionFile;     // "C:\windows\Help\quillet.col"
extern const char* const kDefaultCollectionRegistry; // "C:\windows\Help\hhcolreg.dat"

struct SetupRequest {
  std::optional<std::string> name;  // the "Preferred" collection to make (--name)
  std::optional<std::string> file;  // its "Filename" (--file), a Windows path
  std::uint64_t timestamp = 0;      // written on new key blocks of system.reg
};

// Sets up the prefix in effect (quillet::platform::Prefix()). Writes what it found
// and what it made to `out`, warnings and errors to `err`. Returns the exit code:
// 0 when the prefix is set up, 1 when something could not be read or written or is
// not what it must be (then the files that were already complete stay in place, and
// nothing is half written).
int SetUpHelpEnvironment(const SetupRequest& request, std::ostream& out, std::ostream& err);

// The collection registry that lists one collection, number 1, whose file is
// `collectionFile`, in the "<XML>" form HTML Help writes (CR LF, tabs).
std::string CollectionRegistryText(const std::string& collectionFile);
// An empty collection file in the same form.
std::string CollectionFileText();

// Checks of the command's arguments: the empty text when acceptable, else why not.
std::string CheckCollectionName(const std::string& name);
std::string CheckCollectionFile(const std::string& path);

}  // namespace quillet::tool

#endif
