#include "xml/reader/NamespaceScopes.h"

namespace quillet::xml {

const std::u16string& CNamespaceScopes::xmlnsNamespace() {
  static const std::u16string uri = u"http://www.w3.org/2000/xmlns/";
  return uri;
}

void CNamespaceScopes::clear() {
  starts_.clear();
  count_ = 0;
}

void CNamespaceScopes::pop() {
  if (starts_.empty()) return;
  count_ = starts_.back();
  starts_.pop_back();
}

void CNamespaceScopes::bind(const std::u16string& prefix, const std::u16string& uri) {
  if (count_ == bindings_.size()) bindings_.emplace_back();
  Binding& b = bindings_[count_++];
  b.prefix = prefix;
  b.uri = uri;
}

const std::u16string* CNamespaceScopes::resolve(const std::u16string& prefix) const {
  if (prefix == u"xmlns") return &xmlnsNamespace();
  for (std::size_t i = count_; i-- > 0;) {
    if (bindings_[i].prefix == prefix) return &bindings_[i].uri;
  }
  return nullptr;
}

}  // namespace quillet::xml
