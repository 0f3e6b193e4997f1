// Evaluation of path expressions over a document tree.
#ifndef QUILLET_XML_PATH_PATHEVALUATOR_H
#define QUILLET_XML_PATH_PATHEVALUATOR_H

#include <cstdint>
#include <string>
#include <vector>

#include "xml/path/PathLexer.h"
#include "xml/path/PathValue.h"

namespace quillet::xml {

class CDOMNode;
class CDOMNodeList;

// Reads an expression once, evaluating each production as soon as it is recognised:
// there is no parse tree, and values travel on a stack. A predicate is evaluated by
// reading its text again for every node it filters. One evaluator serves one query.
//
// The language and its odd corners are described with the node operations that use
// it, in quillet/xml/DOMNode.h.
class CPathEvaluator {
 public:
  // Statuses: a query that fails gives kFailed; one that succeeds gives kOk, or
  // kPathEnded when its last location path stopped at a token that cannot start a step
  // (the path "a/" selects what "a" selects, with this status).
  static constexpr int kFailed = -1;
  static constexpr int kOk = 0;
  static constexpr int kPathEnded = 1;
  // Brackets, function arguments and predicates nested deeper than this fail: the
  // evaluator recurses once per level.
  static constexpr int kMaxNesting = 128;
  // A query that has looked at this many nodes fails: nested predicates and repeated
  // "//" steps multiply their cost, and this bounds the time and memory of any one
  // query. Every node a step visits, every node a predicate tests and every node "="
  // compares counts once.
  static constexpr uint64_t kMaxVisits = uint64_t{1} << 26;

  // maxVisits replaces kMaxVisits (for tests of the limit).
  explicit CPathEvaluator(uint64_t maxVisits = kMaxVisits) : maxVisits_(maxVisits) {}

  // Evaluates expr as a location path from context, absolute paths starting from root.
  // On success list is a new list of the selected nodes that the caller owns; on
  // failure it is null. A null expr or context fails.
  int evaluateSelect(const char16_t* expr, CDOMNode* root, CDOMNode* context, CDOMNodeList*& list);
  // Evaluates expr as an expression with the given context size and position; on
  // success result is the truth of its value, on failure it is not written.
  int evaluateTest(const char16_t* expr, CDOMNode* root, CDOMNode* context, bool& result, int size, int position);

 private:
  enum class Axis { kChild, kAttribute, kDescendant };
  enum class Operator {
    kNone, kOr, kAnd, kEqual, kNotEqual, kLess, kLessEqual, kGreater, kGreaterEqual,
    kAdd, kSubtract, kMultiply, kDivide, kModulo,
  };
  using Level = int (CPathEvaluator::*)();
  using OperatorAt = Operator (CPathEvaluator::*)() const;

  bool start(const char16_t* expr, CDOMNode* root, CDOMNode* context);

  // The grammar, from the lowest precedence to the highest.
  int expression();
  int orLevel();
  int andLevel();
  int equalityLevel();
  int relationalLevel();
  int additiveLevel();
  int multiplicativeLevel();
  int unary();
  int primary(bool& matched);
  int functionCall();
  int skipArguments();
  int chain(Level operand, OperatorAt operatorAt);
  int rightOperand(Level operand);
  Operator orAt() const;
  Operator andAt() const;
  Operator equalityAt() const;
  Operator relationalAt() const;
  Operator additiveAt() const;
  Operator multiplicativeAt() const;

  // Location paths.
  int locationPath();
  int relativePath();
  int step();
  int nameTest();
  int parentStep();
  int predicate();
  bool visit();

  // Operators.
  // What the right operand of "=" or "!=" stands for: one text, or a node-set's texts.
  struct RightTexts {
    bool isSet = false;
    std::u16string_view one;
    std::u16string own;                // the text of a number, which `one` views
    std::vector<std::u16string> all;  // sorted
    bool matches(std::u16string_view text) const;
  };
  int apply(Operator op);
  int compare(Operator op, CPathValue& left, CPathValue& right);

  // The stack.
  CDOMNode* contextNode() const { return currentNode_ != nullptr ? currentNode_ : context_; }
  std::vector<CDOMNode*> newList();
  void push(CPathValue value) { stack_.push_back(std::move(value)); }
  void pushNodes(std::vector<CDOMNode*> nodes);
  void pushNode(CDOMNode* node);
  bool pop(CPathValue& value);
  void recycle(CPathValue& value);
  void truncate(size_t size);

  std::u16string expression_;
  CPathLexer lexer_;
  CDOMNode* root_ = nullptr;
  CDOMNode* context_ = nullptr;
  // The node the innermost predicate is testing; null outside predicates.
  CDOMNode* currentNode_ = nullptr;
  int64_t position_ = 1;
  int64_t size_ = 1;
  std::vector<CPathValue> stack_;
  Axis axis_ = Axis::kChild;
  // Whether the separator before the current step was "//".
  bool descendant_ = false;
  // Steps started since the beginning of the expression or of the current predicate.
  unsigned stepCounter_ = 0;
  int predicateDepth_ = 0;
  int nesting_ = 0;
  uint64_t visits_ = 0;
  uint64_t maxVisits_;
  // Operators read at the precedence levels that are being evaluated, applied from the
  // last (right grouping) once their level has read its last operand.
  std::vector<Operator> pendingOperators_;
  // Node lists of values that are gone, kept for the next node-sets.
  std::vector<std::vector<CDOMNode*>> spareLists_;
  std::u16string scratchText_;
};

}  // namespace quillet::xml

#endif
