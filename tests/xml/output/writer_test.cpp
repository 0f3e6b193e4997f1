#include <gtest/gtest.h>

#if defined(__unix__) || defined(__APPLE__)
#include <pthread.h>
#endif

#include <string>
#include <utility>
#include <vector>

#include "OutputTestSupport.h"
#include "quillet/xml/DOM.h"
#include "support/XmlTestSupport.h"
#include "xml/common/U16String.h"
#include "xml/output/XMLSave.h"
#include "xml/output/XMLWriter.h"

namespace quillet::xml {
namespace {

using quillet::test::DocumentPtr;

XMLDeclInfo Decl(bool declared, const char16_t* encoding, bool encodingGiven) {
  XMLDeclInfo info;
  info.declared = declared;
  info.encoding = encoding;
  info.encodingGiven = encodingGiven;
  return info;
}

// Writes a whole document as saveDocumentToFile does, into memory.
std::string WriteDocument(const CDOMDocument* doc, const XMLDeclInfo& info, bool* result = nullptr,
                          const WriteOptions& options = WriteOptions()) {
  VectorSink sink;
  CXMLWriter writer(options);
  writer.setByteSink(&sink);
  writer.selectEncoding(info.encoding);
  const bool ok = writer.writeDocument(doc, &info);
  if (result != nullptr) *result = ok;
  return sink.bytes;
}

// A node's text as UTF-8, for readable expectations.
std::string Utf8(const CDOMNode* node) { return U16ToUtf8(NodeToXML(node)); }

// A new document and its document element, named `name`.
std::pair<DocumentPtr, CDOMElement*> NewDocument(const char16_t* name) {
  DocumentPtr doc(new CDOMDocument);
  CDOMElement* root = doc->createElement(name);
  doc->appendChild(root);
  return {std::move(doc), root};
}

// <a><b>text</b><c/></a>
DocumentPtr SmallTree() {
  auto [doc, a] = NewDocument(u"a");
  CDOMElement* b = doc->createElement(u"b");
  a->appendChild(b);
  b->appendChild(doc->createTextNode(u"text"));
  a->appendChild(doc->createElement(u"c"));
  return std::move(doc);
}

TEST(WriteDocument, DeclarationAndEncodingFromTheLoadInfo) {
  const std::string body = "<a>\r\n\t<b>text</b>\r\n\t<c/>\r\n</a>\r\n";
  const std::pair<XMLDeclInfo, std::string> rows[] = {
      {Decl(true, u"UTF-8", true), "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\r\n" + body},
      {Decl(false, u"UTF-8", true), body},
      {Decl(true, u"UTF-8", false), "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n" + body},
      // The name goes out verbatim even when it picks no encoder (UTF-8 then).
      {Decl(true, u"utf-8\"&", true), "<?xml version=\"1.0\" encoding=\"utf-8\"&\" standalone=\"yes\" ?>\r\n" + body},
      {Decl(true, u"MSXML_IE4", true), "<XML>\r\n" + body + "</XML>\r\n"},
      {Decl(false, u"UNICODE", false), quillet::test::Utf16LeBytes(std::u16string(body.begin(), body.end()))},
  };
  for (const auto& [info, expected] : rows) {
    DocumentPtr doc = SmallTree();
    bool ok = false;
    EXPECT_EQ(WriteDocument(doc.get(), info, &ok), expected) << U16ToUtf8(info.encoding);
    EXPECT_TRUE(ok);
  }
}

TEST(WriteDocument, DocumentsOwnDeclarationIsKeptAndPicksTheEncoding) {
  // declInfo says declared, in UNICODE: the tree's own declaration wins, picks the
  // encoding, and no second one is written. A name that picks no encoder gives UTF-8.
  using Row = std::pair<std::u16string, std::string>;  // the declared name, the bytes of "\u00E9"
  for (const auto& [encoding, e] : {Row{u"ISO-8859-1", "\xE9"}, Row{u"KOI8-R", "\xC3\xA9"}}) {
    auto [doc, a] = NewDocument(u"a");
    const std::u16string data = u"version='1.0' encoding='" + encoding + u"'";
    doc->insertBefore(doc->createProcessingInstruction(u"xml", data.c_str()), a);
    a->appendChild(doc->createTextNode(u"\u00E9"));
    EXPECT_EQ(WriteDocument(doc.get(), Decl(true, u"UNICODE", true)),
              "<?xml version='1.0' encoding='" + U16ToUtf8(encoding) + "'?>\r\n<a>" + e + "</a>\r\n");
  }
}

TEST(WriteDocument, WritesNothingForAnEmptyDocumentOrABrokenOwnDeclaration) {
  DocumentPtr empty(new CDOMDocument);
  bool ok = true;
  EXPECT_EQ(WriteDocument(empty.get(), Decl(true, u"UTF-16", true), &ok), "");
  EXPECT_FALSE(ok);

  for (const char16_t* data : {u"encoding='UTF-8'", u"version='1.0' standalone='yes' encoding='x'", u"version='1.0"}) {
    DocumentPtr doc = SmallTree();
    doc->insertBefore(doc->createProcessingInstruction(u"xml", data), doc->getFirstChild());
    ok = true;
    EXPECT_EQ(WriteDocument(doc.get(), Decl(true, u"UTF-16", true), &ok), "");  // not even a byte-order mark
    EXPECT_FALSE(ok);
  }
}

TEST(Escaping, TextAndAttributeValuesShareOneMappingOtherKindsAreWrittenAsTheyStand) {
  auto [doc, e] = NewDocument(u"x&y");
  e->setAttribute(u"v", u"\"<\n'\t\r&>");
  e->appendChild(doc->createTextNode(u"a\"<\n'\t\r&>b"));
  e->appendChild(doc->createComment(u"a -- <b>"));
  e->appendChild(doc->createCDATASection(u"<&]]>"));
  e->appendChild(doc->createProcessingInstruction(u"pi", u"<&\">"));
  EXPECT_EQ(Utf8(e),
            "<x&y v=\"&quot;&lt;&#10;'&#9;&#13;&amp;&gt;\">\r\n\ta&quot;&lt;&#10;'&#9;&#13;&amp;&gt;b\r\n"
            "\t<!--a -- <b>-->\r\n\t<![CDATA[<&]]>]]>\r\n\t<?pi <&\">?>\r\n</x&y>\r\n");
}

// Texts far longer than the writer's and the encoders' buffers, mixing runs of ASCII
// with escapes and characters of two and three UTF-8 bytes at every offset, come out
// whole and in order in each encoding: against the toolkit's plain string conversion.
TEST(Escaping, LongTextsCrossEveryBufferBoundary) {
  std::u16string text;
  std::u16string escaped;
  for (int i = 0; text.size() < 70000; ++i) {
    const int kind = i % 11;
    const char16_t c = kind == 3 ? u'&' : kind == 7 ? u'\u00E9' : kind == 9 ? u'\u20AC' : static_cast<char16_t>(u'a' + i % 26);
    const int repeat = 1 + (i * 7) % 23;
    for (int r = 0; r < repeat; ++r) {
      text += c;
      escaped += c == u'&' ? std::u16string(u"&amp;") : std::u16string(1, c);
    }
  }
  // Then a run with nothing to escape, longer than any buffer.
  for (int i = 0; i < 40000; ++i) {
    const char16_t c = i % 13 == 0 ? u'\u00E9' : i % 17 == 0 ? u'\u20AC' : static_cast<char16_t>(u'a' + i % 26);
    text += c;
    escaped += c;
  }
  auto [doc, root] = NewDocument(u"t");
  root->appendChild(doc->createTextNode(text.c_str()));
  const std::u16string body = u"<t>" + escaped + u"</t>\r\n";
  std::string latin1;
  for (const char16_t c : body) latin1 += static_cast<char>(c & 0xFF);
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"UTF-8", true)), U16ToUtf8(body));
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"UNICODE", false)), quillet::test::Utf16LeBytes(body));
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"ISO-8859-1", true)), latin1);
}

// One node per line, indented by depth; an element whose only child is a text node
// keeps it inline, and an entity reference shares the line of the next sibling.
TEST(Layout, MixedContentDepthAndEntityReferences) {
  auto [doc, a] = NewDocument(u"a");
  a->appendChild(doc->createTextNode(u" lead  "));
  CDOMElement* b = doc->createElement(u"b");
  a->appendChild(b);
  CDOMElement* c = doc->createElement(u"c");
  b->appendChild(c);
  c->setAttribute(u"k", u"v");
  c->setAttribute(u"l", u"w");
  CDOMElement* d = doc->createElement(u"d");
  b->appendChild(d);
  d->setAttribute(u"k", u"v");
  d->appendChild(doc->createCDATASection(u"only"));  // not a text node: own line
  CDOMElement* i = doc->createElement(u"i");
  a->appendChild(i);
  i->appendChild(doc->createTextNode(u"x"));
  a->appendChild(doc->createTextNode(u""));
  a->appendChild(doc->createElement(u"x"));
  a->appendChild(doc->createEntityReference(u"e"));
  a->appendChild(doc->createElement(u"y"));
  EXPECT_EQ(Utf8(a),
            "<a>\r\n\t lead  \r\n\t<b>\r\n\t\t<c k=\"v\" l=\"w\"/>\r\n\t\t<d k=\"v\">\r\n\t\t\t<![CDATA[only]]>\r\n"
            "\t\t</d>\r\n\t</b>\r\n\t<i>x</i>\r\n\t\r\n\t<x/>\r\n&e;\t<y/>\r\n</a>\r\n");
}

// Inside an element, each kind is written as the tests above show.
TEST(GetXML, EachNodeKindOnItsOwn) {
  DocumentPtr doc(new CDOMDocument);
  doc->getDoctype()->setName(u"root");
  CDOMNode* pi = doc->appendChild(doc->createProcessingInstruction(u"pi", u""));
  doc->appendChild(doc->createComment(u" c "));
  CDOMElement* root = doc->createElement(u"root");
  doc->appendChild(root);
  CDOMNode* text = root->appendChild(doc->createTextNode(u"a<b"));
  CDOMAttribute* attribute = root->setAttribute(u"u", u"\u20AC\xD83D\xDE00");
  CDOMNode* entity = doc->createEntityReference(u"amp");

  std::u16string out = u"stale";
  EXPECT_EQ(std::u16string(text->getXML(out)), u"a&lt;b\r\n");
  EXPECT_EQ(out, u"a&lt;b\r\n");
  EXPECT_EQ(NodeToXML(pi), u"<?pi ?>\r\n");
  EXPECT_EQ(NodeToXML(entity), u"&amp;");
  EXPECT_EQ(NodeToXML(attribute), u"");
  EXPECT_EQ(NodeToXML(doc->getDoctype()), u"");
  // A document: its top-level nodes, no declaration, whatever it was loaded with;
  // characters beyond ASCII survive as 16-bit units.
  EXPECT_EQ(NodeToXML(doc.get()), u"<?pi ?>\r\n<!-- c -->\r\n<root u=\"\u20AC\xD83D\xDE00\">a&lt;b</root>\r\n");
  entity->release();
}

// Counts bytes and the longest run of tabs instead of keeping them: indentation makes
// the output of a deep chain quadratic in its depth.
class CountingSink : public CByteSink {
 public:
  void putByte(unsigned char b) override { count(b); }
  void writeBytes(const unsigned char* p, size_t n) override {
    for (size_t i = 0; i < n; ++i) count(p[i]);
  }
  size_t total = 0;
  size_t longestTabRun = 0;

 private:
  void count(unsigned char b) {
    ++total;
    run = b == '\t' ? run + 1 : 0;
    if (run > longestTabRun) longestTabRun = run;
  }
  size_t run = 0;
};

struct DeepWrite {
  const CDOMNode* node;
  CountingSink sink;
};

void* WriteDeep(void* argument) {
  auto* job = static_cast<DeepWrite*>(argument);
  saveNodeToSink(job->node, &job->sink);
  return nullptr;
}

TEST(WriteNode, DeepTreesNeedNoDeepStack) {
  // On a 256 KiB stack, a writer that recursed once per level would need far more
  // than it has for this depth.
  constexpr size_t kDepth = 6000;
  DocumentPtr doc(new CDOMDocument);
  CDOMNode* parent = doc.get();
  for (size_t i = 0; i < kDepth; ++i) {
    CDOMElement* e = doc->createElement(u"d");
    parent->appendChild(e);
    parent = e;
  }
  parent->appendChild(doc->createElement(u"leaf"));

  DeepWrite job{doc->getDocumentElement(), {}};
#if defined(__unix__) || defined(__APPLE__)
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, WriteDeep, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
#else
  WriteDeep(&job);
#endif
  // Each level opens and closes at its depth in tabs; the leaf sits at kDepth. The
  // total only adds up when every start tag got its end tag at the right depth.
  const size_t tabs = kDepth * (kDepth - 1);
  EXPECT_EQ(job.sink.total, tabs + kDepth * (5 + 6) + kDepth + 9);
  EXPECT_EQ(job.sink.longestTabRun, kDepth);
}

TEST(SinkEntryPoints, Utf8WithoutDeclarationOrMark) {
  DocumentPtr doc = SmallTree();
  doc->getDocumentElement()->setAttribute(u"e", u"\u00E9");
  VectorSink docSink;
  EXPECT_EQ(saveDocumentToSink(doc.get(), &docSink), 0);
  EXPECT_EQ(docSink.bytes, "<a e=\"\xC3\xA9\">\r\n\t<b>text</b>\r\n\t<c/>\r\n</a>\r\n");
  VectorSink nodeSink;
  EXPECT_EQ(saveNodeToSink(doc->getDocumentElement()->getLastChild(), &nodeSink), 0);
  EXPECT_EQ(nodeSink.bytes, "<c/>\r\n");
  EXPECT_EQ(saveNodeToSink(doc.get(), nullptr), 0);  // no sink: nothing to do
}

// The compatibility form leaves only values of digits unquoted. The options a save
// passes in: the empty-container form HTML Help's own reader needs, and the code page of
// the single-byte forms.
TEST(WriteOptions, EmptyContainersWithAnEndTagInTheCompatibilityFormOnly) {
  auto [doc, root] = NewDocument(u"HTMLHelpDocInfo");
  root->appendChild(doc->createElement(u"Locations"));
  CDOMElement* leaf = doc->createElement(u"ColNum");
  leaf->setAttribute(u"value", u"12");
  leaf->setAttribute(u"m", u"5a");
  leaf->setAttribute(u"z", u"");
  leaf->setAttribute(u"w", u"\u0661\u0662");  // Arabic-Indic digits are digits too
  root->appendChild(leaf);
  CDOMElement* titled = doc->createElement(u"Title");
  titled->appendChild(doc->createTextNode(u"t"));
  root->appendChild(titled);

  const std::string leafOut = "\t<ColNum value=12 m=\"5a\" z=\"\" w=ab/>\r\n\t<Title>t</Title>\r\n</HTMLHelpDocInfo>\r\n</XML>\r\n";
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"MSXML_IE4", true)),
            "<XML>\r\n<HTMLHelpDocInfo>\r\n\t<Locations/>\r\n" + leafOut);
  WriteOptions options;
  options.emptyContainersWithEndTag = true;
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"MSXML_IE4", true), nullptr, options),
            "<XML>\r\n<HTMLHelpDocInfo>\r\n\t<Locations></Locations>\r\n" + leafOut);
  // Other forms quote every value and keep the self-closing tag.
  EXPECT_EQ(WriteDocument(doc.get(), Decl(false, u"UTF-8", false), nullptr, options),
            "<HTMLHelpDocInfo>\r\n\t<Locations/>\r\n\t<ColNum value=\"12\" m=\"5a\" z=\"\" w=\"\xD9\xA1\xD9\xA2\"/>\r\n"
            "\t<Title>t</Title>\r\n</HTMLHelpDocInfo>\r\n");
}

TEST(WriteOptions, CodePagesWriteWholeCharactersOrNothing) {
  auto [doc, root] = NewDocument(u"r");
  root->setAttribute(u"v", u"\u0414\u00e9");  // Cyrillic De, e acute
  const auto write = [&](const char16_t* encoding, unsigned codePage, bool strict, bool* ok) {
    WriteOptions options;
    options.codePage = codePage;
    options.strictSingleByte = strict;
    return WriteDocument(doc.get(), Decl(false, encoding, true), ok, options);
  };
  bool ok = false;
  // Without options the low 8 bits are kept, as always: U+0414 becomes 0x14.
  EXPECT_EQ(write(u"MSXML_IE4", 0, false, &ok), "<XML>\r\n<r v=\"\x14\xE9\"/>\r\n</XML>\r\n");
  // Code page 1251 (Cyrillic) has no e acute: nothing is written, and the writer says
  // which character stopped it.
  EXPECT_EQ(write(u"MSXML_IE4", 1251, false, &ok), "");
  CXMLWriter writer(WriteOptions{false, 1251, false});
  VectorSink sink;
  writer.setByteSink(&sink);
  const XMLDeclInfo ie4 = Decl(false, u"MSXML_IE4", true);
  EXPECT_TRUE(writer.writeDocument(doc.get(), &ie4));
  char32_t failed = 0;
  EXPECT_TRUE(writer.encodingFailure(failed));
  EXPECT_EQ(failed, U'\u00e9');
  root->setAttribute(u"v", u"\u0414\u0436");
  EXPECT_EQ(write(u"MSXML_IE4", 1251, false, &ok), "<XML>\r\n<r v=\"\xC4\xE6\"/>\r\n</XML>\r\n");
  // Strict single bytes refuse what ISO-8859-1 cannot hold, in every single-byte form.
  EXPECT_EQ(write(u"ISO-8859-1", 0, true, &ok), "");
  EXPECT_EQ(write(u"MSXML_IE4", 0, true, &ok), "");
  root->setAttribute(u"v", u"caf\u00e9");
  EXPECT_EQ(write(u"ASCII", 0, true, &ok), "<r v=\"caf\xE9\"/>\r\n");
}

}  // namespace
}  // namespace quillet::xml
