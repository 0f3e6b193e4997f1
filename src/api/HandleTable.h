// The table of every record that an exported function hands out as a handle.
//
// A handle is a non-zero number naming a live record. Numbers are issued in
// increasing order and never reused while the process lives, so a handle that has
// ended can never name a newer record: a stale handle is always recognised as
// invalid. (A handle cannot carry an address: unsigned long is 32 bits on 64-bit
// Windows.) Records made from another handle (folder handles from a collection,
// doc handles from a doc-info handle) end together with it.
#ifndef QUILLET_API_HANDLETABLE_H
#define QUILLET_API_HANDLETABLE_H

#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace quillet {

// Base of every record behind a handle.
class HandleRecord {
 public:
  virtual ~HandleRecord() = default;
};

class HandleTable {
 public:
  // The one table of the process.
  static HandleTable& instance();

  // Issues a new handle for `record`. A non-zero `owner` is the handle the record was
  // made from; ending the owner ends this handle too. Returns 0, and frees the record,
  // when the owner is not live or the handle numbers are used up.
  unsigned long issue(std::unique_ptr<HandleRecord> record, unsigned long owner = 0);

  // The record of a live handle, or null.
  HandleRecord* find(unsigned long handle) const;

  // The record of a live handle when it is of type T, else null.
  template <class T>
  T* lookup(unsigned long handle) const {
    return dynamic_cast<T*>(find(handle));
  }

  // The handle a live handle was made from (0 for none or when not live).
  unsigned long ownerOf(unsigned long handle) const;

  // Ends a handle and every handle made from it, freeing their records (those made from
  // it first). An invalid handle is ignored.
  void end(unsigned long handle);

  // Number of live handles.
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::unique_ptr<HandleRecord> record;
    unsigned long owner = 0;
    std::unordered_set<unsigned long> made;
  };

  std::unordered_map<unsigned long, Entry> entries_;
  unsigned long next_ = 1;
  bool exhausted_ = false;
};

// The record of `handle` as a T, or null after setting the last-error text
// "Invalid handle". For the exports that take a handle.
template <class T>
T* RequireHandle(unsigned long handle);

void SetInvalidHandleError();

template <class T>
T* RequireHandle(unsigned long handle) {
  T* record = HandleTable::instance().lookup<T>(handle);
  if (record == nullptr) SetInvalidHandleError();
  return record;
}

}  // namespace quillet

#endif
