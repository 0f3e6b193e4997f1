// titles: the registered help titles, one JSON object per line.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "Command.h"
#include "CommandSupport.h"
#include "api/Handles.h"
#include "collection/DocInfo.h"
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
  return FromAnsi(text);
}

// Opens the registry to list, or reports why it cannot be.
bool OpenRegistry(const std::string& registry, unsigned long& docInfo) {
  ForgetLastError();
  if (!registry.empty()) {
    const std::string file = ToAnsi(registry);
    if (const FileProblem problem = CheckHelpFile(file, HelpFileKind::kRegistry); problem.code != 0) {
      Fail("titles", problem.code, problem.message);
      return false;
    }
    return Finish(QuilletCOpenDocInfoFile(file.c_str(), &docInfo), "titles") == QUILLET_OK;
  }
  const int code = QuilletCOpenDocInfoDefault(&docInfo);
  if (code == QUILLET_E_NO_COLLECTION) {
    // The probe's own text says only that nothing matched; ask it what it saw.
    std::unique_ptr<CCollectionFile> file;
    std::string path, number, why;
    Status ignored;
    ProbeDefaultRegistry(CurrentSwitches(), file, path, number, ignored, &why);
    Fail("titles", code, "no collection registry lists the default collection: " + FromAnsi(why));
    return false;
  }
  return Finish(code, "titles") == QUILLET_OK;
}

void RunTitles(const std::string& registry) {
  unsigned long docInfo = 0;
  if (!OpenRegistry(registry, docInfo)) return;
  unsigned long entries = 0;
  const int code = QuilletCEnumDocCompilations(docInfo, &entries);
  if (code == QUILLET_OK) {
    unsigned long doc = 0;
    while (QuilletCNextDocCompilation(entries, &doc) == QUILLET_OK) {
      nlohmann::ordered_json line;
      line["id"] = DocValue(doc, QUILLET_DOC_TITLE_ID);
      line["language"] = DocValue(doc, QUILLET_DOC_LANGUAGE);
      line["chm"] = DocValue(doc, QUILLET_DOC_CHM_PATH);
      line["chi"] = DocValue(doc, QUILLET_DOC_CHI_PATH);
      line["colnum"] = DocValue(doc, QUILLET_DOC_COLLECTION_NUMBER);
      line["locationRef"] = DocValue(doc, QUILLET_DOC_LOCATION_NAME);
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

}  // namespace

void AddTitlesCommand(CLI::App& app) {
  auto registry = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand("titles", "List the registered titles, one JSON object per line");
  cmd->add_option("--registry", *registry, "Registry file to read instead of the default one");
  cmd->callback([registry] { RunTitles(*registry); });
}

}  // namespace quillet::tool
