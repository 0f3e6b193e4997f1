// Character-data edits and the element's text.
#include <gtest/gtest.h>

#include <stdexcept>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

TEST_F(DOMTest, CharacterDataEditsCutCountsAndRejectOffsetsPastTheEnd) {
  enum Edit { Insert, Delete, Replace, Substring };
  struct Row {
    Edit edit;
    size_t offset;
    size_t count;
    const char16_t* text;
    const char* expected;  // the data after the edit, or the substring; null: throws
  };
  const Row rows[] = {
      {Delete, 2, 100, nullptr, "ab"},  {Delete, 1, 3, nullptr, "ae"},     {Delete, 5, 1, nullptr, "abcde"},
      {Delete, 6, 0, nullptr, nullptr}, {Insert, 0, 0, u"XY", "XYabcde"},  {Insert, 5, 0, u"XY", "abcdeXY"},
      {Insert, 9, 0, u"XY", nullptr},   {Insert, 2, 0, nullptr, "abcde"},  {Replace, 3, 50, u"Z", "abcZ"},
      {Replace, 1, 1, u"1234", "a1234cde"}, {Replace, 6, 1, u"Z", nullptr}, {Substring, 3, 10, nullptr, "de"},
      {Substring, 5, 1, nullptr, ""},   {Substring, 2, size_t(-1), nullptr, "cde"},
      {Substring, 6, 0, nullptr, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "edit " << row.edit << " at " << row.offset << " count " << row.count);
    // Every kind with character data edits alike.
    CDOMCharacterData* nodes[] = {doc->createTextNode(u"abcde"), doc->createCDATASection(u"abcde"),
                                  doc->createComment(u"abcde"), doc->createProcessingInstruction(u"t", u"abcde")};
    for (CDOMCharacterData* node : nodes) {
      std::string result = "abcde";
      try {
        switch (row.edit) {
          case Insert: node->insertData(row.offset, row.text); break;
          case Delete: node->deleteData(row.offset, row.count); break;
          case Replace: node->replaceData(row.offset, row.count, row.text); break;
          case Substring: result = U16ToUtf8(node->substringData(row.offset, row.count)); break;
        }
        if (row.edit != Substring) result = Text(node->getNodeValue());
        EXPECT_NE(row.expected, nullptr) << "no exception";
        if (row.expected != nullptr) {
          EXPECT_EQ(result, row.expected);
        }
      } catch (const std::out_of_range& e) {
        EXPECT_EQ(row.expected, nullptr);
        EXPECT_STREQ(e.what(), "invalid string position");
        EXPECT_EQ(Text(node->getNodeValue()), "abcde");  // unchanged
      }
      EXPECT_EQ(node->getLength(), U16Length(node->getNodeValue()));
      node->release();
    }
  }
}

TEST_F(DOMTest, ElementTextIsItsDirectTextAndCDATAChildren) {
  std::u16string out = u"stale";
  EXPECT_EQ(Text(root->getText(out)), "");
  EXPECT_TRUE(out.empty());
  root->setText(u"new");  // no text child: one is appended
  ASSERT_EQ(Siblings(root->getFirstChild()), (Names{"#text"}));
  EXPECT_EQ(root->getFirstChild()->getOwnerDocument(), doc);

  CDOMElement* child = Element(u"child");
  child->appendChild(doc->createTextNode(u"deep"));
  root->appendChild(child);
  root->appendChild(doc->createComment(u"comment"));
  root->appendChild(doc->createCDATASection(u"-two"));
  root->appendChild(doc->createTextNode(u"-three"));
  EXPECT_EQ(Text(root->getText(out)), "new-two-three");
  root->removeChild(root->getFirstChild())->release();
  root->setText(u"X");  // the first text or CDATA child only
  EXPECT_EQ(Text(root->getText(out)), "X-three");
  EXPECT_EQ(Siblings(root->getFirstChild()), (Names{"child", "#comment", "#cdata-section", "#text"}));

  // Other kinds: their value.
  CDOMAttribute* attribute = root->setAttribute(u"a", u"value");
  EXPECT_EQ(Text(attribute->getText(out)), "value");
  attribute->setText(u"set");
  EXPECT_EQ(Text(root->getAttribute(u"a")), "set");
  EXPECT_EQ(Text(doc->getText(out)), "");
}

}  // namespace
}  // namespace quillet::xml::testing
