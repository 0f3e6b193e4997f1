// The document type declaration: each declaration with its accepted forms and its
// errors, the entity table, and the caps on entity expansion.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ReaderTestSupport.h"

namespace quillet::xml::test {
namespace {

std::string Doc(const std::string& subset, const std::string& root = "<r/>") {
  return "<!DOCTYPE r [" + subset + "]>" + root;
}

TEST(Doctype, DeclarationsOfEveryKindAreAccepted) {
  const char* const kEmpty = "doctype(r) start(|r|r) end(|r|r)";
  ExpectEvents({
      {"<!DOCTYPE r><r/>", kEmpty},
      {"<!DOCTYPE  r  [ ] ><r/>", kEmpty},
      {"<!DOCTYPE r SYSTEM 'r.dtd'><r/>", kEmpty},
      {"<!DOCTYPE r PUBLIC \"-//p\" 's'[<!ELEMENT r EMPTY>]><r/>", kEmpty},
      {"<!DOCTYPE r [\n  <!ELEMENT r ANY>\n\t%p;\n]>\n<r/>", kEmpty},
      {Doc("<!ELEMENT r (#PCDATA)><!ELEMENT a ( #PCDATA )*><!ELEMENT b (#PCDATA | x|y )*>"), kEmpty},
      {Doc("<!ELEMENT r (a|b)*><!ELEMENT a (b,c?)><!ELEMENT b ( (a | b) , (c?,d*)+ )?><!ELEMENT c (a,b|c)+>"), kEmpty},
      {Doc("<!ATTLIST r x CDATA #IMPLIED y (p|q) 'p'>"), kEmpty},  // the default is not applied
      {Doc("<!ATTLIST r a ID #REQUIRED b IDREF #IMPLIED c IDREFS 'x y' d ENTITY #IMPLIED e ENTITIES #IMPLIED"
           "\n f NMTOKEN #IMPLIED g NMTOKENS #IMPLIED h NOTATION ( n | m ) #IMPLIED i ( 1 | .a | -b ) #FIXED  '1'>"
           "<!ATTLIST r><!ATTLIST r j CDATA '&amp;&#65;'>"), kEmpty},
      {Doc("<!ENTITY % p 'x'><!ENTITY %q SYSTEM 'q.ent'><!ENTITY e SYSTEM 'e.xml'><!ENTITY f PUBLIC 'p' 'f.xml'>"),
       kEmpty},
      // Notations and unparsed entities go to the DTD handler; a parameter entity
      // with NDATA is accepted and not reported.
      {Doc("<!NOTATION n SYSTEM 'n.exe'><!NOTATION m PUBLIC 'pub'><!ENTITY u PUBLIC 'up' 'u.gif' NDATA n>"
           "<!ENTITY % pu SYSTEM 'x' NDATA n>"),
       "doctype(r) notation(n||n.exe) notation(m|pub|) unparsed(u|up|u.gif|n) start(|r|r) end(|r|r)"},
      // Comments and processing instructions of the subset are reported as usual.
      {Doc("<!-- c --><?pi d?>"), "doctype(r) comment( c ) pi(pi|d) start(|r|r) end(|r|r)"},
      {"<!-- a --><!DOCTYPE r><!-- b --><r/>", "comment( a ) doctype(r) comment( b ) start(|r|r) end(|r|r)"},
  });
}

TEST(Doctype, EntitiesExpandInContentAndAttributeValues) {
  ExpectEvents({
      {"<!DOCTYPE r [<!ENTITY e 'x&amp;y'>]><r>&e;</r>", "doctype(r) start(|r|r) text(x&y) end(|r|r)"},
      // Values expand when declared, from entities declared before them.
      {"<!DOCTYPE r [<!ENTITY a 'A'><!ENTITY b '&a;&a;'>]><r>&b;</r>", "doctype(r) start(|r|r) text(AA) end(|r|r)"},
      {Doc("<!ENTITY e \"&#65;&#x42;'%p;\">", "<r a='&e;'>[&e;]</r>"),
       "doctype(r) start(|r|r |a|a=AB'%p;) text([AB'%p;]) end(|r|r)"},
      // The first declaration of a name wins; the predefined five cannot be redefined.
      {Doc("<!ENTITY e 'one'><!ENTITY e 'two'><!ENTITY lt 'x'><!ENTITY amp SYSTEM 'y'>", "<r>&e;&lt;&amp;</r>"),
       "doctype(r) start(|r|r) text(one<&) end(|r|r)"},
      // Replacement text is not parsed again: markup in it is character data.
      {Doc("<!ENTITY e '<b>&amp;lt;</b>'>", "<r>&e;</r>"), "doctype(r) start(|r|r) text(<b>&lt;</b>) end(|r|r)"},
      {Doc("<!ENTITY e 'a\nb'>", "<r>&e;</r>"), "doctype(r) start(|r|r) text(a\\u000Ab) end(|r|r)"},
  });
  // An external or unparsed entity has no replacement text here: it is undefined.
  ExpectErrors({
      {"external entity", Doc("<!ENTITY e SYSTEM 'e.xml'>", "<r>&e;</r>"), 170, "Undefined entity 'e'"},
      {"unparsed entity", Doc("<!ENTITY e SYSTEM 'e' NDATA n>", "<r a='&e;'/>"), 170, "Undefined entity 'e'"},
      {"declared too late", "<!DOCTYPE r [<!ENTITY b '&a;&a;'><!ENTITY a 'A'>]><r>&b;</r>", 170,
       "Reference to undefined entity 'a'"},
  });
}

TEST(Doctype, AnExternalIdentifierIsNeverOpened) {
  const std::string dtd = std::string(QUILLET_TEST_WORK_DIR) + "/external.dtd";
  std::ofstream(dtd) << "<!ENTITY e 'from the file'>";
  const Outcome out = Parse("<!DOCTYPE r SYSTEM '" + dtd + "'><r>&e;</r>");
  EXPECT_EQ(out.code, 170);
  EXPECT_EQ(out.message, "Undefined entity 'e'");
}

TEST(Doctype, EachKeywordTakesExactlyOneSpace) {
  ExpectErrors({
      {"two spaces after SYSTEM", "<!DOCTYPE r SYSTEM  'r.dtd'><r/>", 110, ""},
      {"tab after SYSTEM", "<!DOCTYPE r SYSTEM\t'r.dtd'><r/>", 110, ""},
      {"line end after PUBLIC", "<!DOCTYPE r PUBLIC\n'p' 's'><r/>", 110, ""},
      {"two spaces between literals", "<!DOCTYPE r PUBLIC 'p'  's'><r/>", 110, ""},
      {"no space between literals", "<!DOCTYPE r PUBLIC 'p''s'><r/>", 110, ""},
      {"tab after ENTITY", Doc("<!ENTITY\te 'x'>"), 110, ""},
      {"tab after ELEMENT", Doc("<!ELEMENT\tr ANY>"), 110, ""},
      {"NDATA without space", Doc("<!ENTITY e SYSTEM 'x' NDATAn>"), 110, ""},
      {"two spaces after NDATA", Doc("<!ENTITY e SYSTEM 'x' NDATA  n>"), 110, ""},
      {"lower-case keyword", Doc("<!entity e 'x'>"), 110, ""},
      // Without its space "<!DOCTYPE" is no declaration at all: the root element
      // reader meets "<!".
      {"tab after DOCTYPE", "<!DOCTYPE\tr><r/>", 270, "Expecting name char for element"},
      {"second declaration", "<!DOCTYPE r><!DOCTYPE r><r/>", 270, "Expecting name char for element"},
  });
}

TEST(Doctype, DeclarationErrorsCarryTheirCodeAndMessage) {
  ExpectErrors({
      // The declaration and its subset.
      {"ends in the name", "<!DOCTYPE ", 10, ""},
      {"ends after the name", "<!DOCTYPE r", 110, ""},
      {"not an external ID", "<!DOCTYPE r FOO><r/>", 110, "Expecting PUBLIC or SYSTEM for ExternalID"},
      {"junk after the doctype's external ID", "<!DOCTYPE r SYSTEM 'x' y><r/>", 110, ""},
      {"ends in the subset", "<!DOCTYPE r [", 110, ""},
      {"ends after ]", "<!DOCTYPE r []", 110, ""},
      {"junk after ]", "<!DOCTYPE r [] x><r/>", 110, ""},
      {"stray character", Doc("x"), 110, ""},
      {"parameter reference without ;", Doc("%p "), 110, ""},
      {"ends in a markup declaration", "<!DOCTYPE r [<!", 10, ""},
      {"unknown declaration", Doc("<!FOO>"), 110, ""},
      {"E but neither LEMENT nor NTITY", Doc("<!EXAMPLE>"), 110, ""},
      {"single dash", Doc("<!-x-->"), 110, ""},
      {"neither ! nor ?", Doc("<r>"), 110, ""},
      {"PI target then tab", Doc("<?pi\td?>"), 120, ""},
      // Entities.
      {"no space after entity name", Doc("<!ENTITY e'x'>"), 110, "Expecting whitespace after EntityDecl name"},
      {"junk after value", Doc("<!ENTITY e 'x' y>"), 110, "Expecting close of entity chGREATER_THAN"},
      {"NDATA after value", Doc("<!ENTITY e 'x' NDATA n>"), 110, "Expecting close of entity chGREATER_THAN"},
      {"junk after external ID", Doc("<!ENTITY e SYSTEM 'x' y>"), 110, "Expecting NDATA"},
      {"junk after notation name", Doc("<!ENTITY e SYSTEM 'x' NDATA n y>"), 110,
       "Expecting close of entity chGREATER_THAN"},
      {"no external ID", Doc("<!ENTITY e x>"), 110, "Expecting PUBLIC or SYSTEM for ExternalID"},
      {"value not closed", "<!DOCTYPE r [<!ENTITY e 'x", 10, ""},
      {"reference without ;", Doc("<!ENTITY e '&amp'>"), 10, "Expecting end of reference chSEMI_COLON"},
      {"undefined in value", Doc("<!ENTITY e '&f;'>"), 170, "Reference to undefined entity 'f'"},
      {"bad character reference", Doc("<!ENTITY e '&#1a;'>"), 220,
       "The character a is not valid for a character reference"},
      // Elements.
      {"no content spec", Doc("<!ELEMENT r foo>"), 110,
       "Expecting opening left bracket, 'ANY' or 'EMPTY' after element name"},
      {"junk after ANY", Doc("<!ELEMENT r ANY x>"), 110, "Expecting closing chGREATER_THAN for element"},
      {"missing separator", Doc("<!ELEMENT r (a b)>"), 110, "Expecting closing ')' for choice/sequence"},
      {"mixed with names lacks *", Doc("<!ELEMENT r (#PCDATA|a)>"), 110, ""},
      {"PCDATA misspelled", Doc("<!ELEMENT r (#PCDAT)>"), 110, ""},
      {"empty group", Doc("<!ELEMENT r ()>"), 110, ""},
      {"group not closed", "<!DOCTYPE r [<!ELEMENT r (a,(b", 10, ""},
      // Attribute lists.
      {"unknown type", Doc("<!ATTLIST r x FOO #IMPLIED>"), 290, "Unknown attlist type 'FOO'"},
      {"type in lower case", Doc("<!ATTLIST r x cdata #IMPLIED>"), 290, "Unknown attlist type 'cdata'"},
      {"no space after type", Doc("<!ATTLIST r x (a|b)#IMPLIED>"), 300,
       "Required whitespace is missing after AttType"},
      {"no default", Doc("<!ATTLIST r x CDATA>"), 300, "Required whitespace is missing after AttType"},
      {"default neither quoted nor #", Doc("<!ATTLIST r x CDATA foo>"), 110, "Expecting a HASH"},
      {"unknown # word", Doc("<!ATTLIST r x CDATA #DEFAULT>"), 110, ""},
      {"#FIXED without value", Doc("<!ATTLIST r x CDATA #FIXED>"), 110, ""},
      {"< in default", Doc("<!ATTLIST r x CDATA '<'>"), 230, "The character '<' is not allowed in an attribute value"},
      {"undefined entity in default", Doc("<!ATTLIST r x CDATA '&u;'>"), 170, "Undefined entity 'u'"},
      {"enumeration not closed", Doc("<!ATTLIST r x (a|b c) #IMPLIED>"), 110, ""},
      {"NOTATION without (", Doc("<!ATTLIST r x NOTATION n #IMPLIED>"), 200, ""},
      {"NOTATION without )", Doc("<!ATTLIST r x NOTATION (n m) #IMPLIED>"), 210, ""},
      // Notations.
      {"neither SYSTEM nor PUBLIC", Doc("<!NOTATION n FOO 'x'>"), 190, ""},
      {"system literal after public", Doc("<!NOTATION n PUBLIC 'p' 's'>"), 110,
       "Expecting closing chGREATER_THAN for notation decl"},
      {"literal unquoted", Doc("<!NOTATION n SYSTEM x>"), 110, ""},
  });
}

TEST(Doctype, EntitiesAreGoneInTheNextParse) {
  CSAXReader reader;  // the first parse without handlers: the same checks run
  const std::string first = Doc("<!ENTITY e 'x'>", "<r>&e;</r>");
  CMemoryByteSource source(first.data(), first.size());
  reader.parse(source, false);
  EXPECT_EQ(ParseWith(reader, "<r>&e;</r>").code, 170);
}

TEST(Doctype, DeepGroupsDoNotExhaustTheStack) {
  const std::string deep(200000, '(');
  EXPECT_TRUE(Parse(Doc("<!ELEMENT r " + deep + "a" + std::string(200000, ')') + ">")).ok);
  EXPECT_EQ(Parse(Doc("<!ELEMENT r " + deep + "a>")).code, 110);
}

// --- Expansion caps -----------------------------------------------------------------

// Total length of the character data the recorder saw.
std::size_t TextReported(const Outcome& out) {
  std::size_t total = 0;
  for (const std::string& e : out.recorder.events) {
    if (e.rfind("text(", 0) == 0) total += e.size() - 6;
  }
  return total;
}

TEST(Doctype, BillionLaughsStopsAtTheValueCap) {
  std::string subset = "<!ENTITY lol0 'lol'>";
  for (int i = 1; i <= 9; ++i) {
    subset += "<!ENTITY lol" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) subset += "&lol" + std::to_string(i - 1) + ";";
    subset += "'>";
  }
  const Outcome out = Parse(Doc(subset, "<r>&lol9;</r>"));
  EXPECT_EQ(out.code, 170);
  EXPECT_EQ(out.message, "Entity value is longer than the limit of 1000000 characters");
  EXPECT_EQ(out.events, "doctype(r)");
}

TEST(Doctype, QuadraticBlowupStopsAtTheExpansionCap) {
  // 100,000 characters of input referenced 10,000 times would make 10^9.
  const std::string subset = "<!ENTITY a '" + std::string(100000, 'a') + "'>";
  std::string refs;
  for (int i = 0; i < 10000; ++i) refs += "&a;";
  const char* const kMessage = "Entity references expand to more than the limit of 4000000 characters";
  for (const std::string& root : {"<r>" + refs + "</r>", "<r x='" + refs + "'/>", "<r>&a;&a;<e/>" + refs + "</r>"}) {
    const Outcome out = Parse(Doc(subset, root));
    EXPECT_EQ(out.code, 170);
    EXPECT_EQ(out.message, kMessage);
    EXPECT_LE(TextReported(out), kDefaultMaxEntityExpansion);
  }
  // Values built from references count too.
  const Outcome values = Parse(Doc("<!ENTITY a '" + std::string(900000, 'a') + "'><!ENTITY b '&a;'>"
                                   "<!ENTITY c '&a;'><!ENTITY d '&a;'><!ENTITY e '&a;'><!ENTITY f '&a;'>"));
  EXPECT_EQ(values.code, 170);
  EXPECT_EQ(values.message, kMessage);
}

TEST(Doctype, CapsAreExactAndSetThroughProperties) {
  Options small;
  small.maxEntityValueLength = u"4";
  small.maxEntityExpansion = u"10";
  ExpectEvents({// Exactly 4 characters in a value, exactly 10 expanded in all.
                {Doc("<!ENTITY a '&#65;bcd'><!ENTITY b 'xy'><!ENTITY c '&b;&b;'>", "<r a='&b;'>&c;</r>"),
                 "doctype(r) start(|r|r |a|a=xy) text(xyxy) end(|r|r)"},
                // The predefined entities are not counted.
                {"<r>&lt;&lt;&lt;&lt;&lt;&lt;&lt;&lt;&lt;&lt;&lt;&amp;&quot;</r>",
                 "start(|r|r) text(<<<<<<<<<<<&\") end(|r|r)"}},
               small);
  const char* const kValue = "Entity value is longer than the limit of 4 characters";
  const char* const kExpansion = "Entity references expand to more than the limit of 10 characters";
  ExpectErrors({{"literal too long", Doc("<!ENTITY a 'abcde'>"), 170, kValue},
                {"expansion too long", Doc("<!ENTITY a 'abc'><!ENTITY b 'x&a;'><!ENTITY c 'xy&a;'>"), 170, kValue},
                {"eleventh in content", Doc("<!ENTITY b 'xy'>", "<r>&b;&b;&b;&b;&b;&b;</r>"), 170, kExpansion},
                {"eleventh in a value",
                 Doc("<!ENTITY b 'xyz'><!ENTITY c '&b;'><!ENTITY d '&b;'><!ENTITY e '&b;'><!ENTITY f '&b;'>"), 170,
                 kExpansion}},
               small);
  Options none;
  none.maxEntityExpansion = u"0";
  EXPECT_TRUE(Parse(Doc("<!ENTITY e ''>", "<r>&e;&amp;</r>"), none).ok);  // nothing produced
  EXPECT_EQ(Parse(Doc("<!ENTITY e 'x'>", "<r>&e;</r>"), none).code, 170);
}

TEST(Doctype, CapPropertiesTakeDecimalNumbersOnly) {
  CSAXReader reader;
  EXPECT_EQ(reader.getProperty(kPropertyMaxEntityValueLength), u"1000000");
  EXPECT_EQ(reader.getProperty(u"maxentityexpansion"), u"4000000");
  reader.setProperty(u"MAXENTITYVALUELENGTH", u"2147483647");
  EXPECT_EQ(reader.getProperty(kPropertyMaxEntityValueLength), u"2147483647");
  for (const char16_t* bad : {u"", u"-1", u"1e3", u" 5", u"2147483648", u"99999999999", u"\uFF15"}) {
    try {
      reader.setProperty(kPropertyMaxEntityExpansion, bad);
      ADD_FAILURE() << Show(bad) << " was accepted";
    } catch (const CSAXParseException& e) {
      EXPECT_EQ(Show(e.getMessage()), "invalid property value");
      EXPECT_EQ(e.getCode(), -1);
    }
  }
  EXPECT_EQ(reader.getProperty(kPropertyMaxEntityExpansion), u"4000000");  // unchanged
}

}  // namespace
}  // namespace quillet::xml::test
