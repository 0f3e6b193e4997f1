#include "xml/dom/loader/LoadDocument.h"

#include <memory>

#include "platform/Platform.h"
#include "quillet/xml/FileByteSource.h"
#include "quillet/xml/SAXReader.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet::xml {

CDOMDocument* LoadDocument(const std::u16string& fileName, XMLDeclInfo& info) {
  CSAXReader reader;
  reader.setProperty(kPropertyExpandCDATAIntoText, info.expandCDATA ? u"Yes" : u"No");
  reader.setProperty(kPropertyPreserveSpace, info.preserveSpace ? u"Yes" : u"No");

  const int descriptor = platform::OpenForReading(platform::WideToMultiByte(fileName));
  if (descriptor < 0) return nullptr;
  // The byte source owns the descriptor from here on and closes it on every path.
  CFileByteSource source;
  source.attach(descriptor);

  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder(&factory);
  reader.setContentHandler(&builder);
  reader.setDTDHandler(&builder);
  reader.setErrorHandler(&builder);

  try {
    reader.parse(source, false);
  } catch (const CSAXParseException& error) {
    ReplacePendingParseError(std::make_unique<CSAXParseException>(error));
    return nullptr;
  } catch (const CSAXException& error) {
    // Not raised by a parse today; kept as a parse error without a position so that
    // the caller still has something to report.
    ReplacePendingParseError(std::make_unique<CSAXParseException>(error.getMessage(), error.getCode(), u"", u"", 0, 0));
    return nullptr;
  }
  info = reader.getDeclInfo();
  return builder.takeDocument();
}

}  // namespace quillet::xml
