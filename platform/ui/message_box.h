#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace pelmorix {

// Buttons and icons of a message box, and the answers.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Modal message boxes. The window backend shows real dialogs; tests record them.
class TMessageBoxHost {
 public:
  virtual ~TMessageBoxHost() = default;

  // Shows a modal box and returns the button pressed (IDOK, IDYES or IDNO).
  virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;

  // An information box with one OK button and the application title as caption.
  void ShowMessage(const std::string& text) { MessageBox(text, title_, MB_OK); }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

 private:
  std::string title_;
};

// Records every box and answers from a queue (OK or Yes when the queue is empty).
class TRecordingMessageBoxHost : public TMessageBoxHost {
 public:
  struct Box {
    std::string text;
    std::string caption;
    uint32_t flags;
  };

  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    Boxes.push_back({text, caption, flags});
    if (!Answers.empty()) {
      const int answer = Answers.front();
      Answers.pop_front();
      return answer;
    }
    return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
  }

  std::vector<Box> Boxes;
  std::deque<int> Answers;
};

}  // namespace pelmorix
