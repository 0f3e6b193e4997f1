#include "xml/reader/NamespaceScopes.h"

namespace quillet::xml {

const std::u16string& CNamespaceScopes::xmlnsNamespace() {
  static const std::u16string uri = u"http://www.w3.org/2000/xmlns/";
  return uri;
}

void CNamespaceScopes::clear() {
  starts_.clear();
  count_ = 0;
  indexed_ = false;
  index_.clear();
}

void CNamespaceScopes::pop() {
  if (starts_.empty()) return;
  const std::size_t start = starts_.back();
  starts_.pop_back();
  if (indexed_) {
    for (std::size_t i = count_; i-- > start;) index_[bindings_[i].prefix].pop_back();
  }
  count_ = start;
}

void CNamespaceScopes::bind(const std::u16string& prefix, const std::u16string& uri) {
  if (count_ == bindings_.size()) bindings_.emplace_back();
  Binding& b = bindings_[count_++];
  b.prefix = prefix;
  b.uri = uri;
  if (indexed_) index_[prefix].push_back(count_ - 1);
  else if (count_ > kScanLimit) buildIndex();
}

void CNamespaceScopes::buildIndex() {
  index_.clear();
  for (std::size_t i = 0; i < count_; ++i) index_[bindings_[i].prefix].push_back(i);
  indexed_ = true;
}

const std::u16string* CNamespaceScopes::resolve(const std::u16string& prefix) const {
  if (prefix.size() == 5 && prefix == u"xmlns") return &xmlnsNamespace();
  if (indexed_) {
    const auto found = index_.find(prefix);
    return found == index_.end() || found->second.empty() ? nullptr : &bindings_[found->second.back()].uri;
  }
  for (std::size_t i = count_; i-- > 0;) {
    if (bindings_[i].prefix == prefix) return &bindings_[i].uri;
  }
  return nullptr;
}

}  // namespace quillet::xml
