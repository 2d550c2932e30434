#pragma once

#include <functional>
#include <map>

#include "platform/ui/message_box.h"
#include "platform/ui/ui_backend.h"

namespace pelmorix {

// No desktop at all: for tests. Message boxes are recorded and answered from a queue, the loop
// returns at once, and every other service records what was asked of it.
class THeadlessBackend : public TUiBackend {
 public:
  static constexpr HWND kDesktopWindow = 0x10;

  TMessageBoxHost& MessageBoxes() override { return Boxes; }
  void ShowForm(TForm& form) override;
  void HideForm(TForm& form) override;
  void MinimizeForm(TForm& form) override;
  HWND FormHandle(TForm& form) override;
  void RunMessageLoop() override { ++LoopRuns; }
  void QuitMessageLoop() override { QuitRequested = true; }
  void ProcessMessages() override;
  void ProcessMessages(const TMessageFilter& filter) override;
  void SetApplicationTitle(const std::string& title) override { ApplicationTitle = title; }
  TScreenSize PrimaryScreenSize() override { return ScreenSize; }
  HWND DesktopWindow() override { return kDesktopWindow; }
  void SetPaintingFrozen(HWND window, bool frozen) override;

  TRecordingMessageBoxHost Boxes;
  TScreenSize ScreenSize{1280, 1024};
  std::string ApplicationTitle;
  int LoopRuns = 0;
  bool QuitRequested = false;
  int Minimized = 0;
  int ProcessMessagesCalls = 0;
  int FilteredProcessMessagesCalls = 0;
  // Runs on every ProcessMessages, standing in for the events a real loop would deliver
  // (a click on a cancel button, say).
  std::function<void()> OnProcessMessages;
  // The same for a filtered pass; the filter it was given is LastFilter.
  std::function<void()> OnFilteredProcessMessages;
  TMessageFilter LastFilter;
  // The window whose painting is frozen, 0 when none.
  HWND FrozenWindow = 0;

 private:
  std::map<const TForm*, HWND> handles_;
  HWND next_handle_ = 0x1000;
};

}  // namespace pelmorix
