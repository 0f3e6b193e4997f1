// Kinds, names and values; interning and renaming.
#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

TEST_F(DOMTest, EveryKindReportsItsCodeNameAndValue) {
  struct Row {
    CDOMNode* node;
    int type;
    const char* name;
    const char* value;  // after setNodeValue("v"): "v" for the kinds with a value
  };
  const Row rows[] = {
      {Element(u"a:elem"), 1, "a:elem", ""},           {doc->createAttribute(u"p:attr"), 2, "p:attr", "v"},
      {doc->createTextNode(u"t"), 3, "#text", "v"},      {doc->createCDATASection(u"c"), 4, "#cdata-section", "v"},
      {doc->createEntityReference(u"amp"), 5, "amp", ""}, {doc->createProcessingInstruction(u"t", u"d"), 7, "t", "v"},
      {doc->createComment(u"c"), 8, "#comment", "v"},    {doc, 9, "#document", ""},
      {doc->getDoctype(), 10, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.node->getNodeType(), row.type);
    row.node->setNodeValue(u"v");
    EXPECT_EQ(Text(row.node->getNodeValue()), row.value);
    // Only elements and attributes have namespace parts and can be renamed; only
    // elements have a map.
    bool named = row.type == 1 || row.type == 2;
    EXPECT_EQ(row.node->getNamespaceURI() != nullptr, named);
    EXPECT_EQ(row.node->getLocalName() != nullptr, named);
    EXPECT_EQ(row.node->getAttributes() != nullptr, row.type == 1);
    row.node->setPrefix(u"q");
    EXPECT_EQ(Text(row.node->getNodeName()), named ? "q:" + std::string(row.name).substr(2) : row.name);
    if (row.type != 9 && row.type != 10) row.node->release();
  }
  // A null argument stores "".
  CDOMProcessingInstruction* pi = doc->createProcessingInstruction(nullptr, nullptr);
  EXPECT_EQ(Text(pi->getTarget()), "");
  EXPECT_EQ(Text(pi->getData()), "");
  pi->release();
  EXPECT_EQ(Text(doc->getDoctype()->getName()), "");
  doc->getDoctype()->setName(u"HelpCollection");
  EXPECT_EQ(Text(doc->getDoctype()->getNodeName()), "HelpCollection");
  EXPECT_EQ(Siblings(doc->getFirstChild()), (Names{"root"}));  // the doctype is no child
}

TEST_F(DOMTest, SameQualifiedNameSharesOneRecord) {
  size_t before = doc->getNameCount();
  CDOMElement* a = Element(u"a:b");
  CDOMElement* b = Element(u"a:b");
  CDOMAttribute* attribute = doc->createAttribute(u"a:b");
  EXPECT_EQ(doc->getNameCount(), before + 1);
  EXPECT_EQ(a->getNodeName(), b->getNodeName());  // the very same text
  EXPECT_EQ(a->getNodeName(), attribute->getNodeName());
  Element(u"A:B")->release();  // case-sensitive
  EXPECT_EQ(doc->getNameCount(), before + 2);
  for (CDOMNode* n : std::initializer_list<CDOMNode*>{a, b, attribute}) n->release();
  EXPECT_EQ(doc->getNameCount(), before + 2);  // records live as long as the document
  // Names alike in length and ends, asked for in turn, each keep their own record.
  for (int round = 0; round < 2; ++round) {
    for (const char16_t* name : {u"aXb", u"aYb", u"aXb", u"a:b"}) {
      CDOMElement* e = Element(name);
      EXPECT_EQ(Text(e->getNodeName()), Text(name));
      e->release();
    }
  }
  EXPECT_EQ(doc->getNameCount(), before + 4);
}

TEST_F(DOMTest, QualifiedNamesSplitAtTheFirstColon) {
  const struct {
    const char16_t* name;
    const char* prefix;
    const char* local;
  } rows[] = {{u"b", "", "b"}, {u"a:b", "a", "b"}, {u"a:b:c", "a", "b:c"}, {u"a:", "", "a"},
              {u":b", "", "b"}, {u":", "", ""},    {u"", "", ""},          {u"::", "", ":"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(Text(row.name));
    CDOMElement* element = Element(row.name);
    EXPECT_EQ(Text(element->getNodeName()), Text(row.name));
    EXPECT_EQ(Text(element->getPrefix()), row.prefix);
    EXPECT_EQ(Text(element->getLocalName()), row.local);
    element->release();
  }
}

TEST_F(DOMTest, RenamingRebuildsTheNameOfThatNodeOnly) {
  struct Row {
    const char16_t* start;
    bool setPrefix;  // else setLocalName
    const char16_t* argument;
    const char* name;
    const char* prefix;
    const char* local;
  };
  const Row rows[] = {
      {u"a:b", true, u"x", "x:b", "x", "b"},
      {u"a:b", false, u"c", "a:c", "a", "c"},
      {u"b", false, u"c", "c", "", "c"},
      {u"a:b", true, nullptr, "b", "", "b"},
      {u"a:b", false, u"", "a:", "a", ""},  // an empty local name under a prefix keeps the colon
      // A prefix on an empty local name gives the empty name, which the node started
      // with: the table's record is taken as it stands, prefix and all.
      {u"", true, u"p", "", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.start) + (row.setPrefix ? " setPrefix " : " setLocalName ") + Text(row.argument));
    for (int kind = 0; kind < 2; ++kind) {
      CDOMNode* node = kind == 0 ? static_cast<CDOMNode*>(Element(row.start)) : doc->createAttribute(row.start);
      CDOMElement* unchanged = Element(row.start);
      row.setPrefix ? node->setPrefix(row.argument) : node->setLocalName(row.argument);
      EXPECT_EQ(Text(node->getNodeName()), row.name);
      EXPECT_EQ(Text(node->getPrefix()), row.prefix);
      EXPECT_EQ(Text(node->getLocalName()), row.local);
      EXPECT_EQ(Text(unchanged->getNodeName()), Text(row.start));
      // A rename lands on the record of that name, shared with nodes created under it.
      CDOMElement* same = Element(node->getNodeName());
      EXPECT_EQ(same->getNodeName(), node->getNodeName());
      for (CDOMNode* n : std::initializer_list<CDOMNode*>{node, unchanged, same}) n->release();
    }
  }
  CDOMElement* element = doc->createElementNS(u"urn:x", u"a:b");
  element->setPrefix(u"c");
  EXPECT_EQ(Text(element->getNamespaceURI()), "urn:x");  // the URI is not touched
  element->setLocalName(u"d");
  EXPECT_EQ(Text(element->getNodeName()), "c:d");
  EXPECT_EQ(Text(element->getNamespaceURI()), "urn:x");
  // One name under several URIs: each node keeps its own (null and "" apart are
  // DOMSearch_test's).
  CDOMElement* other = doc->createElementNS(u"urn:y", u"c:d");
  EXPECT_EQ(Text(other->getNamespaceURI()), "urn:y");
  EXPECT_EQ(Text(element->getNamespaceURI()), "urn:x");
  other->setNamespaceURI(nullptr);  // sets ""
  EXPECT_TRUE(other->matchesNS(u"", u"d"));
  EXPECT_FALSE(other->matchesNS(nullptr, u"d"));
  other->setNamespaceURI(u"urn:x");
  EXPECT_TRUE(other->matchesNS(u"urn:x", u"d"));
  EXPECT_FALSE(element->matchesNS(u"urn:y", u"d"));
  for (CDOMElement* e : {element, other}) e->release();
}

}  // namespace
}  // namespace quillet::xml::testing
