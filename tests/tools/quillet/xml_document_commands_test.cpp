// quillet xml events / tree / format / serialize / select / test / match, run as a user
// runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/RunTool.h"

namespace {

namespace fs = std::filesystem;

using quillet::test::Describe;
using quillet::test::ToolRun;

class XmlDocumentCommands : public quillet::test::ToolFolderTest {
 protected:
  // A run of `quillet xml ARGS` ("%name" stands for the file name in the test's folder),
  // its exit code and its whole standard output, or with "..." a part of it, or with
  // "!" a text it must not hold; and its whole standard error, when given.
  struct Run {
    Run(std::vector<std::string> args, int exitCode, std::string out, std::optional<std::string> err = {})
        : args(std::move(args)), exitCode(exitCode), out(std::move(out)), err(std::move(err)) {}
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::optional<std::string> err;
  };

  void expectRuns(std::initializer_list<Run> runs) const {
    for (const Run& run : runs) {
      std::vector<std::string> args{"xml"};
      for (const std::string& a : run.args) args.push_back(a[0] == '%' ? path(a.substr(1)) : a);
      const ToolRun r = tool(args);
      EXPECT_EQ(r.exitCode, run.exitCode) << Describe(r);
      if (run.out.rfind("...", 0) == 0) {
        EXPECT_NE(r.out.find(run.out.substr(3)), std::string::npos) << run.out << "\n" << Describe(r);
      } else if (run.out.rfind("!", 0) == 0) {
        EXPECT_EQ(r.out.find(run.out.substr(1)), std::string::npos) << run.out << "\n" << Describe(r);
      } else {
        EXPECT_EQ(r.out, run.out) << Describe(r);
      }
      if (run.err) {
        EXPECT_EQ(r.err, *run.err) << Describe(r);
      }
    }
  }
};

TEST_F(XmlDocumentCommands, TreePrintsEveryNodeAsJson) {
  write("in.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- c -->\n"
        "<r xmlns:p=\"urn:p\" p:a=\"&quot;\\\"><p:b>t\xC3\xA9\x01</p:b><?pi d?><c/></r>");
  write("doctype.xml",
        "<!DOCTYPE help PUBLIC '-//Q//x' 'help.dtd' [\n<!NOTATION gif SYSTEM 'viewer'>\n"
        "<!ENTITY logo SYSTEM 'logo.gif' NDATA gif>\n<!ENTITY v 'caf\xC3\xA9'>\n]>\n<help>&v;</help>");
  write("options.xml", "<r>\n <a><![CDATA[x]]></a>\n</r>");
  const std::string a = "{\"type\":1,\"name\":\"a\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\",\"localName\":\"a\","
                        "\"attributes\":[],\"children\":[";
  expectRuns({
      {{"tree", "%in.xml"}, 0,
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
       "]}]}\n"},
      {{"tree", "%doctype.xml"}, 0,
       "{\"declInfo\":{\"declared\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":false},\"doctype\":\"help\","
       "\"children\":[{\"type\":1,\"name\":\"help\",\"value\":\"\",\"uri\":\"\",\"prefix\":\"\","
       "\"localName\":\"help\",\"attributes\":[],\"children\":[{\"type\":3,\"name\":\"#text\",\"value\":"
       "\"caf\\u00e9\"}]}]}\n"},
      // The options are the load's settings.
      {{"tree", "%options.xml"}, 0, "..." + a + "{\"type\":3,\"name\":\"#text\",\"value\":\"x\"}]}"},
      {{"tree", "--no-expand-cdata", "%options.xml"}, 0,
       "..." + a + "{\"type\":4,\"name\":\"#cdata-section\",\"value\":\"x\"}]}"},
      {{"tree", "--preserve-space", "%options.xml"}, 0,
       "...\"children\":[{\"type\":3,\"name\":\"#text\",\"value\":\"\\u000a \"},{\"type\":1,\"name\":\"a\""},
  });
}

TEST_F(XmlDocumentCommands, EventsPrintsEveryEventAsOneJsonLine) {
  write("doc.xml",
        "<?xml version=\"1.0\"?>\n<!--c\\-->\n<p:r xmlns:p=\"u\" a='&quot;'>t\xC3\xA9\t"
        "<![CDATA[x]]><?pi d?><e/></p:r>");
  write("doctype.xml",
        "<!DOCTYPE help PUBLIC '-//Q//x' 'help.dtd' [\n<!NOTATION gif SYSTEM 'viewer'>\n"
        "<!ENTITY logo SYSTEM 'logo.gif' NDATA gif>\n<!ENTITY v 'caf\xC3\xA9'>\n]>\n<help>&v;</help>");
  write("bad.xml", "<a>\n<b>&foo;</b></a>");
  const std::string help = "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"help\",\"qName\":\"help\","
                           "\"attributes\":[]}\n";
  const std::string result = "{\"event\":\"result\",\"ok\":true,\"encoding\":\"UTF-8\",\"encodingGiven\":false}\n";
  expectRuns({
      {{"events", "%doc.xml"}, 0,
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
       "{\"event\":\"endDocument\"}\n" + result},
      {{"events", "%doctype.xml"}, 0,
       "{\"event\":\"startDocument\"}\n"
       "{\"event\":\"doctypeDecl\",\"name\":\"help\"}\n"
       "{\"event\":\"notationDecl\",\"name\":\"gif\",\"publicId\":\"\",\"systemId\":\"viewer\"}\n"
       "{\"event\":\"unparsedEntityDecl\",\"name\":\"logo\",\"publicId\":\"\",\"systemId\":\"logo.gif\","
       "\"notationName\":\"gif\"}\n" + help + "{\"event\":\"characters\",\"text\":\"caf\\u00e9\"}\n"
       "{\"event\":\"endElement\",\"uri\":\"\",\"localName\":\"help\",\"qName\":\"help\"}\n"
       "{\"event\":\"endDocument\"}\n" + result},
      // A parse error ends the events; no endDocument follows.
      {{"events", "%bad.xml"}, 1,
       "{\"event\":\"startDocument\"}\n"
       "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"a\",\"qName\":\"a\",\"attributes\":[]}\n"
       "{\"event\":\"startElement\",\"uri\":\"\",\"localName\":\"b\",\"qName\":\"b\",\"attributes\":[]}\n"
       "{\"event\":\"fatalError\",\"code\":170,\"line\":2,\"column\":13,\"message\":\"Undefined entity 'foo'\"}\n"
       "{\"event\":\"result\",\"ok\":false,\"code\":170,\"line\":2,\"column\":13,"
       "\"message\":\"Undefined entity 'foo'\"}\n"},
  });
}

TEST_F(XmlDocumentCommands, EventsSwitchesChangeWhatIsReported) {
  write("doc.xml", "<?xml version='1.0' encoding='ISO-8859-1'?><p:r xmlns:p='u'>\n \xC3\xA9<![CDATA[c]]></p:r>");
  write("wide.xml", std::string("<\0a\0/\0>\0", 8));
  const std::vector<std::string> all = {"events", "--no-namespaces", "--preserve-space",
                                                  "--no-expand-cdata", "--no-inline-encoding", "%doc.xml"};
  expectRuns({
      {{"events", "%doc.xml"}, 0, "...{\"event\":\"characters\",\"text\":\"\\u00c3\\u00a9c\"}"},
      {{"events", "%doc.xml"}, 0, "...\"encoding\":\"ISO-8859-1\",\"encodingGiven\":true}"},
      {all, 0, "!startPrefixMapping"},
      {all, 0, "...\"uri\":\"\",\"localName\":\"\",\"qName\":\"p:r\""},
      {all, 0, "...{\"event\":\"characters\",\"text\":\"\\u000a \\u00e9\"}\n{\"event\":\"cdataSection\",\"text\":\"c\"}"},
      {all, 0, "...\"encoding\":\"UTF-8\",\"encodingGiven\":false}"},
      {{"events", "--unicode-default", "%wide.xml"}, 0, "...\"encoding\":\"UNICODE\""},
  });
}

TEST_F(XmlDocumentCommands, FormatAndSerializeWriteTheDocument) {
  write("in.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"1\"><b>x &amp; y</b>\n<c/></r>");
  write("ie4.xml", "<XML><r n=1 m='a b'><c>\xE9</c></r></XML>");
  write("latin.xml", "<r>\xC3\xA9</r>");
  write("utf16.xml", std::string("\xFF\xFE<\0r\0>\0\xAC\x20<\0/\0r\0>\0", 18));
  write("two.xml", "<r><a id='1'>t\xC3\xA9</a><b/><a id='2'/></r>");
  expectRuns({
      // As a collection save writes it, in the form and encoding it came in.
      {{"format", "%in.xml", "%out.xml"}, 0, ""},
      {{"format", "%ie4.xml", "%ie4-out.xml"}, 0, ""},
      // An encoding given is named in the declaration, and reads back to the same text.
      {{"format", "--encoding", "ISO-8859-1", "%latin.xml", "%latin-out.xml"}, 0, ""},
      {{"serialize", "%latin-out.xml"}, 0,
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\r\n<r>\xC3\xA9</r>\r\n"},
      {{"format", "--encoding", "UTF-16", "%latin.xml", "%out16.xml"}, 0, ""},
      // serialize prints UTF-8, the whole document or the nodes a path selects.
      {{"serialize", "%utf16.xml"}, 0, "<r>\xE2\x82\xAC</r>\r\n"},
      {{"serialize", "--path", "r/a", "%two.xml"}, 0, "<a id=\"1\">t\xC3\xA9</a>\r\n<a id=\"2\"/>\r\n"},
      {{"serialize", "--path", "r/x", "%two.xml"}, 0, ""},
      {{"serialize", "--path", "r[1", "%two.xml"}, 1, ""},
  });
  EXPECT_EQ(read("out.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r a=\"1\">\r\n\t<b>x &amp; y</b>\r\n\t<c/>\r\n</r>\r\n");
  EXPECT_EQ(read("ie4-out.xml"), "<XML>\r\n<r n=1 m=\"a b\">\r\n\t<c>\xE9</c>\r\n</r>\r\n</XML>\r\n");
  EXPECT_EQ(read("latin-out.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\" ?>\r\n<r>\xE9</r>\r\n");
  EXPECT_EQ(read("out16.xml").substr(0, 6), std::string("\xFF\xFE<\0?\0", 6));
  EXPECT_EQ(read("err"), "quillet: cannot evaluate r[1\n");
}

TEST_F(XmlDocumentCommands, FailuresExplainThemselvesAndNeverDamageAnOutput) {
  write("out.xml", "precious");
  write("bad.xml", "<r>\n<!-- a -- b -->\n</r>");
  write("in.xml", "<r/>");
  write("empty.xml", "");
  const std::string bad = "quillet: " + path("bad.xml") + ": line 2, column 10: not well-formed XML (code 110)\n";
  const std::string missing = "quillet: cannot read " + path("missing.xml") + ": No such file or directory\n";
  const std::string folder = "quillet: cannot read " + path("") + ": it is a directory, not a file\n";
  const std::string nested = path("no/such/folder/out.xml");
  // One line: the file, where, what (a text of its own where the error carries none).
  // tree and serialize load alike; events reads on its own.
  expectRuns({
      {{"tree", "%bad.xml"}, 1, "", bad},
      {{"format", "%bad.xml", "%out.xml"}, 1, "", bad},
      {{"tree", "%missing.xml"}, 2, "", missing},
      {{"tree", "%"}, 2, "", folder},
      {{"events", "%missing.xml"}, 2, "", missing},
      {{"events", "%"}, 2, "", folder},
      {{"format", "--encoding", "utf_8", "%in.xml", "%out.xml"}, 2, "",
       "quillet: unknown encoding utf_8 (known: ASCII, ISO-8859-1, UTF16, UTF-16, UTF8, UTF-8, UNICODE, MSXML_IE4)\n"},
      {{"format", "%empty.xml", "%out.xml"}, 1, "",
       "quillet: nothing written to " + path("out.xml") +
           ": the document is empty or its own XML declaration is malformed\n"},
      {{"format", "%in.xml", nested}, 1, "",
       "quillet: cannot create a temporary file beside " + nested + ": No such file or directory; " + nested +
           " was left as it was\n"},
      {{"events"}, 2, ""},
      {{"events", "--no-such-switch", "x.xml"}, 2, ""},
  });
  // A pipe can be read only once, and the load reads the file a second time.
  const ToolRun piped = quillet::test::RunProgram(
      "/bin/sh", {"-c", "echo '<a/>' | " + quillet::test::ShellQuote(QUILLET_TOOL_PATH) + " xml tree /dev/stdin"}, dir);
  EXPECT_EQ(piped.exitCode, 2);
  EXPECT_EQ(piped.out, "");
  EXPECT_EQ(piped.err, "quillet: cannot read /dev/stdin: it is a FIFO, not a file\n");

  EXPECT_EQ(read("out.xml"), "precious");
  // out.xml, bad, in, empty, and the captured out and err: no temporary left.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 6);
}

TEST_F(XmlDocumentCommands, PathCommandsPrintTheirResults) {
  write("in.xml", "<r><a id='1'>t\xC3\xA9<b/>u</a><!--c--><a id='2'><b/></a></r>");
  expectRuns({
      {{"select", "%in.xml", "r/a"}, 0,
       "{\"type\":1,\"name\":\"a\",\"text\":\"t\\u00e9u\"}\n{\"type\":1,\"name\":\"a\",\"text\":\"\"}\n"},
      {{"select", "%in.xml", "@id", "--context", "r/a[2]"}, 0, "{\"type\":2,\"name\":\"id\",\"text\":\"2\"}\n"},
      {{"select", "%in.xml", "r/x"}, 0, ""},
      {{"test", "%in.xml", "r/a[2]"}, 0, "true\n"},
      {{"test", "%in.xml", "position() = 3 and last() = 3", "--context", "r/a[2]"}, 0, "true\n"},  // a, comment, a
      {{"test", "%in.xml", "position() = 4 and last() = 9", "--position", "4", "--size", "9"}, 0, "true\n"},
      {{"match", "%in.xml", "/r/a", "--context", "r/a"}, 0, "true\n"},
      {{"match", "%in.xml", "b/a", "--context", "r/a"}, 0, "false\n"},
      {{"match", "%in.xml", "r/a/b", "--context", "//b"}, 0, "true\n"},
      {{"match", "%in.xml", "///a"}, 0, "Invalid start of path\nfalse\n"},
  });
}

TEST_F(XmlDocumentCommands, PathCommandsFailOnBadPathsAndContexts) {
  write("in.xml", "<r><a/></r>");
  expectRuns({
      {{"select", "%in.xml", "foo::a"}, 1, "", "quillet: cannot evaluate foo::a\n"},
      {{"select", "%in.xml", "r[(1]"}, 1, "Missing closing bracket\n", "quillet: cannot evaluate r[(1]\n"},
      {{"test", "%in.xml", "(1"}, 1, "Missing closing bracket\n", "quillet: cannot evaluate (1\n"},
      {{"test", "%in.xml", "r", "--context", "r/x"}, 1, "", "quillet: the context path r/x selects no node\n"},
      {{"match", "%in.xml", "r", "--context", "r["}, 1, "", "quillet: cannot evaluate r[\n"},
      {{"test", "%in.xml", std::string(200, '(')}, 1, "", "quillet: cannot evaluate " + std::string(80, '(') + "...\n"},
      {{"test", "%in.xml", "r", "--position", "2"}, 2, ""},
      {{"select", "%missing.xml", "r"}, 2, ""},
  });
}

}  // namespace
