// The stack of namespace scopes of the elements currently open.
#ifndef QUILLET_XML_READER_NAMESPACESCOPES_H
#define QUILLET_XML_READER_NAMESPACESCOPES_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet::xml {

// Each scope binds prefixes ("" for the default namespace) to namespace names. The
// bindings of all scopes share one array and keep their storage when popped, so
// steady-state parsing allocates nothing here. A prefix is resolved by a scan from the
// innermost binding out while there are few; past kScanLimit bindings an index by
// prefix takes over, so that an element with a hundred thousand declarations costs no
// more per prefix than one with two.
class CNamespaceScopes {
 public:
  // The namespace name the prefix "xmlns" always resolves to.
  static const std::u16string& xmlnsNamespace();

  void clear();
  void push() { starts_.push_back(count_); }
  void pop();
  // Binds in the innermost scope; a later binding of the same prefix in that scope
  // wins over the earlier one.
  void bind(const std::u16string& prefix, const std::u16string& uri);
  // The innermost binding of `prefix`, or null when nothing binds it.
  const std::u16string* resolve(const std::u16string& prefix) const;

 private:
  static constexpr std::size_t kScanLimit = 16;

  struct Binding {
    std::u16string prefix;
    std::u16string uri;
  };
  void buildIndex();

  std::vector<Binding> bindings_;
  std::size_t count_ = 0;
  std::vector<std::size_t> starts_;
  // While `indexed_`: for each prefix, the positions of its live bindings, innermost last.
  bool indexed_ = false;
  std::unordered_map<std::u16string, std::vector<std::size_t>> index_;
};

}  // namespace quillet::xml

#endif
