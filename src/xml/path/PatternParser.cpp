#include "xml/path/PatternParser.h"

#include <memory>

#include "quillet/xml/DOMNode.h"
#include "xml/path/PathDiagnostic.h"

namespace quillet::xml {

int parsePattern(const char16_t* pattern, CPatternStep*& first, CPatternStep*& last) {
  first = last = nullptr;
  if (pattern == nullptr) return -1;
  const char16_t* p = pattern;
  int slashes = 0;
  for (; *p == u'/'; ++p) ++slashes;
  if (slashes > 2) {
    PrintPathDiagnostic("Invalid start of path\n");
    return -1;
  }
  first = last = new CPatternStep;
  first->fromRoot = slashes > 0;
  first->direct = slashes < 2;
  std::u16string name;
  for (;; ++p) {
    if (*p != u'/' && *p != u'\0') {
      name.push_back(*p);
      continue;
    }
    if (!name.empty()) {
      last->name.swap(name);
      name.clear();
      if (*p != u'\0' && p[1] != u'\0') {
        auto* step = new CPatternStep;
        step->previous = last;
        last->next = step;
        last = step;
      }
    }
    if (*p == u'\0') return 0;
  }
}

void ReleasePattern(CPatternStep* first) {
  while (first != nullptr) {
    CPatternStep* next = first->next;
    delete first;
    first = next;
  }
}

bool MatchesPattern(const CDOMNode* node, const char16_t* pattern) {
  CPatternStep* first = nullptr;
  CPatternStep* last = nullptr;
  if (parsePattern(pattern, first, last) != 0) return false;
  const std::unique_ptr<CPatternStep, void (*)(CPatternStep*)> chain(first, ReleasePattern);
  const CDOMNode* current = node;
  for (const CPatternStep* step = last; step != nullptr; step = step->previous) {
    if (step->name.empty()) continue;
    if (current == nullptr || step->name != current->getNodeName()) return false;
    current = current->getParentNode();
    if (step == first && first->fromRoot && (current == nullptr || current->getNodeType() != DOMNodeTypeDocument)) {
      return false;
    }
  }
  return true;
}

}  // namespace quillet::xml
