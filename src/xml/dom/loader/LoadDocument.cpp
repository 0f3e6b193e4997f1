#include "xml/dom/loader/LoadDocument.h"

#include <cerrno>
#include <memory>

#include "platform/Platform.h"
#include "quillet/xml/FileByteSource.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXReader.h"
#include "xml/dom/loader/DOMDocumentFactory.h"
#include "xml/dom/loader/DOMTreeBuilder.h"
#include "xml/dom/loader/PendingParseError.h"

namespace quillet::xml {

namespace {

// Parses source into result with the two settings of info, as every load does.
void Parse(CByteSource& source, XMLDeclInfo& info, LoadResult& result) {
  CSAXReader reader;
  reader.setProperty(kPropertyExpandCDATAIntoText, info.expandCDATA ? u"Yes" : u"No");
  reader.setProperty(kPropertyPreserveSpace, info.preserveSpace ? u"Yes" : u"No");
  CDOMDocumentFactory factory;
  CDOMTreeBuilder builder(&factory);
  reader.setContentHandler(&builder);
  reader.setDTDHandler(&builder);
  reader.setErrorHandler(&builder);

  try {
    reader.parse(source, false);
  } catch (const CSAXParseException& error) {
    result.parseError = std::make_unique<CSAXParseException>(error);
    return;
  } catch (const CSAXException& error) {
    // Not raised by a parse today; kept as a parse error without a position so that
    // the caller still has something to report.
    result.parseError = std::make_unique<CSAXParseException>(error.getMessage(), error.getCode(), u"", u"", 0, 0);
    return;
  }
  info = reader.getDeclInfo();
  result.document.reset(builder.takeDocument());
}

}  // namespace

LoadResult LoadDocumentFile(const std::u16string& fileName, XMLDeclInfo& info) {
  LoadResult result;
  const int descriptor = platform::OpenForReading(platform::WideToAnsi(fileName));
  if (descriptor < 0) {
    result.openError = errno != 0 ? errno : ENOENT;
    return result;
  }
  // The byte source owns the descriptor from here on and closes it on every path.
  CFileByteSource source;
  source.attach(descriptor);
  Parse(source, info, result);
  return result;
}

LoadResult LoadDocumentFromMemory(const void* data, size_t size, XMLDeclInfo& info) {
  LoadResult result;
  CMemoryByteSource source(data, size);
  Parse(source, info, result);
  return result;
}

CDOMDocument* TakeLoadedDocument(LoadResult& result) {
  if (result.parseError) ReplacePendingParseError(std::move(result.parseError));
  return result.document.release();
}

CDOMDocument* LoadDocument(const std::u16string& fileName, XMLDeclInfo& info) {
  LoadResult result = LoadDocumentFile(fileName, info);
  return TakeLoadedDocument(result);
}

}  // namespace quillet::xml
