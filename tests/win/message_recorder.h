// Test helper: replaces the library's message box for a scope and records what it would
// have shown; every box is answered with IDOK.
#pragma once

#include <windows.h>

#include <vector>

#include "kv_tools/message_box.h"

namespace wtarn_test {

struct ShownMessage {
  rtl::String text, caption;
  unsigned flags;
};

class MessageRecorder {
 public:
  MessageRecorder()
      : previous_(Kv_tools::SetMessageBoxHook([this](const rtl::String& text, const rtl::String& caption, unsigned flags) {
          shown_.push_back({text, caption, flags});
          return IDOK;
        })) {}
  ~MessageRecorder() { Kv_tools::SetMessageBoxHook(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<ShownMessage>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }

 private:
  std::vector<ShownMessage> shown_;
  Kv_tools::MessageBoxHook previous_;
};

}  // namespace wtarn_test
