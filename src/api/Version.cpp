#include <cstring>

#include "quillet/quillet.h"

namespace {
constexpr char kVersionText[] = "Tessaly QUILLET Version 1.0.0 - Build 002";
static_assert(sizeof(kVersionText) == 42, "the version text and its NUL are 42 bytes");
}  // namespace

void QuilletGetVersion(char* buffer) {
  if (buffer == nullptr) return;
  std::memcpy(buffer, kVersionText, sizeof(kVersionText));
}
