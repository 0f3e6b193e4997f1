// What the reader reports for well-formed input: prolog items, elements, attributes,
// character data under each switch, references, CDATA sections and namespaces.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

namespace quillet::xml::test {
namespace {

TEST(Content, PrologItems) {
  ExpectEvents({
      {"<?xml version='1.0'?><a/>", "pi(xml|version='1.0') start(|a|a) end(|a|a)"},
      {"<?xml encoding='UTF-8'?><a/>", "pi(xml| encoding='UTF-8') start(|a|a) end(|a|a)"},
      {"<?xml version=\"1.0\"  standalone='maybe' ?><a/>",
       "pi(xml|version=\"1.0\" standalone='maybe') start(|a|a) end(|a|a)"},
      {"<?xml version='1.0' junk?><a/>", "pi(xml|version='1.0') start(|a|a) end(|a|a)"},
      {"<?pi data?><a/>", "pi(pi|data) start(|a|a) end(|a|a)"},
      {"<?pi  data? x?><a/>", "pi(pi| data? x) start(|a|a) end(|a|a)"},
      {"<?pi?><a/>", "pi(pi|) start(|a|a) end(|a|a)"},
      {"<?xml version='1.0'?><?xml again?><a/>", "pi(xml|version='1.0') pi(xml|again) start(|a|a) end(|a|a)"},
      {"<!-- a - b -->\n<a/>\n<!--c--><?t?>\n", "comment( a - b ) start(|a|a) end(|a|a) comment(c) pi(t|)"},
      {"<a><!----><?p x?></a>", "start(|a|a) comment() pi(p|x) end(|a|a)"},
      {"", ""},
      {"<?xml version='1.0'?>  ", "pi(xml|version='1.0')"},
  });
}

TEST(Content, CompatibilityForm) {
  const Outcome out = Parse("<XML><a x=12 y=#v w#/></XML>");
  EXPECT_TRUE(out.ok) << out.code;
  EXPECT_EQ(out.events, "start(|a|a |x|x=12 |y|y=v w) end(|a|a)");
  EXPECT_EQ(out.encoding, "MSXML_IE4");
  EXPECT_TRUE(out.encodingGiven);
  ExpectEvents({
      // Single bytes, no character checks, anything after the root left unread.
      {"<XML><a>\xC3\xA9<!--\x01--></a><b/>", "start(|a|a) text(\\u00C3\\u00A9) comment(\\u0001) end(|a|a)"},
      {"<XML><a b=7c='x'/></XML>", "start(|a|a |b|b=7 |c|c=x) end(|a|a)"},
  });
}

TEST(Content, ElementsAndAttributes) {
  ExpectEvents({
      {"<a b='1'c=\"2\"/>", "start(|a|a |b|b=1 |c|c=2) end(|a|a)"},
      {"<a b = '1' >x</a >", "start(|a|a |b|b=1) text(x) end(|a|a)"},
      {"<a b=\"it's\" c='say \"hi\"'/>", "start(|a|a |b|b=it's |c|c=say \"hi\") end(|a|a)"},
      {"<a><b><c/></b><b/></a>", "start(|a|a) start(|b|b) start(|c|c) end(|c|c) end(|b|b) start(|b|b) end(|b|b) end(|a|a)"},
      {"<_:a.b-c\xC2\xB7/>", "start(_|a.b-c\\u00B7|_:a.b-c\\u00B7) end(_|a.b-c\\u00B7|_:a.b-c\\u00B7)"},
  });
  // Duplicates are kept; lookups find the first.
  struct Lookup : Recorder {
    std::string found;
    void startElement(const std::u16string&, const std::u16string&, const std::u16string&,
                      const CSAXAttributes& a) override {
      found = Show(a.getValue(u"b")) + " " + std::to_string(a.getIndex(u"b")) + " " +
              std::to_string(a.getIndex(u"", u"b")) + " " + Show(a.getValue(5u)) + " " + Show(a.getQName(1u)) +
              " " + std::to_string(a.getIndex(u"zz")) + " " + Show(a.getType(0u)) + " " +
              Show(a.getValue(u"nope"));
    }
  } lookup;
  const std::string input = "<a b='1' b='2'/>";
  CMemoryByteSource source(input.data(), input.size());
  CSAXReader reader;
  reader.setContentHandler(&lookup);
  reader.parse(source, false);
  EXPECT_EQ(lookup.found, "1 0 0 (null) b -1 CDATA (null)");
}

TEST(Content, WhiteSpaceFolding) {
  const char* input = "<a>\n  text\n  more\n</a>";
  EXPECT_EQ(Parse(input).events, "start(|a|a) text(text more) end(|a|a)");
  ExpectEvents({
      {"<a>x  y\t</a>", "start(|a|a) text(x  y\\u0009) end(|a|a)"},
      {"<a> \t x</a>", "start(|a|a) text(x) end(|a|a)"},
      // A line end's single space waits for the next ordinary character, even past
      // markup; references and CDATA text do not take it.
      {"<a>x\n<b/>y</a>", "start(|a|a) text(x) start(|b|b) end(|b|b) text( y) end(|a|a)"},
      {"<a>x\n&lt;y</a>", "start(|a|a) text(x< y) end(|a|a)"},
      {"<a>x\n</a>", "start(|a|a) text(x) end(|a|a)"},
      {"<a>\n  <b/>\n  <c/>\n</a>", "start(|a|a) start(|b|b) end(|b|b) start(|c|c) end(|c|c) end(|a|a)"},
      {"<a b='x\n   y\tz' c='q\n'/>", "start(|a|a |b|b=x y\\u0009z |c|c=q) end(|a|a)"},
  });
}

TEST(Content, WhiteSpacePreserved) {
  Options keep;
  keep.preserveSpace = true;
  ExpectEvents({
      {"<a>\n  text\n  more\n</a>", "start(|a|a) text(\\u000A  text\\u000A  more\\u000A) end(|a|a)"},
      {"<a> <b></b> </a>", "start(|a|a) text( ) start(|b|b) end(|b|b) text( ) end(|a|a)"},
      // White space after an empty element is skipped whatever the switch says.
      {"<a><b/>\n x</a>", "start(|a|a) start(|b|b) end(|b|b) text(x) end(|a|a)"},
      // Attribute values are folded in both modes.
      {"<a b='x\n y'/>", "start(|a|a |b|b=x y) end(|a|a)"},
  },
               keep);
}

TEST(Content, References) {
  ExpectEvents({
      {"<a>a&lt;b</a>", "start(|a|a) text(a<b) end(|a|a)"},
      {"<a>&lt;&gt;&amp;&apos;&quot;</a>", "start(|a|a) text(<>&'\") end(|a|a)"},
      {"<a>&amp;lt;</a>", "start(|a|a) text(&lt;) end(|a|a)"},
      {"<a>&#65;&#x41;&#x4a;&#0065;</a>", "start(|a|a) text(AAJA) end(|a|a)"},
      {"<a>&#x1F600;&#65601;</a>", "start(|a|a) text(\\uF600A) end(|a|a)"},  // low 16 bits
      {"<a>&#;&#x;</a>", "start(|a|a) text(\\u0000\\u0000) end(|a|a)"},
      {"<a b='&amp;&#x3c;&quot;'/>", "start(|a|a |b|b=&<\") end(|a|a)"},
  });
}

TEST(Content, CDATASections) {
  ExpectEvents({
      {"<r>a<![CDATA[<b>&amp;]]>c</r>", "start(|r|r) text(a<b>&amp;c) end(|r|r)"},
      {"<r><![CDATA[x]]]>y</r>", "start(|r|r) text(x]y) end(|r|r)"},
      {"<r><![CDATA[]]></r>", "start(|r|r) end(|r|r)"},
      {"<r>x]>y]>]>z</r>", "start(|r|r) text(x]>y]>]>z) end(|r|r)"},
      {"<r>]]<![CDATA[x]]></r>", "start(|r|r) text(]]x) end(|r|r)"},
  });
  Options off;
  off.expandCDATA = false;
  ExpectEvents({
      {"<r>a<![CDATA[<b>]]>c</r>", "start(|r|r) text(a) cdata(<b>) text(c) end(|r|r)"},
      {"<r><![CDATA[ ]] ]]></r>", "start(|r|r) cdata( ]] ) end(|r|r)"},
  },
               off);
}

TEST(Content, Namespaces) {
  const std::string xmlnsUri = "http://www.w3.org/2000/xmlns/";
  ExpectEvents({
      {"<p:a xmlns:p='urn:x'/>",
       ("startPrefix(p=urn:x) start(urn:x|a|p:a " + xmlnsUri + "|p|xmlns:p=urn:x) end(urn:x|a|p:a) endPrefix(p)")},
      {"<q:a/>", "start(q|a|q:a) end(q|a|q:a)"},
      {"<a xmlns='urn:d' b='1'/>",
       "startPrefix(=urn:d) start(urn:d|a|a urn:d|xmlns|xmlns=urn:d urn:d|b|b=1) end(urn:d|a|a) endPrefix()"},
      {"<a xmlns:p='u1'><p:b xmlns:p='u2'/><p:c/></a>",
       ("startPrefix(p=u1) start(|a|a " + xmlnsUri + "|p|xmlns:p=u1) startPrefix(p=u2) start(u2|b|p:b " + xmlnsUri +
        "|p|xmlns:p=u2) end(u2|b|p:b) endPrefix(p) start(u1|c|p:c) end(u1|c|p:c) end(|a|a) endPrefix(p)")},
      // The later of two declarations in one tag wins; both are reported.
      {"<p:a xmlns:p='u1' xmlns:p='u2'/>",
       ("startPrefix(p=u1) startPrefix(p=u2) start(u2|a|p:a " + xmlnsUri + "|p|xmlns:p=u1 " + xmlnsUri +
        "|p|xmlns:p=u2) end(u2|a|p:a) endPrefix(p) endPrefix(p)")},
      // Declarations are recognised without regard to letter case; resolution of
      // the reserved prefix is exact.
      {"<p:a XMLNS:p='u'/>", "startPrefix(p=u) start(u|a|p:a XMLNS|p|XMLNS:p=u) end(u|a|p:a) endPrefix(p)"},
      {"<a xml:lang='en' x:b:c='1'/>", "start(|a|a xml|lang|xml:lang=en x|b:c|x:b:c=1) end(|a|a)"},
      // A scope ends with its element.
      {"<a><b xmlns:p='u'/><p:c/></a>",
       ("start(|a|a) startPrefix(p=u) start(|b|b " + xmlnsUri +
        "|p|xmlns:p=u) end(|b|b) endPrefix(p) start(p|c|p:c) end(p|c|p:c) end(|a|a)")},
  });
  Options off;
  off.namespaces = false;
  ExpectEvents({{"<p:a xmlns:p='u' p:b='1'/>", "start(||p:a ||xmlns:p=u ||p:b=1) end(||p:a)"}}, off);

  // Past a few dozen declarations the prefixes are looked up another way: the same
  // innermost-wins rule, and a scope's end restores the outer binding.
  std::string many = "<a";
  for (int i = 0; i < 40; ++i) many += " xmlns:p" + std::to_string(i) + "='u" + std::to_string(i) + "'";
  many += "><b xmlns:p5='inner' xmlns:p5='later'><p5:c/><p7:c/></b><p5:d/><q:d/></a>";
  const Outcome out = Parse(many);
  ASSERT_TRUE(out.ok) << out.message;
  for (const char* event : {"start(later|c|p5:c)", "start(u7|c|p7:c)", "start(u5|d|p5:d)", "start(q|d|q:d)"})
    EXPECT_NE(out.events.find(event), std::string::npos) << event;
}

}  // namespace
}  // namespace quillet::xml::test
