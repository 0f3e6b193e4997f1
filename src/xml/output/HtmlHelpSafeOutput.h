// The process-wide switch for output that HTML Help's own reader accepts.
//
// HTML Help reads its files at run time with a tokenizer of its own, for which every
// `<...>` is a tag: a leaf written `<Name value=.../>` is fine, but an empty container
// written `<Locations/>` is taken for a tag that never ends, and the whole file is
// rejected. While the switch is on, the writer's "<XML>" form writes an element that
// has neither attributes nor children as `<Name></Name>`. Off by default, so the
// writer's usual form stands unless a caller asks.
#ifndef QUILLET_XML_OUTPUT_HTMLHELPSAFEOUTPUT_H
#define QUILLET_XML_OUTPUT_HTMLHELPSAFEOUTPUT_H

namespace quillet::xml {

void SetHtmlHelpSafeOutput(bool on);
bool HtmlHelpSafeOutput();

}  // namespace quillet::xml

#endif
