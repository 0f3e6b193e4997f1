// The exported functions that stand alone: where HTML Help's files are, and
// installing or removing a title in both of them.
#include "api/Handles.h"
#include "api/LastError.h"
#include "collection/Install.h"
#include "collection/Location.h"
#include "collection/Navigation.h"
#include "quillet/quillet.h"

namespace {
constexpr char kRegistryNotFound[] = "HHCOLREG.DAT in %windows%\\HELP not found";
}  // namespace

int QuilletGetDefaultCollectionFilename(char* buffer, unsigned long size) {
  return quillet::ReadDefaultCollectionFilename(buffer, size) ? 1 : 0;
}

int QuilletGetDefaultDocumentCollectionFilename(char* buffer, unsigned long size) {
  std::string path;
  if (!quillet::FindRegistryFile(path)) {
    quillet::SetLastErrorText(kRegistryNotFound);
    return 0;
  }
  quillet::CopyTextBounded(path, buffer, size);
  return 1;
}

int QuilletInstall(const char* folderPath, const char* chmPath, const char* chiPath, const char* titleId) {
  using namespace quillet;
  TitleChangeOptions options;
  options.switches = CurrentSwitches();
  options.allOrNothing = options.switches.safe;
  Status status;
  const int code = InstallTitle(CallerText(folderPath), CallerText(chmPath), CallerText(chiPath),
                                CallerText(titleId), options, status);
  return Report(status, code);
}

int QuilletRemove(const char* folderPath, const char* titleId) {
  using namespace quillet;
  TitleChangeOptions options;
  options.switches = CurrentSwitches();
  options.allOrNothing = options.switches.safe;
  Status status;
  return Report(status, RemoveTitle(folderPath, titleId, options, status));
}
