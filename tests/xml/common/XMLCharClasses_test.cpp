#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "xml/common/XMLCharClasses.h"

namespace {

using quillet::xml::CXMLCharClasses;

// Points at the edges of the ranges, where an off-by-one or a range copied from a
// later edition of the standard would show.
struct ClassRow {
  char16_t unit;
  unsigned char classes;
};

constexpr unsigned char B = CXMLCharClasses::kBaseChar;
constexpr unsigned char I = CXMLCharClasses::kIdeographic;
constexpr unsigned char M = CXMLCharClasses::kCombiningChar;
constexpr unsigned char D = CXMLCharClasses::kDigit;
constexpr unsigned char E = CXMLCharClasses::kExtender;
constexpr unsigned char C = CXMLCharClasses::kChar;

TEST(XMLCharClasses, ClassBitsAtRangeEdges) {
  const ClassRow rows[] = {
      {0x0000, 0},      {0x0008, 0},      {0x0009, C},      {0x000A, C},      {0x000B, 0},
      {0x000D, C},      {0x001F, 0},      {0x0020, C},      {u'.', C},        {u'0', D | C},
      {u'9', D | C},    {u'A', B | C},    {u'Z', B | C},    {u'[', C},        {u'a', B | C},
      {u'z', B | C},    {0x00B7, E | C},  {0x00C0, B | C},  {0x00D7, C},      {0x00F7, C},
      {0x0131, B | C},  {0x0132, C},      {0x0133, C},      {0x0134, B | C},  {0x0149, C},
      {0x01C4, C},      {0x02D0, E | C},  {0x0300, M | C},  {0x0345, M | C},  {0x0346, C},
      {0x0387, E | C},  {0x0640, E | C},  {0x0660, D | C},  {0x06DD, M | C},  {0x0E46, E | C},
      {0x0F29, D | C},  {0x0F2A, C},      {0x1FBE, B | C},  {0x20DD, C},      {0x3005, E | C},
      {0x3006, C},      {0x3007, I | C},  {0x3021, I | C},  {0x3029, I | C},  {0x302A, M | C},
      {0x309A, M | C},  {0x30FE, E | C},  {0x4DFF, C},      {0x4E00, I | C},  {0x9FA5, I | C},
      {0x9FA6, C},      {0xAC00, B | C},  {0xD7A3, B | C},  {0xD7A4, C},      {0xD7FF, C},
      {0xD800, 0},      {0xDFFF, 0},      {0xE000, C},      {0xFFFD, C},      {0xFFFE, 0},
      {0xFFFF, 0},
  };
  const CXMLCharClasses classes;
  for (const ClassRow& row : rows) {
    EXPECT_EQ(classes.classesOf(row.unit), row.classes) << "code unit " << std::hex << unsigned(row.unit);
  }
}

TEST(XMLCharClasses, DerivedClasses) {
  // Name characters, name-start characters ("S") and letters ("L"); combining marks
  // only follow, and an extender is no letter.
  const std::pair<char16_t, const char*> rows[] = {
      {u'.', "N"},   {u'-', "N"},   {u'_', "NS"}, {u':', "NS"},         {u'7', "N"},           {0x0300, "N"},
      {0x00B7, "N"}, {u'x', "NSL"}, {u' ', ""},   {u'/', ""},           {u'>', ""},            {u'=', ""},
      {u'\'', ""},   {0x00D7, ""},  {0xD800, ""}, {0x4E00, "NSL"},      {0x3007, "NSL"},       {0x3005, "N"},
  };
  const CXMLCharClasses classes;
  for (const auto& [c, expected] : rows) {
    const std::string got = std::string(classes.isNameChar(c) ? "N" : "") + (classes.isNameStartChar(c) ? "S" : "") +
                            (classes.isLetter(c) ? "L" : "");
    EXPECT_EQ(got, expected) << std::hex << unsigned(c);
  }
}

}  // namespace
