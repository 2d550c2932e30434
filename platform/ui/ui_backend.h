#pragma once

#include <string>

#include "platform/ui/message_box.h"
#include "platform/ui/message_filter.h"
#include "platform/windows_types.h"

namespace pelmorix {

class TForm;

struct TScreenSize {
  int Width = 0;
  int Height = 0;
};

// What the application object needs from the desktop. The GTK backend shows real windows; the
// headless backend stands in for tests.
class TUiBackend {
 public:
  virtual ~TUiBackend() = default;

  virtual TMessageBoxHost& MessageBoxes() = 0;

  // Mirrors the form and its controls (once), then shows it: centred when its position rule
  // says so.
  virtual void ShowForm(TForm& form) = 0;
  virtual void HideForm(TForm& form) = 0;
  virtual void MinimizeForm(TForm& form) = 0;
  // The form's window handle; the form is mirrored first when it is not yet.
  virtual HWND FormHandle(TForm& form) = 0;

  // Runs window events until QuitMessageLoop.
  virtual void RunMessageLoop() = 0;
  virtual void QuitMessageLoop() = 0;
  // Runs the events that are pending now and returns.
  virtual void ProcessMessages() = 0;
  // Runs the pending painting and what the filter lets through; other input stays queued.
  virtual void ProcessMessages(const TMessageFilter& filter) = 0;

  virtual void SetApplicationTitle(const std::string& title) = 0;
  virtual TScreenSize PrimaryScreenSize() = 0;
  virtual HWND DesktopWindow() = 0;
  // Stops (true) or resumes (false) painting of the window and all its children.
  virtual void SetPaintingFrozen(HWND window, bool frozen) = 0;
};

}  // namespace pelmorix
