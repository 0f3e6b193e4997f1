// What a collection operation leaves for its caller besides its result code: the text
// for the last-error text, and the switches it works under.
//
// The collection code keeps no process-wide state of its own. The exported function
// that starts an operation reads the process's switches, hands them down, and copies
// the Status text into the process's last-error text when the operation set one. As
// with the last-error text, a later text replaces an earlier one, and an operation may
// leave one on its way to success (the registry probe does).
#ifndef QUILLET_COLLECTION_STATUS_H
#define QUILLET_COLLECTION_STATUS_H

#include <string>
#include <utility>

namespace quillet {

class Status {
 public:
  void setText(std::string text) {
    text_ = std::move(text);
    hasText_ = true;
  }
  bool hasText() const { return hasText_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  bool hasText_ = false;
};

// The caller's switches (QuilletSetSafeMode, QuilletLockFiles, the tool's options).
struct Switches {
  // Safe mode: HTML Help's "<XML>" form in the ANSI code page, failed saves reported,
  // files that would not load again refused, empty containers with an end tag.
  bool safe = false;
  // With safe mode: write an empty container as <Name/> all the same.
  bool selfClosingEmptyTags = false;
  // Collection and doc-info records hold the help files' lock while they live.
  bool lockFiles = false;
};

}  // namespace quillet

#endif
