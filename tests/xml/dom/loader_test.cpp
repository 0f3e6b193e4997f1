#include <gtest/gtest.h>

#include <string>

#include "quillet/xml/DOM.h"
#include "support/XmlTestSupport.h"
#include "support/SandboxPrefix.h"
#include "xml/common/U16String.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/dom/loader/PendingParseError.h"
#include "xml/output/XMLSave.h"

namespace quillet::xml {
namespace {

using quillet::test::DocumentPtr;
using quillet::test::SandboxPrefix;

// Every node with its kind, names, value and namespace URI, attributes included, one
// per line and indented by depth: two trees are the same when their dumps are.
void Dump(const CDOMNode* node, int depth, std::u16string& out) {
  out += std::u16string(static_cast<size_t>(depth), u' ');
  out += static_cast<char16_t>(u'0' + node->getNodeType());
  out += u" [" + std::u16string(node->getNodeName()) + u"] [" + node->getNodeValue() + u"]";
  if (node->getNodeType() == DOMNodeTypeElement) {
    out += u" {" + std::u16string(node->getNamespaceURI()) + u"}";
    for (const CDOMNode* a = static_cast<const CDOMElement*>(node)->getFirstAttribute(); a; a = a->getNextSibling()) {
      out += u" " + std::u16string(a->getNodeName()) + u"{" + a->getNamespaceURI() + u"}=" + a->getNodeValue();
    }
  }
  out += u"\n";
  for (const CDOMNode* child = node->getFirstChild(); child; child = child->getNextSibling()) Dump(child, depth + 1, out);
}

std::u16string Dump(const CDOMNode* node) {
  std::u16string out;
  Dump(node, 0, out);
  return out;
}

class Loader : public ::testing::Test {
 protected:
  void SetUp() override { ReplacePendingParseError(nullptr); }
  void TearDown() override { ReplacePendingParseError(nullptr); }

  DocumentPtr load(const std::string& bytes, XMLDeclInfo& info) {
    sandbox.writeFile("drive_c/windows/Help/in.xml", bytes);
    return DocumentPtr(LoadDocument(u"C:\\windows\\Help\\in.xml", info));
  }

  SandboxPrefix sandbox;
};

TEST_F(Loader, EveryNodeLandsWhereTheReaderFoundIt) {
  XMLDeclInfo info;
  info.declared = false;
  info.expandCDATA = false;  // the load reports the reader's fixed values back
  info.preserveSpace = true;
  info.reserved = false;
  DocumentPtr doc = load("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- head -->\r\n"
                         "<r xmlns=\"urn:d\" xmlns:p=\"urn:p\">t<p:c p:a=\"1\" b=\"2\" b=\"3\"/></r>\r\n<!-- tail -->\r\n",
                         info);
  ASSERT_NE(doc, nullptr);
  // An unprefixed attribute takes the default namespace, as the reader reports it; a
  // repeated name replaces the value in place.
  EXPECT_EQ(Dump(doc.get()),
            u"9 [#document] []\n"
            u" 7 [xml] [version=\"1.0\" encoding=\"UTF-8\"]\n"
            u" 8 [#comment] [ head ]\n"
            u" 1 [r] [] {urn:d} xmlns{urn:d}=urn:d xmlns:p{http://www.w3.org/2000/xmlns/}=urn:p\n"
            u"  3 [#text] [t]\n"
            u"  1 [p:c] [] {urn:p} p:a{urn:p}=1 b{urn:d}=3\n"
            u" 8 [#comment] [ tail ]\n");
  EXPECT_EQ(doc->getDocumentElement(), doc->getFirstChild()->getNextSibling()->getNextSibling());
  EXPECT_EQ(std::u16string(doc->getDocumentElement()->getLastChild()->getLocalName()), u"c");
  EXPECT_TRUE(info.declared);
  EXPECT_EQ(info.encoding, u"UTF-8");
  EXPECT_TRUE(info.encodingGiven);
  EXPECT_TRUE(info.expandCDATA);
  EXPECT_FALSE(info.preserveSpace);
  EXPECT_TRUE(info.reserved);
}

TEST_F(Loader, AMalformedFileLeavesItsErrorPendingAndInfoUnchanged) {
  XMLDeclInfo info;
  info.encoding = u"before";
  DocumentPtr doc = load("<r>\n  <a></b>\n</r>", info);
  EXPECT_EQ(doc, nullptr);
  EXPECT_EQ(info.encoding, u"before");
  const CSAXParseException* error = PeekPendingParseError();
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->getCode(), 150);
  EXPECT_EQ(error->getLineNumber(), 2);

  // A later failure replaces it; a missing file leaves it as it was.
  DocumentPtr second = load("<r><!-- a -- b --></r>", info);
  EXPECT_EQ(second, nullptr);
  ASSERT_NE(PeekPendingParseError(), nullptr);
  EXPECT_EQ(PeekPendingParseError()->getCode(), 110);
  EXPECT_EQ(PeekPendingParseError()->getLineNumber(), 1);
  EXPECT_EQ(DocumentPtr(LoadDocument(u"C:\\windows\\Help\\missing.xml", info)), nullptr);
  ASSERT_NE(PeekPendingParseError(), nullptr);
  EXPECT_EQ(PeekPendingParseError()->getCode(), 110);
  EXPECT_EQ(info.encoding, u"before");
}

TEST_F(Loader, AnEmptyFileLoadsAsADocumentWithoutElement) {
  // The caller decides what a document without a root element means.
  XMLDeclInfo info;
  DocumentPtr doc = load("", info);
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(doc->hasChildNodes());
  EXPECT_EQ(doc->getDocumentElement(), nullptr);
  EXPECT_EQ(PeekPendingParseError(), nullptr);
}

// Load, save with what the load learnt, load again: the same tree, and the bytes on
// disk in the encoding the file came in.
TEST_F(Loader, SameTreeAfterSaveAndReloadInEachEncoding) {
  using quillet::test::Utf16LeBytes;
  const struct {
    std::string input;
    std::u16string encoding;  // as the load reports it
    std::string saved;        // the bytes the save writes
  } rows[] = {
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"&lt;&amp;&quot;\">caf\xC3\xA9 \xE2\x82\xAC</r>", u"UTF-8",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"&lt;&amp;&quot;\">caf\xC3\xA9 \xE2\x82\xAC</r>\r\n"},
      {Utf16LeBytes(u"<?xml version='1.0'?><r>\u20AC</r>", true), u"UTF-16",
       Utf16LeBytes(u"<?xml version='1.0'?>\r\n<r>\u20AC</r>\r\n", true)},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><c n=\"\xE9\"/></r>", u"ISO-8859-1",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<r>\r\n\t<c n=\"\xE9\"/>\r\n</r>\r\n"},
      {"<?xml version=\"1.0\" encoding=\"ASCII\"?><r>\xFF</r>", u"ASCII",
       "<?xml version=\"1.0\" encoding=\"ASCII\"?>\r\n<r>\xFF</r>\r\n"},
      {"<XML><r n=5 m=\"x y\"><c>\xE9</c><d/></r></XML>", u"MSXML_IE4",
       "<XML>\r\n<r n=5 m=\"x y\">\r\n\t<c>\xE9</c>\r\n\t<d/>\r\n</r>\r\n</XML>\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(U16ToUtf8(row.encoding));
    XMLDeclInfo info;
    DocumentPtr first = load(row.input, info);
    ASSERT_NE(first, nullptr) << (PeekPendingParseError() ? "parse error" : "no file");
    EXPECT_EQ(info.encoding, row.encoding);
    ASSERT_EQ(WriteDocumentFile(first.get(), u"C:\\windows\\Help\\out.xml", info).outcome, SaveOutcome::kWritten);
    EXPECT_EQ(sandbox.readFile("drive_c/windows/Help/out.xml"), row.saved);
    XMLDeclInfo again;
    DocumentPtr second(LoadDocument(u"C:\\windows\\Help\\out.xml", again));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Dump(second.get()), Dump(first.get()));
    EXPECT_EQ(again.encoding, info.encoding);
    EXPECT_EQ(again.encodingGiven, info.encodingGiven);
  }
}

}  // namespace
}  // namespace quillet::xml
