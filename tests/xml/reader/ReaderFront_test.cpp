// The reader object: features and properties, handlers, errors reaching the error
// handler and the caller, and reuse across parses.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "ReaderTestSupport.h"

namespace quillet::xml::test {
namespace {

void ExpectUnknown(const std::function<void()>& call, const char* message) {
  try {
    call();
    ADD_FAILURE() << "expected " << message;
  } catch (const CSAXParseException& e) {
    EXPECT_EQ(Show(e.getMessage()), message);
    EXPECT_EQ(e.getCode(), -1);
    EXPECT_EQ(e.getLineNumber(), 1);
    EXPECT_EQ(e.getColumnNumber(), 1);
  }
}

TEST(ReaderFront, FeaturesShareTheNamespaceSwitch) {
  CSAXReader reader;
  EXPECT_TRUE(reader.getFeature(kFeatureNamespaces));
  reader.setFeature(kFeatureNamespacePrefixes, false);
  EXPECT_FALSE(reader.getFeature(kFeatureNamespaces));
  EXPECT_FALSE(reader.getFeature(kFeatureNamespacePrefixes));
  reader.setFeature(u"HTTP://XML.ORG/SAX/FEATURES/NAMESPACES", true);
  EXPECT_TRUE(reader.getFeature(kFeatureNamespacePrefixes));

  reader.setFeature(kFeatureAllowInlineEncodingDetection, false);  // accepted...
  ExpectUnknown([&] { reader.getFeature(kFeatureAllowInlineEncodingDetection); }, "unknown feature");  // ...not read
  ExpectUnknown([&] { reader.setFeature(u"http://xml.org/sax/features/namespacesX", true); }, "unknown feature");
  ExpectUnknown([&] { reader.getFeature(u"namespaces"); }, "unknown feature");
  EXPECT_TRUE(reader.getFeature(kFeatureNamespaces));  // unchanged by the failures
}

TEST(ReaderFront, PropertiesCompareWithoutLetterCase) {
  CSAXReader reader;
  EXPECT_EQ(reader.getProperty(u"PreserveSpace"), u"No");
  EXPECT_EQ(reader.getProperty(u"ExpandCDATAIntoText"), u"Yes");
  reader.setProperty(u"preservespace", u"YES");
  EXPECT_EQ(reader.getProperty(u"PRESERVESPACE"), u"Yes");
  reader.setProperty(u"PreserveSpace", u"true");  // only "Yes" turns a switch on
  EXPECT_EQ(reader.getProperty(u"PreserveSpace"), u"No");
  reader.setProperty(u"expandcdataintotext", u"no");
  EXPECT_EQ(reader.getProperty(u"ExpandCDATAIntoText"), u"No");
  ExpectUnknown([&] { reader.setProperty(u"PreserveSpaces", u"Yes"); }, "unknown property");
  ExpectUnknown([&] { reader.getProperty(u"Preserve"); }, "unknown property");
  // Case folding covers A-Z only: a dotless i is not an i.
  ExpectUnknown([&] { reader.getProperty(u"Preserve\u0131pace"); }, "unknown property");
}

TEST(ReaderFront, HandlersAttachAndDetach) {
  CSAXReader reader;
  Recorder recorder;
  reader.setReservedHandler(&recorder);
  EXPECT_EQ(reader.getReservedHandler(), nullptr);  // accepted, never kept
  EXPECT_EQ(ParseWith(reader, "<a>x</a>").recorder.events,
            (std::vector<std::string>{"locator", "startDocument", "start(|a|a)", "text(x)", "end(|a|a)", "endDocument"}));
  EXPECT_EQ(ParseWith(reader, "<a/>").recorder.locator, &reader.getLocator());

  // Without handlers the same checks run.
  EXPECT_EQ(reader.getContentHandler(), nullptr);
  const std::string bad = "<a><b></a>";
  CMemoryByteSource badSource(bad.data(), bad.size());
  EXPECT_THROW(reader.parse(badSource, false), CSAXParseException);

  // What a handler throws passes through, and is no parse error.
  struct Throwing : CSAXContentHandler {
    void startElement(const std::u16string&, const std::u16string&, const std::u16string&,
                      const CSAXAttributes&) override {
      throw std::runtime_error("stop");
    }
  } handler;
  reader.setContentHandler(&handler);
  reader.setErrorHandler(&recorder);
  ASSERT_EQ(badSource.seek(0), 0);
  EXPECT_THROW(reader.parse(badSource, false), std::runtime_error);
  EXPECT_EQ(recorder.fatalErrors, 0);
}

TEST(ReaderFront, ErrorReachesHandlerAndCallerAlike) {
  const Outcome out = Parse("<a>\n<b>&foo;</b></a>");
  ASSERT_FALSE(out.ok);
  const Recorder& r = out.recorder;
  EXPECT_EQ(r.fatalErrors, 1);
  EXPECT_EQ(std::make_tuple(r.fatalCode, r.fatalLine, r.fatalColumn, Show(r.fatalMessage)),
            std::make_tuple(170, 2, 13, std::string("Undefined entity 'foo'")));
  EXPECT_EQ(std::make_tuple(out.code, out.line, out.column, out.message),
            std::make_tuple(170, 2, 13, std::string("Undefined entity 'foo'")));
  // Events before the error stay reported; no endDocument follows.
  EXPECT_EQ(out.events, "start(|a|a) start(|b|b)");
  EXPECT_EQ(out.recorder.events.back(), "start(|b|b)");
}

TEST(ReaderFront, ParsesAgainAfterAFailure) {
  CSAXReader reader;
  const Outcome bad = ParseWith(reader, "<?xml version='1.0' encoding='ISO-8859-1'?><p:a xmlns:p='u'><p:b xmlns:p='v'>");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.encoding, "ISO-8859-1");
  // Scopes, position, encoding and decoding all start over.
  const Outcome good = ParseWith(reader, "<p:c>\xC3\xA9</p:c>");
  EXPECT_EQ(good.events, "start(p|c|p:c) text(\\u00E9) end(p|c|p:c)");
  EXPECT_EQ(good.encoding, "UTF-8");
  EXPECT_FALSE(good.encodingGiven);
  EXPECT_EQ(reader.getLocator().getLineNumber(), 1);
}

}  // namespace
}  // namespace quillet::xml::test
