// The process-wide switches a caller sets once for every later call.
//
// Safe mode is off by default, so every export behaves as it always has. Turned on
// (QuilletSetSafeMode; the quillet tool turns it on), it protects users' files where
// that behaviour would lose or damage data: see the README's "Safe mode" section for
// the whole list. It is read where a call starts its work, never deep inside the
// toolkit: the toolkit takes what it needs as options.
#ifndef QUILLET_API_SAFEMODE_H
#define QUILLET_API_SAFEMODE_H

namespace quillet {

void SetSafeMode(bool on);
bool SafeMode();

// The quillet tool's --self-closing-empty-tags: in safe mode, still write an empty
// container as `<Name/>`. Off by default (and not exported).
void SetSelfClosingEmptyTags(bool on);
bool SelfClosingEmptyTags();

// Whether collection and doc-info handles hold the help files' lock from their load
// until they are released (QuilletLockFiles). Off by default.
void SetLockFiles(bool on);
bool LockFiles();

}  // namespace quillet

#endif
