// quillet xml events / tree / format / serialize / select / test / match, run as a user
// runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/RunTool.h"
#include "support/SandboxPrefix.h"

namespace {

namespace fs = std::filesystem;

using quillet::test::ToolRun;

std::string Slurp(const fs::path& p) { return quillet::test::SandboxPrefix::ReadHostFile(p); }

class XmlDocumentCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(QUILLET_TEST_WORK_DIR) / "xml-document" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  ToolRun tool(std::initializer_list<std::string> args) const { return quillet::test::RunTool(args, dir_); }

  fs::path dir_;
};

TEST_F(XmlDocumentCommands, TreePrintsEveryNodeAsJson) {
  write("in.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c -->\n"
        "<r xmlns:p=\"urn:p\" p:a=\"&quot;\\\"><p:b>t\xC3\xA9\x01</p:b><?pi d?><c/></r>");
  const ToolRun run = tool({"xml", "tree", path("in.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "{\"declInfo\":{\"declared\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":true},\"doctype\":\"\","
            "\"children\":["
            "{\"type\":7,\"name\":\"xml\",\"value\":\"version=\\\"1.0\\\" encoding=\\\"UTF-8\\\"\"},"
            "{\"type\":8,\"name\":\"#comment\",\"value\":\" c \"},"
            "{\"type\":1,\"name\":\"r\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\",\"localName\":\"r\",\"attributes\":["
            "{\"name\":\"xmlns:p\",\"value\":\"urn:p\",\"uri\":\"http://www.w3.org/2000/xmlns/\"},"
            "{\"name\":\"p:a\",\"value\":\"\\\"\\\\\",\"uri\":\"urn:p\"}],\"children\":["
            "{\"type\":1,\"name\":\"p:b\",\"value\":\"\",\"uri\":\"urn:p\",\"prefix\":\"p\",\"localName\":\"b\","
            "\"attributes\":[],\"children\":[{\"type\":3,\"name\":\"#text\",\"value\":\"t\\u00e9\\u0001\"}]},"
            "{\"type\":7,\"name\":\"pi\",\"value\":\"d\"},"
            "{\"type\":1,\"name\":\"c\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\",\"localName\":\"c\",\"attributes\":[]}"
            "]}]}\n");
}

TEST_F(XmlDocumentCommands, TreeOptionsAreTheLoadSettings) {
  write("in.xml", "<r>\n <a><![CDATA[x]]></a>\n</r>");
  const std::string a = "{\"type\":1,\"name\":\"a\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\",\"localName\":\"a\","
                        "\"attributes\":[],\"children\":[";
  ToolRun run = tool({"xml", "tree", path("in.xml")});
  EXPECT_NE(run.out.find(a + "{\"type\":3,\"name\":\"#text\",\"value\":\"x\"}]}"), std::string::npos) << run.out;
  run = tool({"xml", "tree", "--no-expand-cdata", path("in.xml")});
  EXPECT_NE(run.out.find(a + "{\"type\":4,\"name\":\"#cdata-section\",\"value\":\"x\"}]}"), std::string::npos)
      << run.out;
  run = tool({"xml", "tree", "--preserve-space", path("in.xml")});
  EXPECT_NE(run.out.find("\"children\":[{\"type\":3,\"name\":\"#text\",\"value\":\"\\u000a \"},{\"type\":1,\"name\":\"a\""),
            std::string::npos)
      << run.out;
}

TEST_F(XmlDocumentCommands, FailedLoadsExplainThemselves) {
  write("bad.xml", "<r>\n<!-- a -- b -->\n</r>");
  ToolRun run = tool({"xml", "tree", path("bad.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  // One line: the file, where, what (a text of its own where the error carries none).
  EXPECT_EQ(run.err, "quillet: " + path("bad.xml") + ": line 2, column 10: not well-formed XML (code 110)\n");

  // A pipe can be read only once, and the load reads the file a second time.
  const std::string piped = "echo '<a/>' | " + quillet::test::ShellQuote(QUILLET_TOOL_PATH) +
                            " xml tree /dev/stdin >" + quillet::test::ShellQuote(path("out")) + " 2>" +
                            quillet::test::ShellQuote(path("err"));
  EXPECT_EQ(WEXITSTATUS(std::system(piped.c_str())), 2);
  EXPECT_EQ(Slurp(dir_ / "out"), "");
  EXPECT_EQ(Slurp(dir_ / "err"), "quillet: cannot read /dev/stdin: it is a FIFO, not a file\n");

  for (const std::string command : {"tree", "serialize", "events"}) {
    run = tool({"xml", command, path("missing.xml")});
    EXPECT_EQ(run.exitCode, 2) << command;
    EXPECT_EQ(run.err, "quillet: cannot read " + path("missing.xml") + ": No such file or directory\n");
    run = tool({"xml", command, dir_.string()});
    EXPECT_EQ(run.exitCode, 2) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_EQ(run.err, "quillet: cannot read " + dir_.string() + ": it is a directory, not a file\n");
  }
  EXPECT_EQ(tool({"xml", "events"}).exitCode, 2);
  EXPECT_EQ(tool({"xml", "events", "--no-such-switch", "x.xml"}).exitCode, 2);
}

TEST_F(XmlDocumentCommands, FormatSavesAsACollectionSaveDoes) {
  write("in.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"1\"><b>x &amp; y</b>\n<c/></r>");
  ToolRun run = tool({"xml", "format", path("in.xml"), path("out.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(dir_ / "out.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"1\">\r\n\t<b>x &amp; y</b>\r\n\t<c/>\r\n</r>\r\n");

  write("ie4.xml", "<XML><r n=1 m='a b'><c>\xE9</c></r></XML>");
  run = tool({"xml", "format", path("ie4.xml"), path("ie4-out.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(dir_ / "ie4-out.xml"), "<XML>\r\n<r n=1 m=\"a b\">\r\n\t<c>\xE9</c>\r\n</r>\r\n</XML>\r\n");
}

TEST_F(XmlDocumentCommands, FormatWithAnEncodingNamesItInTheDeclaration) {
  write("in.xml", "<r>\xC3\xA9</r>");
  ToolRun run = tool({"xml", "format", "--encoding", "ISO-8859-1", path("in.xml"), path("out.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(dir_ / "out.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\" ?>\r\n<r>\xE9</r>\r\n");
  // And it reads back to the same text.
  run = tool({"xml", "serialize", path("out.xml")});
  EXPECT_EQ(run.out, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\r\n<r>\xC3\xA9</r>\r\n");

  run = tool({"xml", "format", "--encoding", "UTF-16", path("in.xml"), path("out16.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Slurp(dir_ / "out16.xml").substr(0, 6), std::string("\xFF\xFE<\0?\0", 6));
}

TEST_F(XmlDocumentCommands, FormatNeverDamagesAnExistingOutput) {
  write("out.xml", "precious");
  write("bad.xml", "<r>");
  ToolRun run = tool({"xml", "format", path("bad.xml"), path("out.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("quillet: " + path("bad.xml") + ": line 1, column ", 0), 0u) << run.err;

  write("in.xml", "<r/>");
  run = tool({"xml", "format", "--encoding", "utf_8", path("in.xml"), path("out.xml")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "quillet: unknown encoding utf_8 (known: ASCII, ISO-8859-1, UTF16, UTF-16, UTF8, UTF-8, UNICODE, "
                     "MSXML_IE4)\n");

  write("empty.xml", "");
  run = tool({"xml", "format", path("empty.xml"), path("out.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "quillet: nothing written to " + path("out.xml") +
                         ": the document is empty or its own XML declaration is malformed\n");

  run = tool({"xml", "format", path("in.xml"), path("no/such/folder/out.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "quillet: cannot create a temporary file beside " + path("no/such/folder/out.xml") +
                         ": No such file or directory; " + path("no/such/folder/out.xml") + " was left as it was\n");

  EXPECT_EQ(Slurp(dir_ / "out.xml"), "precious");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 6);  // out.xml, bad, in, empty, and the captured out and err: no temporary left
}

TEST_F(XmlDocumentCommands, SerializePrintsTheDocumentsXmlAsUtf8) {
  write("in.xml", std::string("\xFF\xFE<\0r\0>\0\xAC\x20<\0/\0r\0>\0", 18));
  ToolRun run = tool({"xml", "serialize", path("in.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "<r>\xE2\x82\xAC</r>\r\n");

  write("two.xml", "<r><a id='1'>t\xC3\xA9</a><b/><a id='2'/></r>");
  run = tool({"xml", "serialize", "--path", "r/a", path("two.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "<a id=\"1\">t\xC3\xA9</a>\r\n<a id=\"2\"/>\r\n");
  run = tool({"xml", "serialize", "--path", "r/x", path("two.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  run = tool({"xml", "serialize", "--path", "r[1", path("two.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "quillet: cannot evaluate r[1\n");
}

TEST_F(XmlDocumentCommands, SelectPrintsEachSelectedNodeAsJson) {
  write("in.xml", "<r><a id='1'>t\xC3\xA9<b/>u</a><!--c--><a id='2'/></r>");
  ToolRun run = tool({"xml", "select", path("in.xml"), "r/a"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"type\":1,\"name\":\"a\",\"text\":\"t\\u00e9u\"}\n"
            "{\"type\":1,\"name\":\"a\",\"text\":\"\"}\n");
  run = tool({"xml", "select", path("in.xml"), "@id", "--context", "r/a[2]"});
  EXPECT_EQ(run.out, "{\"type\":2,\"name\":\"id\",\"text\":\"2\"}\n");
  run = tool({"xml", "select", path("in.xml"), "r/x"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(XmlDocumentCommands, TestAndMatchPrintTrueOrFalse) {
  write("in.xml", "<r><a id='1'/><!--c--><a id='2'><b/></a></r>");
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"test", "r/a[2]"}, "true\n"},
      {{"test", "position() = 3 and last() = 3", "--context", "r/a[2]"}, "true\n"},  // a, comment, a
      {{"test", "position() = 4 and last() = 9", "--position", "4", "--size", "9"}, "true\n"},
      {{"match", "/r/a", "--context", "r/a"}, "true\n"},
      {{"match", "b/a", "--context", "r/a"}, "false\n"},
      {{"match", "r/a/b", "--context", "//b"}, "true\n"},
      {{"match", "///a"}, "Invalid start of path\nfalse\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"xml", c.args[0], path("in.xml")};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    const ToolRun run = quillet::test::RunTool(args, dir_);
    EXPECT_EQ(run.exitCode, 0) << c.args[1] << run.err;
    EXPECT_EQ(run.out, c.out) << c.args[1];
  }
}

TEST_F(XmlDocumentCommands, PathCommandsFailOnBadPathsAndContexts) {
  write("in.xml", "<r><a/></r>");
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      {{"select", "foo::a"}, 1, "", "quillet: cannot evaluate foo::a\n"},
      {{"select", "r[(1]"}, 1, "Missing closing bracket\n", "quillet: cannot evaluate r[(1]\n"},
      {{"test", "(1"}, 1, "Missing closing bracket\n", "quillet: cannot evaluate (1\n"},
      {{"test", "r", "--context", "r/x"}, 1, "", "quillet: the context path r/x selects no node\n"},
      {{"match", "r", "--context", "r["}, 1, "", "quillet: cannot evaluate r[\n"},
      {{"test", std::string(200, '(')}, 1, "", "quillet: cannot evaluate " + std::string(80, '(') + "...\n"},
      {{"test", "r", "--position", "2"}, 2, "", ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"xml", c.args[0], path("in.xml")};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    const ToolRun run = quillet::test::RunTool(args, dir_);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args[1];
    EXPECT_EQ(run.out, c.out) << c.args[1];
    if (c.exitCode != 2) {
      EXPECT_EQ(run.err, c.err) << c.args[1];
    }
  }
  EXPECT_EQ(tool({"xml", "select", path("missing.xml"), "r"}).exitCode, 2);
}

TEST_F(XmlDocumentCommands, EventsPrintsEveryEventAsOneJsonLine) {
  write("doc.xml",
        "<?xml version=\"1.0\"?>\n<!--c\\-->\n<p:r xmlns:p=\"u\" a='&quot;'>t\xC3\xA9\t"
        "<![CDATA[x]]><?pi d?><e/></p:r>");
  const ToolRun r = tool({"xml", "events", path("doc.xml")});
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

TEST_F(XmlDocumentCommands, EventsSwitchesChangeWhatIsReported) {
  write("doc.xml", "<?xml version='1.0' encoding='ISO-8859-1'?><p:r xmlns:p='u'>\n \xC3\xA9<![CDATA[c]]></p:r>");
  const ToolRun plain = tool({"xml", "events", path("doc.xml")});
  EXPECT_NE(plain.out.find("{\"event\":\"characters\",\"text\":\"\\u00c3\\u00a9c\"}"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("\"encoding\":\"ISO-8859-1\",\"encodingGiven\":true}"), std::string::npos);

  const ToolRun all = tool({"xml", "events", "--no-namespaces", "--preserve-space", "--no-expand-cdata",
                            "--no-inline-encoding", path("doc.xml")});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out.find("startPrefixMapping"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("\"uri\":\"\",\"localName\":\"\",\"qName\":\"p:r\""), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("{\"event\":\"characters\",\"text\":\"\\u000a \\u00e9\"}\n"
                         "{\"event\":\"cdataSection\",\"text\":\"c\"}"),
            std::string::npos)
      << all.out;
  EXPECT_NE(all.out.find("\"encoding\":\"UTF-8\",\"encodingGiven\":false}"), std::string::npos);

  write("wide.xml", std::string("<\0a\0/\0>\0", 8));
  const ToolRun unicode = tool({"xml", "events", "--unicode-default", path("wide.xml")});
  EXPECT_EQ(unicode.exitCode, 0);
  EXPECT_NE(unicode.out.find("\"encoding\":\"UNICODE\""), std::string::npos) << unicode.out;
}

TEST_F(XmlDocumentCommands, DocumentTypeDeclarationsReachEventsAndTree) {
  write("doc.xml",
        "<!DOCTYPE help PUBLIC '-//Q//x' 'help.dtd' [\n<!NOTATION gif SYSTEM 'viewer'>\n"
        "<!ENTITY logo SYSTEM 'logo.gif' NDATA gif>\n<!ENTITY v 'caf\xC3\xA9'>\n]>\n<help>&v;</help>");
  ToolRun run = tool({"xml", "events", path("doc.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"event\":\"startDocument\"}\n"
            "{\"event\":\"doctypeDecl\",\"name\":\"help\"}\n"
            "{\"event\":\"notationDecl\",\"name\":\"gif\",\"publicId\":\"\",\"systemId\":\"viewer\"}\n"
            "{\"event\":\"unparsedEntityDecl\",\"name\":\"logo\",\"publicId\":\"\",\"systemId\":\"logo.gif\","
            "\"notationName\":\"gif\"}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"help\",\"qName\":\"help\",\"attributes\":[]}\n"
            "{\"event\":\"characters\",\"text\":\"caf\\u00e9\"}\n"
            "{\"event\":\"endElement\",\"uri\":\"\",\"localName\":\"help\",\"qName\":\"help\"}\n"
            "{\"event\":\"endDocument\"}\n"
            "{\"event\":\"result\",\"ok\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":false}\n");

  run = tool({"xml", "tree", path("doc.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"declInfo\":{\"declared\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":false},\"doctype\":\"help\","
            "\"children\":[{\"type\":1,\"name\":\"help\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\","
            "\"localName\":\"help\",\"attributes\":[],\"children\":[{\"type\":3,\"name\":\"#text\",\"value\":"
            "\"caf\\u00e9\"}]}]}\n");
}

TEST_F(XmlDocumentCommands, EventsParseErrorEndsWithFatalErrorAndResult) {
  write("bad.xml", "<a>\n<b>&foo;</b></a>");
  const ToolRun r = tool({"xml", "events", path("bad.xml")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "{\"event\":\"startDocument\"}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"a\",\"qName\":\"a\",\"attributes\":[]}\n"
            "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"b\",\"qName\":\"b\",\"attributes\":[]}\n"
            "{\"event\":\"fatalError\",\"code\":170,\"line\":2,\"column\":13,\"message\":\"Undefined entity 'foo'\"}\n"
            "{\"event\":\"result\",\"ok\":false,\"code\":170,\"line\":2,\"column\":13,"
            "\"message\":\"Undefined entity 'foo'\"}\n");
}

}  // namespace
