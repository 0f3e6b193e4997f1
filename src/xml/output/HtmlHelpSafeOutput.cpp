#include "xml/output/HtmlHelpSafeOutput.h"

namespace quillet::xml {
namespace {
// One plain flag: the library takes no locks and is used by one thread at a time.
bool safeOutput = false;
}  // namespace

void SetHtmlHelpSafeOutput(bool on) { safeOutput = on; }

bool HtmlHelpSafeOutput() { return safeOutput; }

}  // namespace quillet::xml
