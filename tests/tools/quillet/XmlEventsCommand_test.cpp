// quillet xml events, run as a user runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/RunTool.h"

namespace {

namespace fs = std::filesystem;

using quillet::test::RunTool;
using quillet::test::ToolRun;

class XmlEventsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(QUILLET_TEST_WORK_DIR) / "xml-events" /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }

  ToolRun run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"xml", "events"});
    return RunTool(arguments, dir_);
  }

  fs::path dir_;
};

TEST_F(XmlEventsCommand, PrintsEveryEventAsOneJsonLine) {
  const std::string file = write("doc.xml",
                              "<?xml version=\"1.0\"?>\n<!--c\\-->\n<p:r xmlns:p=\"u\" a='&quot;'>t\xC3\xA9\t"
                              "<![CDATA[x]]><?pi d?><e/></p:r>");
  const ToolRun r = run({file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"event\":\"startDocument\"}\n"
            "{\"event\":\"processingInstruction\",\"target\":\"xml\",\"data\":\"version=\\\"1.0\\\"\"}\n"
            "{\"event\":\"comment\",\"text\":\"c\\\\\"}\n"
            "{\"event\":\"startPrefixMapping\",\"prefix\":\"p\",\"uri\":\"u\"}\n"
            "{\"event\":\"startElement\",\"uri\":\"u\",\"localName\":\"r\",\"qName\":\"p:r\",\"attributes\":["
            "{\"uri\":\"http://www.w3.org/2000/xmlns/\",\"localName\":\"p\",\"qName\":\"xmlns:p\",\"value\":\"u\"},"
            "{\"uri\":\"\",\"localName\":\"a\",\"qName\":\"a\",\"value\":\"\\\"\"}]}\n"
            "{\"event\":\"characters\",\"text\":\"t\\u00e9\\u0009x\"}\n"
            "{\"event\":\"processingInstruction\",\"target\":\"pi\",\"data\":\"d\"}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"e\",\"qName\":\"e\",\"attributes\":[]}\n"
            "{\"event\":\"endElement\",\"uri\":\"\",\"localName\":\"e\",\"qName\":\"e\"}\n"
            "{\"event\":\"endElement\",\"uri\":\"u\",\"localName\":\"r\",\"qName\":\"p:r\"}\n"
            "{\"event\":\"endPrefixMapping\",\"prefix\":\"p\"}\n"
            "{\"event\":\"endDocument\"}\n"
            "{\"event\":\"result\",\"ok\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":false}\n");
}

TEST_F(XmlEventsCommand, SwitchesChangeWhatIsReported) {
  const std::string file = write("doc.xml", "<?xml version='1.0' encoding='ISO-8859-1'?><p:r xmlns:p='u'>\n"
                                         " \xC3\xA9<![CDATA[c]]></p:r>");
  const ToolRun plain = run({file});
  EXPECT_NE(plain.out.find("{\"event\":\"characters\",\"text\":\"\\u00c3\\u00a9c\"}"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("\"encoding\":\"ISO-8859-1\",\"encodingGiven\":true}"), std::string::npos);

  const ToolRun all = run({"--no-namespaces", "--preserve-space", "--no-expand-cdata", "--no-inline-encoding", file});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out.find("startPrefixMapping"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("\"uri\":\"\",\"localName\":\"\",\"qName\":\"p:r\""), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("{\"event\":\"characters\",\"text\":\"\\u000a \\u00e9\"}\n"
                         "{\"event\":\"cdataSection\",\"text\":\"c\"}"),
            std::string::npos)
      << all.out;
  EXPECT_NE(all.out.find("\"encoding\":\"UTF-8\",\"encodingGiven\":false}"), std::string::npos);

  const std::string wide = write("wide.xml", std::string("<\0a\0/\0>\0", 8));
  const ToolRun unicode = run({"--unicode-default", wide});
  EXPECT_EQ(unicode.exitCode, 0);
  EXPECT_NE(unicode.out.find("\"encoding\":\"UNICODE\""), std::string::npos) << unicode.out;
}

TEST_F(XmlEventsCommand, ParseErrorEndsWithFatalErrorAndResult) {
  const std::string file = write("bad.xml", "<a>\n<b>&foo;</b></a>");
  const ToolRun r = run({file});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "{\"event\":\"startDocument\"}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"a\",\"qName\":\"a\",\"attributes\":[]}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"b\",\"qName\":\"b\",\"attributes\":[]}\n"
            "{\"event\":\"fatalError\",\"code\":170,\"line\":2,\"column\":13,\"message\":\"Undefined entity 'foo'\"}\n"
            "{\"event\":\"result\",\"ok\":false,\"code\":170,\"line\":2,\"column\":13,"
            "\"message\":\"Undefined entity 'foo'\"}\n");
}

TEST_F(XmlEventsCommand, UsageErrorsAndUnreadableFiles) {
  const ToolRun missing = run({(dir_ / "missing.xml").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos);

  const ToolRun directory = run({dir_.string()});
  EXPECT_EQ(directory.exitCode, 2);
  EXPECT_EQ(directory.out, "");

  EXPECT_EQ(run({}).exitCode, 2);
  EXPECT_EQ(run({"--no-such-switch", "x.xml"}).exitCode, 2);
}

}  // namespace
