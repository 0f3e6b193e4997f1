#include "quillet/xml/DOMNode.h"

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMDocument.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNodeList.h"
#include "xml/dom/NodeArena.h"
#include "xml/dom/NodeText.h"
#include "xml/output/XMLSave.h"

namespace quillet::xml {

CDOMNode::~CDOMNode() = default;

void CDOMNode::operator delete(void* block, void*) noexcept { CNodeArena::free(block); }
void CDOMNode::operator delete(void* block) noexcept { CNodeArena::free(block); }

CDOMDocument* CDOMNode::getOwnerDocument() const { return static_cast<CDOMDocument*>(CNodeArena::ownerOf(this)); }

bool CDOMNode::canLink(const CDOMNode* newChild) const {
  // Linking a node that is still linked elsewhere, or under itself, would break both
  // lists and later free nodes twice; a node of another document would keep pointing at
  // that document's names after it is released. All are refused. (A node under one of
  // its own descendants is not detected: that would cost a walk up the tree per link.)
  if (newChild == nullptr || newChild == this || newChild->parent_ != nullptr) return false;
  const CDOMDocument* document = getNodeType() == DOMNodeTypeDocument ? static_cast<const CDOMDocument*>(this)
                                                                      : getOwnerDocument();
  return newChild->getOwnerDocument() == document;
}

void CDOMNode::linkAtEnd(CDOMNode*& first, CDOMNode* parent, CDOMNode* node) {
  if (first == nullptr) {
    first = node;
  } else {
    CDOMNode* last = LastOf(first);
    last->nextSibling_ = node;
    node->previousSibling_ = last;
  }
  first->previousSibling_ = node;
  node->nextSibling_ = nullptr;
  node->parent_ = parent;
}

void CDOMNode::unlinkFrom(CDOMNode*& first, CDOMNode* node) {
  CDOMNode* const next = node->nextSibling_;
  if (node == first) {
    first = next;
    if (next != nullptr) next->previousSibling_ = node->previousSibling_;  // the last node
  } else {
    CDOMNode* const previous = node->previousSibling_;
    previous->nextSibling_ = next;
    (next != nullptr ? next : first)->previousSibling_ = previous;
  }
  // An unlinked node keeps no link into the list it left, so it can be linked elsewhere
  // or released without reaching that list.
  node->previousSibling_ = nullptr;
  node->nextSibling_ = nullptr;
  node->parent_ = nullptr;
}

CDOMNode* CDOMNode::linkLastChild(CDOMNode* newChild) {
  if (!canLink(newChild)) return nullptr;
  linkAtEnd(firstChild_, this, newChild);
  return newChild;
}

bool CDOMNode::isChild(const CDOMNode* node) const {
  // An attribute's parent is its element too, but it is not among the children.
  return node != nullptr && node->parent_ == this && node->getNodeType() != DOMNodeTypeAttribute;
}

CDOMNode* CDOMNode::appendChild(CDOMNode* newChild) { return linkLastChild(newChild); }

CDOMNode* CDOMNode::insertBefore(CDOMNode* newChild, CDOMNode* refChild) {
  if (refChild == nullptr) return appendChild(newChild);
  if (!canLink(newChild) || !isChild(refChild)) return nullptr;
  // Before the first child, newChild takes over the link to the last one.
  if (refChild == firstChild_) {
    firstChild_ = newChild;
  } else {
    refChild->previousSibling_->nextSibling_ = newChild;
  }
  newChild->previousSibling_ = refChild->previousSibling_;
  newChild->nextSibling_ = refChild;
  newChild->parent_ = this;
  refChild->previousSibling_ = newChild;
  return newChild;
}

CDOMNode* CDOMNode::removeChild(CDOMNode* oldChild) {
  if (!isChild(oldChild)) return nullptr;
  unlinkFrom(firstChild_, oldChild);
  return oldChild;
}

CDOMNodeList* CDOMNode::getChildNodes() const {
  auto* list = new CDOMNodeList;
  for (CDOMNode* child = firstChild_; child != nullptr; child = child->nextSibling_) list->append(child);
  return list;
}

const char16_t* CDOMNode::getNodeValue() const { return kNodeEmptyText; }

void CDOMNode::setNodeValue(const char16_t*) {}

CDOMAttributeMap* CDOMNode::getAttributes() { return nullptr; }

const char16_t* CDOMNode::getText(std::u16string& out) const {
  out = getNodeValue();
  return out.c_str();
}

void CDOMNode::setText(const char16_t* value) { setNodeValue(value); }

// The writer does the work, into memory as 16-bit text.
const char16_t* CDOMNode::getXML(std::u16string& out) const {
  out = NodeToXML(this);
  return out.c_str();
}

const char16_t* CDOMNode::getNamespaceURI() const { return nullptr; }
const char16_t* CDOMNode::getPrefix() const { return nullptr; }
const char16_t* CDOMNode::getLocalName() const { return nullptr; }
void CDOMNode::setPrefix(const char16_t*) {}
void CDOMNode::setLocalName(const char16_t*) {}

void CDOMNode::release() {
  // Releasing a node that is still linked would leave its parent pointing at freed
  // memory: take it out first.
  if (parent_ != nullptr) {
    if (parent_->isChild(this)) {
      parent_->removeChild(this);
    } else if (getNodeType() == DOMNodeTypeAttribute && parent_->getNodeType() == DOMNodeTypeElement) {
      static_cast<CDOMElement*>(parent_)->unlinkAttribute(static_cast<CDOMAttribute*>(this));
    }
  }
  destroySubtree(this);
}

void CDOMNode::destroyChildren() {
  while (CDOMNode* child = firstChild_) {
    firstChild_ = child->nextSibling_;
    destroySubtree(child);
  }
}

void CDOMNode::destroySubtree(CDOMNode* root) {
  // Depth-first without recursion or extra memory: go down first children to a leaf,
  // destroy it, and continue with its next sibling or, when it was the last, with its
  // parent, which has become a leaf. An element's attributes are moved in front of its
  // children first, so they are destroyed by the same walk.
  CDOMNode* node = root;
  for (;;) {
    if (node->getNodeType() == DOMNodeTypeElement) static_cast<CDOMElement*>(node)->moveAttributesToChildren();
    if (node->firstChild_ != nullptr) {
      node = node->firstChild_;
      continue;
    }
    if (node == root) {
      delete node;
      return;
    }
    CDOMNode* parent = node->parent_;
    CDOMNode* next = node->nextSibling_;
    delete node;
    parent->firstChild_ = next;
    // The ring's link back from the first child is left stale: the parent goes next.
    node = next != nullptr ? next : parent;
  }
}

}  // namespace quillet::xml
