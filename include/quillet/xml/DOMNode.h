// The base of every node of the document tree.
//
// A tree is made of nodes linked to their parent, their first and last child and their
// previous and next sibling; every node also knows the document that created it. Nodes
// are handled through plain pointers and told apart by getNodeType. There is no
// reference counting and the tree checks nothing when it is linked: ownership follows
// the links. A node created by a document's factory operations, or unlinked by
// removeChild, belongs to the caller until it is linked again, and ends with release(),
// which destroys its whole subtree.
//
// Texts are NUL-terminated UTF-16. A getter's pointer stays valid until that value of the
// node changes or the node is destroyed. Where a node holds no text the getters return a
// shared empty text, never null, except where an operation says it returns null. Setters
// copy their argument; a null argument stores the empty text.
#ifndef QUILLET_XML_DOMNODE_H
#define QUILLET_XML_DOMNODE_H

#include <cstddef>
#include <string>

#include "quillet/export.h"

namespace quillet::xml {

class CDOMAttributeMap;
class CDOMDocument;
class CDOMNodeList;

// The node type codes returned by getNodeType (those of the W3C DOM; 6, 11 and 12 have
// no kind here).
enum DOMNodeType : int {
  DOMNodeTypeElement = 1,
  DOMNodeTypeAttribute = 2,
  DOMNodeTypeText = 3,
  DOMNodeTypeCDATASection = 4,
  DOMNodeTypeEntityReference = 5,
  DOMNodeTypeProcessingInstruction = 7,
  DOMNodeTypeComment = 8,
  DOMNodeTypeDocument = 9,
  DOMNodeTypeDocumentType = 10
};

class QUILLET_API CDOMNode {
 public:
  CDOMNode(const CDOMNode&) = delete;
  CDOMNode& operator=(const CDOMNode&) = delete;

  // --- Children -----------------------------------------------------------------------

  // Links newChild as the last child and returns it. Refused (null, nothing changes):
  // a null newChild, this node itself, a node that is still linked (a child elsewhere,
  // or an attribute of an element; unlink it with removeChild first), and a node made by
  // another document. Kinds are not checked, and newChild must not be an ancestor of
  // this node. A document
  // refuses a second element child and makes its first element child the document
  // element.
  virtual CDOMNode* appendChild(CDOMNode* newChild);

  // Links newChild just before refChild and returns it. A null refChild appends (with
  // the document's rule); null when newChild is refused as by appendChild or refChild is
  // not a child of this node. An element inserted into a document this way never becomes its document
  // element.
  CDOMNode* insertBefore(CDOMNode* newChild, CDOMNode* refChild);

  // Unlinks oldChild and hands it back to the caller, who now owns it; null when it is
  // not a child of this node. The removed node keeps its subtree and loses its siblings
  // and parent. Removing a document's document element leaves the document without one.
  virtual CDOMNode* removeChild(CDOMNode* oldChild);

  bool hasChildNodes() const { return firstChild_ != nullptr; }
  CDOMNode* getFirstChild() const { return firstChild_; }
  CDOMNode* getLastChild() const { return LastOf(firstChild_); }
  CDOMNode* getPreviousSibling() const { return isFirstInList() ? nullptr : previousSibling_; }
  CDOMNode* getNextSibling() const { return nextSibling_; }
  // The parent; for an attribute, the element it belongs to (null when free).
  CDOMNode* getParentNode() const { return parent_; }
  // The document that created this node; null for a document.
  virtual CDOMDocument* getOwnerDocument() const;

  // A new snapshot list of the children, cursor at the first; the caller releases it.
  CDOMNodeList* getChildNodes() const;

  // --- Kind, name and value -----------------------------------------------------------

  virtual int getNodeType() const = 0;
  // The qualified name of an element or attribute, the target of a processing
  // instruction, the name of an entity reference or document type, otherwise one of
  // "#text", "#cdata-section", "#comment", "#document".
  virtual const char16_t* getNodeName() const = 0;
  // The value of an attribute, the data of text, CDATA section, comment and processing
  // instruction; "" for the other kinds.
  virtual const char16_t* getNodeValue() const;
  // Sets what getNodeValue returns; does nothing for the kinds without a value.
  virtual void setNodeValue(const char16_t* value);

  // The attribute map of an element (made on first call, owned by the element); null
  // for every other kind.
  virtual CDOMAttributeMap* getAttributes();

  // Clears out and fills it with the node's text: for an element, the values of its
  // direct text and CDATA section children in order (nothing deeper); for the other
  // kinds, getNodeValue. Returns out's text.
  virtual const char16_t* getText(std::u16string& out) const;
  // For an element, the first direct text or CDATA section child takes the value (the
  // others keep theirs), or a new text node is appended when there is none; for the
  // other kinds, setNodeValue.
  virtual void setText(const char16_t* value);

  // Clears out and fills it with the node and its subtree as XML text, laid out as the
  // writer lays out a file (one node per line, tabs, CR LF) from depth 0, without a
  // declaration; a document gives all its top-level nodes. Returns out's text.
  const char16_t* getXML(std::u16string& out) const;

  // --- Namespaces (element and attribute; null for the other kinds) ------------------

  // The namespace URI; "" for an element or attribute that has none.
  virtual const char16_t* getNamespaceURI() const;
  virtual const char16_t* getPrefix() const;
  virtual const char16_t* getLocalName() const;
  // Renames an element or attribute by replacing the prefix (or the local name). The
  // qualified name becomes prefix ":" local name, or the local name alone when the
  // prefix is empty; after setPrefix a node whose local name is empty gets the empty
  // qualified name. Other nodes of the same name keep theirs; the namespace URI stays.
  virtual void setPrefix(const char16_t* prefix);
  virtual void setLocalName(const char16_t* localName);

  // --- Path queries -----------------------------------------------------------------------
  //
  // A small XPath-style language, read in one pass with no parse tree. Absolute paths
  // start from the owner document (a document starts from itself).
  //
  // Tokens. Only the space separates them (a tab or line end is an error token); a
  // single ":" is skipped like a space, so p:x reads as the two names p and x. Literals
  // are '...' or "..." without escapes; numbers are runs of digits (007 is 7; 1.5 is 1
  // followed by "."). A name followed by "(" is a function name, one followed by "::"
  // an axis name. Axis names, function names and the words and, or, div, mod are read
  // without regard to letter case; the names in node tests compare exactly. Expressions
  // and names have no length limit.
  //
  // Grammar, lowest precedence first; every chain groups to the right (8 - 4 - 2 is 6,
  // 1 < 2 < 3 is 0) and equality takes one operator only:
  //   or, and, = !=, < <= > >=, + -, * div mod, unary -, then a primary (literal,
  //   number, "(" expression ")", position(), last(), number(e), not(e)) or else a
  //   location path: "/", "//" or a step, then steps separated by "/" or "//".
  // A step is child::, descendant::, attribute:: or @ with a name or *; "."; ".."; or a
  // function name with its arguments, which leaves the context as it is (text()
  // selects the context node); any step takes predicates [expression]. Name and *
  // tests select only elements, or attributes on the attribute axis.
  //
  // The end rule: evaluation stops quietly at the first token the grammar cannot use
  // there (the end, an error token, a stray "]" or ")", a second "=", a name where an
  // operator belongs), and the value so far is the result: "a b" and "a/$" select what
  // "a" selects, and the empty path selects the context node.
  //
  // Values are strings, node-sets (ordered, duplicates kept) and 32-bit float numbers;
  // booleans are the numbers 1 and 0. True: a non-empty node-set, a number other than
  // 0 and NaN; a string is always false. A conversion to a number that fails gives -1
  // (number('x') is -1): a string reads by its longest numeric prefix
  // (number('  12.5e1 ') is 125), a node-set by its first node (an element by the value
  // of its first child). "=" and "!=" between numbers compare them; with a node-set on
  // the left they give the node-set of its nodes whose text (getText) equals, or
  // differs from, the right operand's text (so b = 'x' tests for a b child with the
  // direct text x). mod truncates both operands and keeps the sign of the left one.
  //
  // Where the language differs from XPath (existing callers depend on these):
  // - Predicates are read again for every node, and positions count over the whole
  //   list a step made: a/b[1] is the first b of all the a elements together.
  // - [2] and [2 + 0] compare with the position because they begin with a number
  //   token; [last()] and [position()] keep every node (write [position() = last()]).
  // - "." keeps the context, but inside a predicate it is the node being tested
  //   wherever it stands (a/. in a predicate is that node). ".." gives one parent per
  //   node, duplicates included.
  // - "//" before a step also reaches into the first step of its predicates: //a[b]
  //   keeps the a elements with a b descendant (//a[./b] looks at children).
  // - A path that begins with "//" starts from the document only when no step came
  //   before it in the expression or predicate; in a or //b it searches below the
  //   context node. //@id selects nothing: "//" does not apply to attributes.
  // - A "(" without its ")" writes the line "Missing closing bracket" to standard
  //   output and fails.
  //
  // Where nothing else fixed the behaviour, these choices hold:
  // - A location path on the right of "and" or "or" starts from the node the
  //   enclosing predicate tests, and outside predicates from the context node; the
  //   same holds on the right of "=", "!=", the relational and arithmetic operators.
  // - "=" and "!=" compare texts unless both operands are numbers: a number stands for
  //   its text ("5", "0.5", "NaN"), and a node-set on the right for the texts of all its
  //   nodes (equal to one of them, or to none); a left operand that is not a node-set
  //   gives 1 or 0.
  // - x mod 0 (a divisor that truncates to 0) is NaN, as is x div 0 when x is 0.
  // - position() and last() are 1 in a selection outside predicates; after a
  //   predicate, position() keeps the last position the predicate tested.
  // - number(e) and not(e) without their ")" fail, silently; position() and last()
  //   ignore arguments.
  // - Brackets, function arguments and predicates nest up to 128 deep; deeper fails. A
  //   query fails once it has looked at 2^26 (67,108,864) nodes (nested predicates
  //   multiply their cost).
  //
  // Statuses: negative on failure (-1); 0 on success, or 1 when the last location
  // path ended at a token that cannot start a step (such as "a/").

  // A new list of the nodes path selects from this node, in order (duplicates kept),
  // which the caller releases; null when path is null or its evaluation fails.
  CDOMNodeList* selectNodes(const char16_t* path);
  // The first node selectNodes gives; null when there is none or the evaluation fails.
  CDOMNode* selectSingleNode(const char16_t* path);
  // Evaluates expression with this node as context, its position and size in the
  // context taken from its siblings (1 + the siblings before it, 1 + all its siblings);
  // result is the truth of its value. Returns the status; on failure result is not
  // written.
  int testExpression(const char16_t* expression, bool& result);
  // The same with the given context size and position.
  int testExpressionAt(const char16_t* expression, bool& result, int size, int position);
  // Whether this node matches a pattern of names such as "a/b" or "/a/b": from this
  // node up through its ancestors each name, last to first, must equal the node name
  // exactly; a leading "/" or "//" (alike) also requires the document right above the
  // first name. Repeated and trailing "/" add nothing; a pattern without names ("",
  // "/") matches every node. False for null; false for three or more leading "/",
  // after the line "Invalid start of path" on standard output.
  bool matchesPattern(const char16_t* pattern) const;

  // --- Lifetime -------------------------------------------------------------------------

  // Destroys this node and everything it owns (children, and an element's attributes),
  // however deep the subtree. A node that is still linked is unlinked first.
  virtual void release();

 protected:
  CDOMNode() = default;
  // Frees what the node itself holds; its children are destroyed by release().
  virtual ~CDOMNode();

  // Every node but a document is placed by its document's factory in memory the
  // document keeps for its nodes, and handed back there when it is destroyed.
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void* block, void* place) noexcept;
  static void operator delete(void* block) noexcept;

  // Whether newChild may be linked under this node: not null, not this node, not linked,
  // made by this node's document.
  bool canLink(const CDOMNode* newChild) const;
  // Links newChild as the last child without any kind's rule (refused as canLink says).
  CDOMNode* linkLastChild(CDOMNode* newChild);
  // Whether node is one of this node's children.
  bool isChild(const CDOMNode* node) const;
  // Destroys every child (for nodes that own more than their subtree).
  void destroyChildren();

  // The two doubly linked lists of the tree, children and an element's attributes, share
  // these: link node at the end of the list first..last, with parent as its parent; and
  // unlink node from that list, leaving it without parent and siblings.
  static void linkAtEnd(CDOMNode*& first, CDOMNode* parent, CDOMNode* node);
  static void unlinkFrom(CDOMNode*& first, CDOMNode* node);
  // Whether this node comes first in its list (or is in none): the first node's
  // previous-sibling link holds the last node, whose next-sibling link is null.
  bool isFirstInList() const { return previousSibling_ == nullptr || previousSibling_->nextSibling_ == nullptr; }
  // The last node of the list that starts at first (null for none).
  static CDOMNode* LastOf(const CDOMNode* first) { return first != nullptr ? first->previousSibling_ : nullptr; }

 private:
  friend class CDOMElement;
  friend class CDOMTreeWalker;

  // Destroys root and every node it owns, without recursion.
  static void destroySubtree(CDOMNode* root);

  // Each node takes four pointers beside its virtual table: nodes are many, keep them
  // so. A list of siblings (children, or an element's attributes) is linked forwards,
  // and backwards in a ring: the first node's previous-sibling link holds the last node,
  // so the list needs no pointer to its end. A node finds its document through the
  // memory it was made in (NodeArena.h).
  CDOMNode* parent_ = nullptr;
  CDOMNode* previousSibling_ = nullptr;
  CDOMNode* nextSibling_ = nullptr;
  CDOMNode* firstChild_ = nullptr;
};

}  // namespace quillet::xml

#endif
