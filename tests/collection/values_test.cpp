#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using ValuesTest = CollectionTest;

TEST_F(ValuesTest, IdsMapToTheirElementsAndOnlyTheFirstLocationHistoryCounts) {
  const unsigned long r = openRegistry(Registry(
      "<DocCompilation><DocCompId value=\"t\"/><DocCompLanguage/><LocationHistory><TitleLocation value=\"a.chm\"/>"
      "<IndexLocation value=\"a.chi\"/><LocationRef value=\"loc\"/><ColNum value=\"4\"/></LocationHistory>"
      "<LocationHistory><TitleLocation value=\"second\"/></LocationHistory></DocCompilation>"));
  unsigned long d = 0;
  ASSERT_EQ(QuilletFindDoc(r, "t", &d), 0);
  EXPECT_EQ(Values(d), "a.chm|a.chi||4|loc|t");
  char buffer[16] = "unchanged", value[] = "v";
  for (long id : {0L, 7L, -1L}) {
    EXPECT_EQ(QuilletGetDocValue(d, id, buffer), QUILLET_E_NOT_FOUND) << id;
    EXPECT_EQ(QuilletSetDocValue(d, id, value), QUILLET_E_NOT_FOUND) << id;
  }
  EXPECT_EQ(QuilletSetDocValue(d, 6, value), QUILLET_E_NOT_FOUND);
  ASSERT_EQ(QuilletSetDocValue(d, 1, value), 0);
  EXPECT_EQ(Values(d) + buffer, "v|a.chi||4|loc|tunchanged");
  QuilletCloseDocInfo(r);
}

TEST_F(ValuesTest, WritingAppendsMissingElementsInCallOrder) {
  const unsigned long r = openRegistry("<R><DocCompilations/></R>");
  unsigned long d = 0;
  ASSERT_EQ(QuilletAddDoc(r, "new", &d), 0);
  EXPECT_EQ(Values(d), "-|-|-|-|-|new");
  char chi[] = "x.chi", chm[] = "x.chm", first[] = "1", second[] = "2";
  for (auto [id, value] : {std::pair{2L, chi}, {1L, chm}, {4L, first}, {4L, second}})
    ASSERT_EQ(QuilletSetDocValue(d, id, value), 0);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  EXPECT_EQ(sandbox->readFile(kRegistryFile),
            "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n<R>\r\n\t<DocCompilations>\r\n\t\t<DocCompilation>\r\n"
            "\t\t\t<DocCompId value=\"new\"/>\r\n\t\t\t<LocationHistory>\r\n\t\t\t\t<IndexLocation value=\"x.chi\"/>\r\n"
            "\t\t\t\t<TitleLocation value=\"x.chm\"/>\r\n\t\t\t\t<ColNum value=\"2\"/>\r\n\t\t\t</LocationHistory>\r\n"
            "\t\t</DocCompilation>\r\n\t</DocCompilations>\r\n</R>\r\n");
}

}  // namespace
}  // namespace quillet::test
