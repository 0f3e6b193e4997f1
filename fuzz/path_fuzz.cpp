// Fuzz target: any bytes as a path expression and a match pattern.
//
// The bytes, read as UTF-8, are evaluated as a location path (selectNodes) and as an
// expression (testExpression) from several nodes of a small fixed document, and
// checked as a pattern (matchesPattern). Any expression must end in a result or a
// failure status, never a crash, a hang or a leak, and selectSingleNode must agree
// with selectNodes. The language writes its diagnostic lines to standard output: run
// with -close_fd_mask=1 to keep them out of the fuzzer's log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quillet/xml/DOM.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"

using namespace quillet::xml;

namespace {

constexpr char kDocument[] =
    "<r id='r'><a id='1' n='5'><b>x</b><c/><b>y<![CDATA[z]]></b><!--k--></a>"
    "<a id='2'><b>7</b><d><b>deep</b><?p i?></d>tail</a><p:e xmlns:p='urn:p' p:v='1'/></r>";

struct Fixture {
  Fixture() {
    XMLDeclInfo info;
    doc = LoadDocumentFromMemory(kDocument, sizeof kDocument - 1, info).document.release();
    if (doc == nullptr) std::abort();
    contexts[0] = doc;
    contexts[1] = doc->getDocumentElement();
    contexts[2] = doc->selectSingleNode(u"//d/b");
    contexts[3] = doc->selectSingleNode(u"r/a/@n");
    for (CDOMNode* context : contexts) {
      if (context == nullptr) std::abort();
    }
  }

  CDOMDocument* doc = nullptr;
  CDOMNode* contexts[4] = {};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  const std::u16string text = Utf8ToU16(std::string(reinterpret_cast<const char*>(data), size));
  for (CDOMNode* context : fixture.contexts) {
    CDOMNodeList* list = context->selectNodes(text.c_str());
    CDOMNode* first = context->selectSingleNode(text.c_str());
    if ((list == nullptr ? nullptr : list->item(0)) != first) std::abort();
    if (list != nullptr) list->release();
    bool result = false;
    context->testExpression(text.c_str(), result);
    context->testExpressionAt(text.c_str(), result, 3, 2);
    context->matchesPattern(text.c_str());
  }
  return 0;
}
