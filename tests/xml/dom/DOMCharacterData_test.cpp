#include <gtest/gtest.h>

#include <stdexcept>

#include "xml/dom/DOMTestSupport.h"

namespace quillet::xml::testing {
namespace {

// --- Character-data offsets and exceptions -----------------------------------------------------

enum class Edit { Insert, Delete, Replace, Substring };

struct EditRow {
  const char* label;
  Edit edit;
  size_t offset;
  size_t count;
  const char16_t* text;
  const char* expected;  // the data after the edit, or the substring; null: throws
};

class CharacterDataEdits : public DOMTest, public ::testing::WithParamInterface<EditRow> {};

TEST_P(CharacterDataEdits, EditAbcde) {
  const EditRow& row = GetParam();
  // Every kind with character data edits alike.
  CDOMCharacterData* nodes[] = {doc->createTextNode(u"abcde"), doc->createCDATASection(u"abcde"),
                                doc->createComment(u"abcde"),
                                doc->createProcessingInstruction(u"t", u"abcde")};
  for (CDOMCharacterData* node : nodes) {
    SCOPED_TRACE(Text(node->getNodeName()));
    std::string result;
    auto run = [&] {
      switch (row.edit) {
        case Edit::Insert: node->insertData(row.offset, row.text); break;
        case Edit::Delete: node->deleteData(row.offset, row.count); break;
        case Edit::Replace: node->replaceData(row.offset, row.count, row.text); break;
        case Edit::Substring: result = U16ToUtf8(node->substringData(row.offset, row.count)); break;
      }
    };
    if (row.expected == nullptr) {
      try {
        run();
        ADD_FAILURE() << "no exception";
      } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid string position");
      }
      EXPECT_EQ(Text(node->getNodeValue()), "abcde");  // unchanged
    } else {
      run();
      if (row.edit == Edit::Substring) {
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(Text(node->getNodeValue()), "abcde");
      } else {
        EXPECT_EQ(Text(node->getNodeValue()), row.expected);
        EXPECT_EQ(node->getLength(), std::string(row.expected).size());
      }
    }
    node->release();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, CharacterDataEdits,
    ::testing::Values(EditRow{"DeleteCutAtEnd", Edit::Delete, 2, 100, nullptr, "ab"},
                      EditRow{"DeleteMiddle", Edit::Delete, 1, 3, nullptr, "ae"},
                      EditRow{"DeleteAtEnd", Edit::Delete, 5, 1, nullptr, "abcde"},
                      EditRow{"DeletePastEnd", Edit::Delete, 6, 0, nullptr, nullptr},
                      EditRow{"InsertFront", Edit::Insert, 0, 0, u"XY", "XYabcde"},
                      EditRow{"InsertInside", Edit::Insert, 2, 0, u"XY", "abXYcde"},
                      EditRow{"InsertAtEndAppends", Edit::Insert, 5, 0, u"XY", "abcdeXY"},
                      EditRow{"InsertPastEnd", Edit::Insert, 9, 0, u"XY", nullptr},
                      EditRow{"InsertNull", Edit::Insert, 2, 0, nullptr, "abcde"},
                      EditRow{"ReplaceCutAtEnd", Edit::Replace, 3, 50, u"Z", "abcZ"},
                      EditRow{"ReplaceGrows", Edit::Replace, 1, 1, u"1234", "a1234cde"},
                      EditRow{"ReplaceEverything", Edit::Replace, 0, 5, u"", ""},
                      EditRow{"ReplacePastEnd", Edit::Replace, 6, 1, u"Z", nullptr},
                      EditRow{"SubstringCutAtEnd", Edit::Substring, 3, 10, nullptr, "de"},
                      EditRow{"SubstringAtEnd", Edit::Substring, 5, 10, nullptr, ""},
                      EditRow{"SubstringMiddle", Edit::Substring, 1, 2, nullptr, "bc"},
                      EditRow{"SubstringHugeCount", Edit::Substring, 2, static_cast<size_t>(-1), nullptr, "cde"},
                      EditRow{"SubstringPastEnd", Edit::Substring, 6, 0, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<EditRow>& info) { return std::string(info.param.label); });

TEST_F(DOMTest, AppendDataAndLengthCountCodeUnits) {
  CDOMText* text = doc->createTextNode(u"");
  EXPECT_EQ(text->getLength(), 0u);
  text->appendData(u"ab");
  text->appendData(u"\U0001F600");  // a surrogate pair counts as two units
  EXPECT_EQ(text->getLength(), 4u);
  text->deleteData(2, 1);  // may split the pair: units, not characters
  EXPECT_EQ(text->getLength(), 3u);
  EXPECT_EQ(text->getNodeValue()[2], 0xDE00);
  text->release();
}

// --- getText / setText ------------------------------------------------------------------------

TEST_F(DOMTest, GetTextTakesOnlyDirectTextAndCDATAChildren) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  std::u16string out = u"stale";
  EXPECT_EQ(Text(root->getText(out)), "");
  EXPECT_TRUE(out.empty());

  root->appendChild(doc->createTextNode(u"one"));
  CDOMElement* child = Element(u"child");
  child->appendChild(doc->createTextNode(u"deep"));
  root->appendChild(child);
  root->appendChild(doc->createComment(u"comment"));
  root->appendChild(doc->createProcessingInstruction(u"pi", u"data"));
  root->appendChild(doc->createCDATASection(u"-two"));
  EXPECT_EQ(Text(root->getText(out)), "one-two");
  EXPECT_EQ(out, u"one-two");
  EXPECT_EQ(Text(child->getText(out)), "deep");

  // Other kinds give their value.
  CDOMAttribute* attribute = root->setAttribute(u"a", u"value");
  EXPECT_EQ(Text(attribute->getText(out)), "value");
  EXPECT_EQ(Text(root->getLastChild()->getText(out)), "-two");
  EXPECT_EQ(Text(doc->getText(out)), "");
}

TEST_F(DOMTest, SetTextChangesTheFirstTextChildOrAppendsOne) {
  CDOMElement* root = Element(u"root");
  doc->appendChild(root);
  CDOMElement* child = Element(u"child");
  root->appendChild(child);
  root->setText(u"new");
  ASSERT_EQ(root->getLastChild()->getNodeType(), DOMNodeTypeText);
  EXPECT_EQ(Text(root->getLastChild()->getNodeValue()), "new");
  EXPECT_EQ(root->getFirstChild(), child);
  EXPECT_EQ(root->getLastChild()->getOwnerDocument(), doc);

  CDOMElement* two = Element(u"two");
  root->appendChild(two);
  two->appendChild(doc->createComment(u"c"));
  two->appendChild(doc->createCDATASection(u"first"));
  two->appendChild(doc->createTextNode(u"second"));
  two->setText(u"X");
  EXPECT_EQ(NamesForward(two->getFirstChild()),
            (std::vector<std::string>{"#comment", "#cdata-section", "#text"}));
  std::u16string out;
  EXPECT_EQ(Text(two->getText(out)), "Xsecond");

  CDOMComment* comment = doc->createComment(u"old");
  comment->setText(nullptr);
  EXPECT_EQ(Text(comment->getNodeValue()), "");
  comment->release();
}

}  // namespace
}  // namespace quillet::xml::testing
