// titles: the registered help titles, one JSON object per line.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "quillet/quillet_c.h"

namespace quillet::tool {
namespace {

// One JSON value of an entry: its text, or null when the entry lacks it.
nlohmann::ordered_json DocValue(unsigned long doc, long valueId) {
  std::string text;
  const int code = ReadSized(
      [&](char* buffer, unsigned long size) { return QuilletCGetDocValueSized(doc, valueId, buffer, size); },
      text);
  if (code != QUILLET_OK) return nullptr;
  return text;
}

void RunTitles(const std::string& registry) {
  ForgetLastError();
  unsigned long docInfo = 0;
  int code = registry.empty() ? QuilletCOpenDocInfoDefault(&docInfo)
                              : QuilletCOpenDocInfoFile(registry.c_str(), &docInfo);
  if (code != QUILLET_OK) {
    Finish(code, "titles");
    return;
  }
  unsigned long entries = 0;
  code = QuilletCEnumDocCompilations(docInfo, &entries);
  if (code == QUILLET_OK) {
    unsigned long doc = 0;
    while (QuilletCNextDocCompilation(entries, &doc) == QUILLET_OK) {
      nlohmann::ordered_json line;
      line["id"] = DocValue(doc, 6);
      line["language"] = DocValue(doc, 3);
      line["chm"] = DocValue(doc, 1);
      line["chi"] = DocValue(doc, 2);
      line["colnum"] = DocValue(doc, 4);
      line["locationRef"] = DocValue(doc, 5);
      QuilletCCloseDoc(doc);
      // Values are ANSI text; a byte sequence that is not UTF-8 is shown replaced
      // rather than ending the listing.
      std::cout << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    }
  }
  QuilletCCloseDocInfo(docInfo);
  // A registry without any title entry is listed as nothing, not as a failure.
  Finish(code == QUILLET_E_NOT_FOUND ? QUILLET_OK : code, "titles");
}

CommandRegistration registration([](CLI::App& app) {
  auto registry = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand("titles", "List the registered titles, one JSON object per line");
  cmd->add_option("--registry", *registry, "Registry file to read instead of the default one");
  cmd->callback([registry] { RunTitles(*registry); });
});

}  // namespace
}  // namespace quillet::tool
