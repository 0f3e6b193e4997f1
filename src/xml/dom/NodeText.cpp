#include "xml/dom/NodeText.h"

#include <algorithm>

#include "xml/common/U16String.h"
#include "xml/dom/NodeArena.h"

namespace quillet::xml {

const char16_t kNodeEmptyText[1] = {0};

const char16_t* NodeTextCopy(const char16_t* text, size_t length) {
  if (length == 0) return kNodeEmptyText;
  char16_t* copy = new char16_t[length + 1];
  std::copy(text, text + length, copy);
  copy[length] = 0;
  return copy;
}

const char16_t* NodeTextCopy(const char16_t* text) { return NodeTextCopy(text, U16Length(text)); }

void NodeTextFree(const char16_t* text) {
  if (text != nullptr && text != kNodeEmptyText) delete[] text;
}

void NodeTextAssign(const char16_t*& slot, const char16_t* text) {
  const char16_t* copy = NodeTextCopy(text);
  NodeTextFree(slot);
  slot = copy;
}

void NodeTextFreeOf(const void* node, const char16_t* text) {
  if (!CNodeArena::sameChunk(node, text)) NodeTextFree(text);
}

void NodeTextAssignOf(const void* node, const char16_t*& slot, const char16_t* text) {
  const char16_t* copy = NodeTextCopy(text);
  NodeTextFreeOf(node, slot);
  slot = copy;
}

bool NodeTextEquals(const char16_t* a, const char16_t* b) {
  a = NodeTextOrEmpty(a);
  b = NodeTextOrEmpty(b);
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

}  // namespace quillet::xml
