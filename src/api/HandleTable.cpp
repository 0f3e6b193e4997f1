#include "api/HandleTable.h"

#include <vector>

#include "api/LastError.h"

namespace quillet {

HandleTable& HandleTable::instance() {
  static HandleTable table;
  return table;
}

unsigned long HandleTable::issue(std::unique_ptr<HandleRecord> record, unsigned long owner) {
  if (!record || exhausted_) return 0;
  Entry* ownerEntry = nullptr;
  if (owner != 0) {
    auto it = entries_.find(owner);
    if (it == entries_.end()) return 0;
    ownerEntry = &it->second;
  }
  const unsigned long handle = next_;
  // The last number is issued too; after it no further handle is ever made, because
  // reusing a number could let a stale handle name a new record.
  if (next_ == static_cast<unsigned long>(-1)) exhausted_ = true;
  else ++next_;
  Entry entry;
  entry.record = std::move(record);
  entry.owner = owner;
  entries_.emplace(handle, std::move(entry));
  if (ownerEntry) ownerEntry->made.insert(handle);
  return handle;
}

HandleRecord* HandleTable::find(unsigned long handle) const {
  auto it = entries_.find(handle);
  return it == entries_.end() ? nullptr : it->second.record.get();
}

unsigned long HandleTable::ownerOf(unsigned long handle) const {
  auto it = entries_.find(handle);
  return it == entries_.end() ? 0 : it->second.owner;
}

void HandleTable::end(unsigned long handle) {
  auto it = entries_.find(handle);
  if (it == entries_.end()) return;
  // Handles made from this one go first: their records may point into the tree
  // that this record owns. The chain is at most two levels deep, so recursion is fine.
  std::vector<unsigned long> made(it->second.made.begin(), it->second.made.end());
  for (unsigned long child : made) end(child);
  it = entries_.find(handle);
  if (it == entries_.end()) return;
  if (it->second.owner != 0) {
    auto owner = entries_.find(it->second.owner);
    if (owner != entries_.end()) owner->second.made.erase(handle);
  }
  std::unique_ptr<HandleRecord> record = std::move(it->second.record);
  entries_.erase(it);
  record.reset();
}

void SetInvalidHandleError() { SetLastErrorText("Invalid handle"); }

}  // namespace quillet
