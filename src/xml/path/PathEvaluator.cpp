#include "xml/path/PathEvaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "quillet/xml/DOMAttribute.h"
#include "quillet/xml/DOMElement.h"
#include "quillet/xml/DOMNameRecord.h"
#include "quillet/xml/DOMNodeList.h"
#include "quillet/xml/DOMTreeWalker.h"
#include "xml/path/PathDiagnostic.h"
#include "xml/path/PathNumbers.h"

namespace quillet::xml {

namespace {

using Kind = PathTokenKind;

bool NameIs(const CDOMNode* node, std::u16string_view name) {
  return std::u16string_view(static_cast<const CDOMNamedNode*>(node)->getNameRecord()->getQualifiedName()) == name;
}

// Float division with IEEE results spelled out, so that no build treats a zero
// divisor as undefined.
float Divide(float a, float b) {
  if (b != 0 || std::isnan(b)) return a / b;
  if (a == 0 || std::isnan(a)) return std::numeric_limits<float>::quiet_NaN();
  return std::signbit(a) == std::signbit(b) ? std::numeric_limits<float>::infinity()
                                            : -std::numeric_limits<float>::infinity();
}

// Both operands truncated toward zero; the remainder takes the sign of the left one. A
// divisor that truncates to 0 (or an infinite or NaN operand) gives NaN.
float Modulo(float a, float b) {
  const float divisor = std::trunc(b);
  if (divisor == 0 || std::isnan(divisor) || !std::isfinite(a)) return std::numeric_limits<float>::quiet_NaN();
  return std::fmod(std::trunc(a), divisor);
}

}  // namespace

// --- Entries ---------------------------------------------------------------------------

bool CPathEvaluator::start(const char16_t* expr, CDOMNode* root, CDOMNode* context) {
  if (expr == nullptr || context == nullptr) return false;
  expression_ = expr;
  lexer_ = CPathLexer(expression_);
  root_ = root != nullptr ? root : context;
  context_ = context;
  pushNode(context);
  lexer_.next();
  return true;
}

int CPathEvaluator::evaluateSelect(const char16_t* expr, CDOMNode* root, CDOMNode* context, CDOMNodeList*& list) {
  list = nullptr;
  if (!start(expr, root, context)) return kFailed;
  const int status = locationPath();
  CPathValue top;
  if (status < 0 || !pop(top)) {
    stack_.clear();
    return status < 0 ? status : kFailed;
  }
  if (top.kind == CPathValue::kNodeSet) {
    list = new CDOMNodeList;
    for (CDOMNode* node : top.nodes) list->append(node);
  }
  return status;
}

int CPathEvaluator::evaluateTest(const char16_t* expr, CDOMNode* root, CDOMNode* context, bool& result, int size,
                                 int position) {
  if (!start(expr, root, context)) return kFailed;
  size_ = size;
  position_ = position;
  const int status = expression();
  CPathValue top;
  if (status < 0 || !pop(top)) {
    stack_.clear();
    return status < 0 ? status : kFailed;
  }
  result = top.truth();
  return status;
}

// --- Expressions -----------------------------------------------------------------------

int CPathEvaluator::expression() {
  if (nesting_ >= kMaxNesting) return kFailed;
  ++nesting_;
  const int status = orLevel();
  --nesting_;
  return status;
}

int CPathEvaluator::orLevel() { return chain(&CPathEvaluator::andLevel, &CPathEvaluator::orAt); }
int CPathEvaluator::andLevel() { return chain(&CPathEvaluator::equalityLevel, &CPathEvaluator::andAt); }
int CPathEvaluator::relationalLevel() { return chain(&CPathEvaluator::additiveLevel, &CPathEvaluator::relationalAt); }
int CPathEvaluator::additiveLevel() { return chain(&CPathEvaluator::multiplicativeLevel, &CPathEvaluator::additiveAt); }
int CPathEvaluator::multiplicativeLevel() { return chain(&CPathEvaluator::unary, &CPathEvaluator::multiplicativeAt); }

// Equality takes one operator at the most: a second "=" is where the expression ends.
int CPathEvaluator::equalityLevel() {
  int status = relationalLevel();
  if (status < 0) return status;
  const Operator op = equalityAt();
  if (op == Operator::kNone) return status;
  lexer_.next();
  status = rightOperand(&CPathEvaluator::relationalLevel);
  if (status < 0) return status;
  const int applied = apply(op);
  return applied < 0 ? applied : status;
}

// operand (op operand)*, grouped to the right: the operands are evaluated from left to
// right as they are read, and the operators then applied from the last one back, each
// to the two values on top of the stack.
int CPathEvaluator::chain(Level operand, OperatorAt operatorAt) {
  int status = (this->*operand)();
  if (status < 0) return status;
  const size_t base = pendingOperators_.size();
  for (Operator op = (this->*operatorAt)(); op != Operator::kNone; op = (this->*operatorAt)()) {
    lexer_.next();
    pendingOperators_.push_back(op);
    status = rightOperand(operand);
    if (status < 0) return status;
  }
  while (pendingOperators_.size() > base) {
    const Operator op = pendingOperators_.back();
    pendingOperators_.pop_back();
    const int applied = apply(op);
    if (applied < 0) return applied;
  }
  return status;
}

// A location path takes the value on top of the stack as its context. Before a right
// operand a node-set of the context node is pushed for a path there to take; when the
// operand is no path (or leaves more behind, as "." in a predicate does), only the
// operand's own value is kept above the left operand.
int CPathEvaluator::rightOperand(Level operand) {
  const size_t base = stack_.size();
  pushNode(contextNode());
  const int status = (this->*operand)();
  if (status < 0) return status;
  if (stack_.size() <= base) return kFailed;
  if (stack_.size() > base + 1) {
    std::swap(stack_[base], stack_.back());
    truncate(base + 1);
  }
  return status;
}

CPathEvaluator::Operator CPathEvaluator::orAt() const {
  return lexer_.token().isWord("or") ? Operator::kOr : Operator::kNone;
}

CPathEvaluator::Operator CPathEvaluator::andAt() const {
  return lexer_.token().isWord("and") ? Operator::kAnd : Operator::kNone;
}

CPathEvaluator::Operator CPathEvaluator::equalityAt() const {
  switch (lexer_.token().kind) {
    case Kind::kEqual: return Operator::kEqual;
    case Kind::kNotEqual: return Operator::kNotEqual;
    default: return Operator::kNone;
  }
}

CPathEvaluator::Operator CPathEvaluator::relationalAt() const {
  switch (lexer_.token().kind) {
    case Kind::kLess: return Operator::kLess;
    case Kind::kLessEqual: return Operator::kLessEqual;
    case Kind::kGreater: return Operator::kGreater;
    case Kind::kGreaterEqual: return Operator::kGreaterEqual;
    default: return Operator::kNone;
  }
}

CPathEvaluator::Operator CPathEvaluator::additiveAt() const {
  switch (lexer_.token().kind) {
    case Kind::kPlus: return Operator::kAdd;
    case Kind::kMinus: return Operator::kSubtract;
    default: return Operator::kNone;
  }
}

CPathEvaluator::Operator CPathEvaluator::multiplicativeAt() const {
  const CPathToken& token = lexer_.token();
  if (token.kind == Kind::kStar) return Operator::kMultiply;
  if (token.isWord("div")) return Operator::kDivide;
  if (token.isWord("mod")) return Operator::kModulo;
  return Operator::kNone;
}

int CPathEvaluator::unary() {
  const bool negate = lexer_.token().kind == Kind::kMinus;
  if (negate) lexer_.next();
  bool matched = false;
  int status = primary(matched);
  if (!matched) status = locationPath();
  if (status < 0 || !negate) return status;
  CPathValue value;
  if (!pop(value)) return kFailed;
  const float number = value.toNumber();
  recycle(value);
  push(CPathValue::Number(-number));
  return status;
}

int CPathEvaluator::primary(bool& matched) {
  const CPathToken& token = lexer_.token();
  matched = true;
  switch (token.kind) {
    case Kind::kLiteral:
      push(CPathValue::String(token.text));
      lexer_.next();
      return kOk;
    case Kind::kNumber:
      push(CPathValue::Number(token.number));
      lexer_.next();
      return kOk;
    case Kind::kOpenParen: {
      lexer_.next();
      const int status = expression();
      if (status < 0) return status;
      if (lexer_.token().kind != Kind::kCloseParen) {
        PrintPathDiagnostic("Missing closing bracket\n");
        return kFailed;
      }
      lexer_.next();
      return status;
    }
    case Kind::kFunctionName: return functionCall();
    default: matched = false; return kOk;
  }
}

int CPathEvaluator::functionCall() {
  const CPathToken name = lexer_.token();
  lexer_.next();  // "("
  lexer_.next();
  if (name.isWord("position") || name.isWord("last")) {
    const int status = skipArguments();
    if (status < 0) return status;
    push(CPathValue::Number(static_cast<float>(name.isWord("position") ? position_ : size_)));
    return kOk;
  }
  if (!name.isWord("number") && !name.isWord("not")) return skipArguments();  // no value
  const int status = expression();
  if (status < 0) return status;
  if (lexer_.token().kind != Kind::kCloseParen) return kFailed;
  lexer_.next();
  CPathValue argument;
  if (!pop(argument)) return kFailed;
  const float value = name.isWord("number") ? argument.toNumber() : (argument.truth() ? 0.0f : 1.0f);
  recycle(argument);
  push(CPathValue::Number(value));
  return kOk;
}

// Skips the tokens up to the next ")" and that too; fails at the end or an error token.
int CPathEvaluator::skipArguments() {
  for (;; lexer_.next()) {
    const Kind kind = lexer_.token().kind;
    if (kind == Kind::kCloseParen) break;
    if (kind == Kind::kEnd || kind == Kind::kError) return kFailed;
  }
  lexer_.next();
  return kOk;
}

// --- Location paths --------------------------------------------------------------------

int CPathEvaluator::locationPath() {
  if (lexer_.token().kind == Kind::kSlash) {
    truncate(stack_.empty() ? 0 : stack_.size() - 1);
    pushNode(root_);
    lexer_.next();
  }
  return relativePath();
}

int CPathEvaluator::relativePath() {
  // A path that starts with "//" goes straight to its separator.
  int status = lexer_.token().kind == Kind::kDoubleSlash ? kOk : step();
  while (status == kOk) {
    const Kind separator = lexer_.token().kind;
    if (separator != Kind::kSlash && separator != Kind::kDoubleSlash) break;
    descendant_ = separator == Kind::kDoubleSlash;
    // Only a "//" before any step of the expression or predicate starts at the root.
    if (descendant_ && stepCounter_ == 0) {
      truncate(stack_.empty() ? 0 : stack_.size() - 1);
      pushNode(root_);
    }
    lexer_.next();
    status = step();
  }
  return status;
}

int CPathEvaluator::step() {
  ++stepCounter_;
  const CPathToken& token = lexer_.token();
  int status = kOk;
  switch (token.kind) {
    case Kind::kAxisName:
      if (token.isWord("attribute")) {
        axis_ = Axis::kAttribute;
      } else if (token.isWord("descendant")) {
        axis_ = Axis::kDescendant;
      } else if (!token.isWord("child")) {
        return kFailed;
      }
      lexer_.next();  // "::"
      lexer_.next();
      status = nameTest();
      break;
    case Kind::kAt:
      axis_ = Axis::kAttribute;
      lexer_.next();
      status = nameTest();
      break;
    case Kind::kName:
    case Kind::kStar: status = nameTest(); break;
    case Kind::kDot:
      lexer_.next();
      if (predicateDepth_ > 0) pushNode(contextNode());
      break;
    case Kind::kDoubleDot:
      lexer_.next();
      status = parentStep();
      break;
    case Kind::kFunctionName:
      lexer_.next();  // "("
      lexer_.next();
      status = skipArguments();  // the context stays: text() selects it
      break;
    default: status = kPathEnded; break;
  }
  axis_ = Axis::kChild;
  while (status == kOk && lexer_.token().kind == Kind::kOpenBracket) {
    const unsigned steps = stepCounter_;
    status = predicate();
    stepCounter_ = steps;
  }
  return status;
}

// Name and wildcard tests select elements on the child and descendant axes and
// attributes on the attribute axis; no other kind of node.
int CPathEvaluator::nameTest() {
  const CPathToken& test = lexer_.token();
  if (test.kind != Kind::kName && test.kind != Kind::kStar) return kPathEnded;
  const bool any = test.kind == Kind::kStar;
  const std::u16string_view name = test.text;
  CPathValue context;
  if (!pop(context)) return kFailed;
  std::vector<CDOMNode*> found = newList();
  const bool descendants = axis_ == Axis::kDescendant || (axis_ == Axis::kChild && descendant_);
  for (CDOMNode* node : context.nodes) {
    if (axis_ == Axis::kAttribute) {
      if (node->getNodeType() != DOMNodeTypeElement) continue;
      for (CDOMNode* a = static_cast<CDOMElement*>(node)->getFirstAttribute(); a != nullptr; a = a->getNextSibling()) {
        if (!visit()) return kFailed;
        if (any || NameIs(a, name)) {
          found.push_back(a);
          if (!any) break;  // the first of that name, as the attribute map finds it
        }
      }
    } else if (descendants) {
      CDOMTreeWalker walker(node, node->getFirstChild());
      while (CDOMNode* d = walker.nextNode()) {
        if (!visit()) return kFailed;
        if (d->getNodeType() == DOMNodeTypeElement && (any || NameIs(d, name))) found.push_back(d);
      }
    } else {
      for (CDOMNode* child = node->getFirstChild(); child != nullptr; child = child->getNextSibling()) {
        if (!visit()) return kFailed;
        if (child->getNodeType() == DOMNodeTypeElement && (any || NameIs(child, name))) found.push_back(child);
      }
    }
  }
  recycle(context);
  pushNodes(std::move(found));
  lexer_.next();
  return kOk;
}

// One parent per node, in order: duplicates stay, a node without parent adds nothing.
int CPathEvaluator::parentStep() {
  CPathValue context;
  if (!pop(context)) return kFailed;
  std::vector<CDOMNode*> parents = newList();
  for (CDOMNode* node : context.nodes) {
    if (!visit()) return kFailed;
    if (CDOMNode* parent = node->getParentNode()) parents.push_back(parent);
  }
  recycle(context);
  pushNodes(std::move(parents));
  return kOk;
}

// Filters the node-set on top of the stack by the predicate that starts at the current
// "[", reading the predicate's text again for each node. Positions count over the whole
// list. A predicate that begins with a number token and gives a number keeps the node
// at that position; any other value keeps the nodes for which it is true.
int CPathEvaluator::predicate() {
  CPathValue filtered;
  if (!pop(filtered)) return kFailed;
  lexer_.next();
  const CPathLexer start = lexer_;
  const bool positional = lexer_.token().kind == Kind::kNumber;
  // Every node's reading starts from the same state, whatever the previous left.
  const bool descendant = descendant_;
  CDOMNode* const outerNode = currentNode_;
  const int64_t outerSize = size_;
  const std::vector<CDOMNode*>& nodes = filtered.nodes;
  std::vector<CDOMNode*> kept = newList();
  ++predicateDepth_;
  int status = kOk;
  // An empty list still has its predicate read once, to find the "]".
  const size_t readings = nodes.empty() ? 1 : nodes.size();
  for (size_t k = 0; k < readings && status >= 0; ++k) {
    lexer_ = start;
    descendant_ = descendant;
    stepCounter_ = 0;
    axis_ = Axis::kChild;
    const size_t base = stack_.size();
    if (nodes.empty()) {
      pushNodes(newList());
    } else {
      pushNode(nodes[k]);
      currentNode_ = nodes[k];
      size_ = static_cast<int64_t>(nodes.size());
    }
    position_ = static_cast<int64_t>(k + 1);
    status = visit() ? expression() : kFailed;
    if (status >= 0 && (lexer_.token().kind != Kind::kCloseBracket || stack_.size() <= base)) status = kFailed;
    if (status >= 0) {
      lexer_.next();
      const CPathValue& value = stack_.back();
      bool keep = value.truth();
      if (positional && value.kind == CPathValue::kNumber) {
        keep = std::trunc(static_cast<double>(value.number)) == static_cast<double>(k + 1);
      }
      if (keep && !nodes.empty()) kept.push_back(nodes[k]);
    }
    truncate(base);
    currentNode_ = outerNode;
    size_ = outerSize;
  }
  --predicateDepth_;
  if (status < 0) return status;
  recycle(filtered);
  pushNodes(std::move(kept));
  return kOk;
}

bool CPathEvaluator::visit() { return ++visits_ <= maxVisits_; }

// --- Operators -------------------------------------------------------------------------

int CPathEvaluator::apply(Operator op) {
  if (stack_.size() < 2) return kFailed;
  CPathValue right = std::move(stack_.back());
  stack_.pop_back();
  CPathValue left = std::move(stack_.back());
  stack_.pop_back();
  int status = kOk;
  auto result = [this](bool truth) { push(CPathValue::Number(truth ? 1.0f : 0.0f)); };
  switch (op) {
    case Operator::kOr: result(left.truth() || right.truth()); break;
    case Operator::kAnd: result(left.truth() && right.truth()); break;
    case Operator::kEqual:
    case Operator::kNotEqual: status = compare(op, left, right); break;
    case Operator::kLess: result(left.toNumber() < right.toNumber()); break;
    case Operator::kLessEqual: result(left.toNumber() <= right.toNumber()); break;
    case Operator::kGreater: result(left.toNumber() > right.toNumber()); break;
    case Operator::kGreaterEqual: result(left.toNumber() >= right.toNumber()); break;
    case Operator::kAdd: push(CPathValue::Number(left.toNumber() + right.toNumber())); break;
    case Operator::kSubtract: push(CPathValue::Number(left.toNumber() - right.toNumber())); break;
    case Operator::kMultiply: push(CPathValue::Number(left.toNumber() * right.toNumber())); break;
    case Operator::kDivide: push(CPathValue::Number(Divide(left.toNumber(), right.toNumber()))); break;
    case Operator::kModulo: push(CPathValue::Number(Modulo(left.toNumber(), right.toNumber()))); break;
    case Operator::kNone: status = kFailed; break;
  }
  recycle(left);
  recycle(right);
  return status;
}

// Two numbers compare as numbers. Otherwise texts compare: a left node-set gives the
// nodes whose text (getText) equals, for "=", or differs from, for "!=", the right
// operand's text; any other left operand gives 1 or 0. A right node-set stands for the
// texts of all its nodes (equal to one of them, or to none), a number for its text.
int CPathEvaluator::compare(Operator op, CPathValue& left, CPathValue& right) {
  const bool wantEqual = op == Operator::kEqual;
  if (left.kind == CPathValue::kNumber && right.kind == CPathValue::kNumber) {
    push(CPathValue::Number((left.number == right.number) == wantEqual ? 1.0f : 0.0f));
    return kOk;
  }
  RightTexts texts;
  if (right.kind == CPathValue::kNodeSet) {
    for (const CDOMNode* node : right.nodes) {
      if (!visit()) return kFailed;
      texts.all.emplace_back(node->getText(scratchText_));
    }
    std::sort(texts.all.begin(), texts.all.end());
  } else if (right.kind == CPathValue::kNumber) {
    texts.own = PathNumberText(right.number);
    texts.one = texts.own;
  } else {
    texts.one = right.text;
  }
  texts.isSet = right.kind == CPathValue::kNodeSet;

  if (left.kind != CPathValue::kNodeSet) {
    const std::u16string number = left.kind == CPathValue::kNumber ? PathNumberText(left.number) : std::u16string();
    const std::u16string_view text = left.kind == CPathValue::kNumber ? std::u16string_view(number) : left.text;
    push(CPathValue::Number(texts.matches(text) == wantEqual ? 1.0f : 0.0f));
    return kOk;
  }
  std::vector<CDOMNode*> found = newList();
  for (CDOMNode* node : left.nodes) {
    if (!visit()) return kFailed;
    if (texts.matches(node->getText(scratchText_)) == wantEqual) found.push_back(node);
  }
  pushNodes(std::move(found));
  return kOk;
}

bool CPathEvaluator::RightTexts::matches(std::u16string_view text) const {
  if (!isSet) return text == one;
  return std::binary_search(all.begin(), all.end(), text,
                            [](const auto& a, const auto& b) { return std::u16string_view(a) < std::u16string_view(b); });
}

// --- The stack -------------------------------------------------------------------------

std::vector<CDOMNode*> CPathEvaluator::newList() {
  if (spareLists_.empty()) return {};
  std::vector<CDOMNode*> list = std::move(spareLists_.back());
  spareLists_.pop_back();
  return list;
}

void CPathEvaluator::pushNodes(std::vector<CDOMNode*> nodes) {
  CPathValue value;
  value.nodes = std::move(nodes);
  push(std::move(value));
}

void CPathEvaluator::pushNode(CDOMNode* node) {
  std::vector<CDOMNode*> nodes = newList();
  nodes.push_back(node);
  pushNodes(std::move(nodes));
}

bool CPathEvaluator::pop(CPathValue& value) {
  if (stack_.empty()) return false;
  value = std::move(stack_.back());
  stack_.pop_back();
  return true;
}

void CPathEvaluator::recycle(CPathValue& value) {
  constexpr size_t kSpareLists = 16;
  if (value.nodes.capacity() == 0 || spareLists_.size() >= kSpareLists) return;
  value.nodes.clear();
  spareLists_.push_back(std::move(value.nodes));
}

void CPathEvaluator::truncate(size_t size) {
  while (stack_.size() > size) {
    recycle(stack_.back());
    stack_.pop_back();
  }
}

}  // namespace quillet::xml
