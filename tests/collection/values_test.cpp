#include "collection/CollectionFixture.h"

namespace quillet::test {
namespace {

using ValuesTest = CollectionTest;

TEST_F(ValuesTest, IdsMapToTheirElements) {
  const unsigned long r = openRegistry(Registry(
      "<DocCompilation><DocCompId value=\"t\"/><DocCompLanguage/><LocationHistory><TitleLocation value=\"a.chm\"/>"
      "<IndexLocation value=\"a.chi\"/><LocationRef value=\"loc\"/><ColNum value=\"4\"/></LocationHistory>"
      "<LocationHistory><TitleLocation value=\"second\"/></LocationHistory></DocCompilation>"));
  unsigned long d = 0;
  ASSERT_EQ(QuilletFindDoc(r, "t", &d), 0);
  EXPECT_EQ(Values(d), "a.chm|a.chi||4|loc|t");  // only the first LocationHistory counts
  char buffer[16] = "unchanged";
  char value[] = "v";
  for (long id : {0L, 7L, -1L, 1000L}) {
    EXPECT_EQ(QuilletGetDocValue(d, id, buffer), QUILLET_E_NOT_FOUND) << id;
    EXPECT_EQ(QuilletSetDocValue(d, id, value), QUILLET_E_NOT_FOUND) << id;
  }
  EXPECT_EQ(QuilletSetDocValue(d, 6, value), QUILLET_E_NOT_FOUND);
  EXPECT_STREQ(buffer, "unchanged");
  ASSERT_EQ(QuilletSetDocValue(d, 1, value), 0);
  EXPECT_EQ(Values(d), "v|a.chi||4|loc|t");
  QuilletCloseDocInfo(r);
}

TEST_F(ValuesTest, WritingCreatesElementsInCallOrder) {
  unsigned long r = openRegistry(Registry(""));
  unsigned long d = 0;
  ASSERT_EQ(QuilletAddDoc(r, "new", &d), 0);
  char chi[] = "x.chi", chm[] = "x.chm", first[] = "1", second[] = "2";
  ASSERT_EQ(QuilletSetDocValue(d, 2, chi), 0);
  ASSERT_EQ(QuilletSetDocValue(d, 1, chm), 0);
  ASSERT_EQ(QuilletSetDocValue(d, 4, first), 0);
  ASSERT_EQ(QuilletSetDocValue(d, 4, second), 0);
  ASSERT_EQ(QuilletSaveDocInfo(r), 0);
  QuilletCloseDocInfo(r);
  const std::string saved = sandbox().readFile(kRegistryFile);
  const size_t index = saved.find("IndexLocation"), title = saved.find("TitleLocation");
  ASSERT_NE(index, std::string::npos);
  EXPECT_LT(index, title);
  EXPECT_EQ(saved.find("LocationHistory", saved.find("LocationHistory") + 20), saved.rfind("LocationHistory"))
      << "one LocationHistory, opened and closed";
  EXPECT_EQ(saved.find("\"1\""), std::string::npos);  // the second ColNum write replaced the first
  ASSERT_EQ(QuilletOpenDocInfo(kRegistryPath, &r), 0);
  ASSERT_EQ(QuilletFindDoc(r, "new", &d), 0);
  EXPECT_EQ(Values(d), "x.chm|x.chi|-|2|-|new");
  QuilletCloseDocInfo(r);
}

}  // namespace
}  // namespace quillet::test
