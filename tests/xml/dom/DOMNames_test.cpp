#include <gtest/gtest.h>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// --- Kinds: type codes, names and values -------------------------------------------------------

TEST_F(DOMTest, EveryKindReportsItsCodeNameAndValue) {
  struct Row {
    CDOMNode* node;
    int type;
    const char* name;
    const char* value;
  };
  CDOMAttribute* attribute = doc->createAttribute(u"p:attr");
  attribute->setNodeValue(u"v");
  Row rows[] = {
      {Element(u"a:elem"), 1, "a:elem", ""},
      {attribute, 2, "p:attr", "v"},
      {doc->createTextNode(u"text data"), 3, "#text", "text data"},
      {doc->createCDATASection(u"<raw>"), 4, "#cdata-section", "<raw>"},
      {doc->createEntityReference(u"amp"), 5, "amp", ""},
      {doc->createProcessingInstruction(u"target", u"pi data"), 7, "target", "pi data"},
      {doc->createComment(u" note "), 8, "#comment", " note "},
      {doc, 9, "#document", ""},
      {doc->getDoctype(), 10, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.node->getNodeType(), row.type);
    EXPECT_EQ(Text(row.node->getNodeName()), row.name);
    EXPECT_EQ(Text(row.node->getNodeValue()), row.value);
    bool named = row.type == 1 || row.type == 2;
    // Only elements and attributes have namespace parts and a map.
    EXPECT_EQ(row.node->getNamespaceURI() != nullptr, named);
    EXPECT_EQ(row.node->getPrefix() != nullptr, named);
    EXPECT_EQ(row.node->getLocalName() != nullptr, named);
    EXPECT_EQ(row.node->getAttributes() != nullptr, row.type == 1);
    // Setting the value sticks exactly for the kinds with a value.
    bool hasValue = row.type == 2 || row.type == 3 || row.type == 4 || row.type == 7 || row.type == 8;
    row.node->setNodeValue(u"changed");
    EXPECT_EQ(Text(row.node->getNodeValue()), hasValue ? "changed" : "");
    // Renaming is for elements and attributes only.
    const char16_t* before = row.node->getNodeName();
    std::string beforeText = Text(before);
    row.node->setPrefix(u"q");
    EXPECT_EQ(Text(row.node->getNodeName()) != beforeText, named);
    if (row.type != 9 && row.type != 10) row.node->release();
  }
}

TEST_F(DOMTest, NullArgumentsStoreEmptyTexts) {
  CDOMText* text = doc->createTextNode(nullptr);
  CDOMComment* comment = doc->createComment(nullptr);
  CDOMProcessingInstruction* pi = doc->createProcessingInstruction(nullptr, nullptr);
  CDOMEntityReference* ref = doc->createEntityReference(nullptr);
  CDOMElement* element = Element(nullptr);
  for (CDOMNode* node : std::initializer_list<CDOMNode*>{text, comment, pi, ref, element}) {
    ASSERT_NE(node->getNodeName(), nullptr);
    ASSERT_NE(node->getNodeValue(), nullptr);
    EXPECT_EQ(node->getNodeValue()[0], 0);
  }
  EXPECT_EQ(Text(pi->getTarget()), "");
  EXPECT_EQ(Text(element->getTagName()), "");
  text->setNodeValue(u"x");
  text->setNodeValue(nullptr);
  EXPECT_EQ(Text(text->getNodeValue()), "");
  for (CDOMNode* node : std::initializer_list<CDOMNode*>{text, comment, pi, ref, element}) node->release();
}

TEST_F(DOMTest, ProcessingInstructionDataAndTarget) {
  CDOMProcessingInstruction* pi = doc->createProcessingInstruction(u"xml", u"version=\"1.0\"");
  EXPECT_EQ(Text(pi->getTarget()), "xml");
  EXPECT_EQ(Text(pi->getData()), "version=\"1.0\"");
  pi->setData(u"encoding");
  EXPECT_EQ(Text(pi->getNodeValue()), "encoding");
  pi->appendData(u"=x");
  EXPECT_EQ(Text(pi->getData()), "encoding=x");
  EXPECT_EQ(Text(pi->getNodeName()), "xml");
  pi->release();
}

// --- Interning -----------------------------------------------------------------------------

TEST_F(DOMTest, SameQualifiedNameSharesOneRecord) {
  CDOMElement* a = Element(u"a:b");
  CDOMElement* b = Element(u"a:b");
  CDOMAttribute* attribute = doc->createAttribute(u"a:b");
  EXPECT_EQ(doc->getNameCount(), 1u);
  // One record: the texts are the very same.
  EXPECT_EQ(a->getNodeName(), b->getNodeName());
  EXPECT_EQ(a->getNodeName(), attribute->getNodeName());
  EXPECT_EQ(Text(a->getPrefix()), "a");
  EXPECT_EQ(Text(a->getLocalName()), "b");
  Element(u"A:B")->release();  // names are case-sensitive
  EXPECT_EQ(doc->getNameCount(), 2u);
  a->release();
  b->release();
  attribute->release();
  EXPECT_EQ(doc->getNameCount(), 2u);  // records live as long as the document
}

TEST_F(DOMTest, QualifiedNamesSplitAtTheFirstColon) {
  struct Row {
    const char16_t* name;
    const char* prefix;
    const char* local;
  };
  const Row rows[] = {
      {u"b", "", "b"},         {u"a:b", "a", "b"}, {u"a:b:c", "a", "b:c"}, {u"a:", "", "a"},
      {u":b", "", "b"},        {u":", "", ""},     {u"", "", ""},          {u"xmlns:x", "xmlns", "x"},
      {u"::", "", ":"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.name));
    CDOMElement* element = Element(row.name);
    EXPECT_EQ(Text(element->getNodeName()), Text(row.name));
    EXPECT_EQ(Text(element->getPrefix()), row.prefix);
    EXPECT_EQ(Text(element->getLocalName()), row.local);
    element->release();
  }
}

// --- Renaming ------------------------------------------------------------------------------

TEST_F(DOMTest, SetPrefixRenamesOnlyThatNode) {
  CDOMElement* renamed = Element(u"a:b");
  CDOMElement* other = Element(u"a:b");
  CDOMElement* existing = Element(u"x:b");
  renamed->setPrefix(u"x");
  EXPECT_EQ(Text(renamed->getNodeName()), "x:b");
  EXPECT_EQ(Text(renamed->getPrefix()), "x");
  EXPECT_EQ(Text(renamed->getLocalName()), "b");
  EXPECT_EQ(renamed->getNodeName(), existing->getNodeName());  // found in the table, not made anew
  EXPECT_EQ(Text(other->getNodeName()), "a:b");
  EXPECT_EQ(doc->getNameCount(), 2u);

  renamed->setNamespaceURI(u"urn:x");
  renamed->setPrefix(nullptr);
  EXPECT_EQ(Text(renamed->getNodeName()), "b");
  EXPECT_EQ(Text(renamed->getNamespaceURI()), "urn:x");  // the URI is not touched
  EXPECT_EQ(doc->getNameCount(), 3u);
  for (CDOMElement* e : {renamed, other, existing}) e->release();
}

TEST_F(DOMTest, RenamingRebuildsTheQualifiedName) {
  struct Row {
    const char16_t* start;
    bool setPrefix;  // else setLocalName
    const char16_t* argument;
    const char* name;
    const char* prefix;
    const char* local;
  };
  const Row rows[] = {
      {u"a:b", false, u"c", "a:c", "a", "c"},
      {u"b", false, u"c", "c", "", "c"},
      {u"b", true, u"p", "p:b", "p", "b"},
      {u"a:b", true, u"", "b", "", "b"},
      // A prefix on an empty local name gives the empty name, which is already interned
      // (the node started with it): the node takes that record, prefix and all.
      {u"", true, u"p", "", "", ""},
      // ...but an empty local name under a prefix keeps the colon.
      {u"a:b", false, u"", "a:", "a", ""},
      {u"a:b", false, nullptr, "a:", "a", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Text(row.start) + (row.setPrefix ? " setPrefix " : " setLocalName ") + Text(row.argument));
    for (int kind = 0; kind < 2; ++kind) {
      CDOMNode* node = kind == 0 ? static_cast<CDOMNode*>(Element(row.start)) : doc->createAttribute(row.start);
      if (row.setPrefix) {
        node->setPrefix(row.argument);
      } else {
        node->setLocalName(row.argument);
      }
      EXPECT_EQ(Text(node->getNodeName()), row.name);
      EXPECT_EQ(Text(node->getPrefix()), row.prefix);
      EXPECT_EQ(Text(node->getLocalName()), row.local);
      node->release();
    }
  }
}

TEST_F(DOMTest, RenamedRecordKeepsItsOwnPartsWhenShared) {
  // A renamed node and a node created under the resulting qualified name share a record.
  CDOMElement* first = Element(u"p:x");
  first->setLocalName(u"y:z");  // qualified p:y:z, local y:z
  CDOMElement* second = Element(u"p:y:z");
  EXPECT_EQ(first->getNodeName(), second->getNodeName());
  EXPECT_EQ(Text(second->getLocalName()), "y:z");
  first->release();
  second->release();
}

}  // namespace
}  // namespace quillet::xml::testing
