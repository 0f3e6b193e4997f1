// The one advisory lock that covers the collection registry and the collection files:
// a lock file "hhcolreg.lck" beside hhcolreg.dat. Every load-change-save sequence that
// takes it (QuilletInstall, QuilletRemove, handles while QuilletLockFiles is on, the
// quillet tool) runs alone; HTML Help itself ignores it.
//
// The lock is counted within the process: a sequence that is already inside it (an
// install while a locked handle is open) goes on without waiting for itself.
#ifndef QUILLET_COLLECTION_HELPFILESLOCK_H
#define QUILLET_COLLECTION_HELPFILESLOCK_H

#include <memory>
#include <string>

namespace quillet {

// How long a call waits for another program's lock before it gives up, in
// milliseconds: QUILLET_LOCK_TIMEOUT (seconds) from the environment, else 30 s.
long LockTimeoutMilliseconds();

// Holds the lock while it lives.
class HelpFilesLock {
 public:
  // Takes the lock, waiting up to LockTimeoutMilliseconds(). ok() tells whether it
  // is held; when not, error() says why (a text for the last-error text).
  HelpFilesLock();
  ~HelpFilesLock();
  HelpFilesLock(const HelpFilesLock&) = delete;
  HelpFilesLock& operator=(const HelpFilesLock&) = delete;

  bool ok() const { return held_; }
  const std::string& error() const { return error_; }

  // When the process took the lock (seconds since the epoch), or -1 while it is not
  // held: temporaries older than that were left by a process that died.
  static long long heldSince();

 private:
  bool held_ = false;
  std::string error_;
};

}  // namespace quillet

#endif
