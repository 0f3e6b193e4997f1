// Fuzz target: Wine's system.reg text and Windows paths, as the portable backend reads
// them. Any text indexes without a crash, every key and value it finds can be read, and
// path splitting and joining give back what they took apart.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "platform/Platform.h"
#include "platform/portable/WineRegistry.h"

using namespace quillet::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The registry text, with the header it needs in front unless the input asks otherwise.
  const bool raw = size > 0 && data[0] == '!';
  std::unique_ptr<WineRegistry> registry =
      WineRegistry::parse(raw ? input.substr(1) : "WINE REGISTRY Version 2\n" + input);
  if (registry) {
    // Every key, depth first, with every value the library would ask for.
    std::vector<const WineRegistry::Key*> keys{&registry->root()};
    size_t visited = 0;
    while (!keys.empty() && visited < 10000) {
      const WineRegistry::Key* key = keys.back();
      keys.pop_back();
      ++visited;
      for (const char* name : {"", "Language", "Preferred", "Filename", "ACP"}) {
        if (const WineRegistryValue* value = key->value(name)) AnsiValueData(*value);
      }
      for (const WineRegistry::Key* sub : key->subkeys()) keys.push_back(sub);
    }
    registry->find(input.substr(0, 200));
  }
  // The same bytes as a Windows path.
  const std::string path = input.substr(0, 300);
  const PathParts parts = SplitPath(path);
  const PathParts again = SplitPath(MakePath(parts));
  if (path.find('\0') == std::string::npos)
    quillet::fuzz::Require(again.drive == parts.drive && again.name == parts.name && again.extension == parts.extension,
                           "split, join and split again differ", path);
  return 0;
}
