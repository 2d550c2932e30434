#pragma once

#include <exception>
#include <functional>
#include <string>

#include "platform/ui/event_hold.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_filter.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/window_update_lock.h"

namespace pelmorix {

class TForm;

// The application object: its title, its main form and message loop, message boxes, the
// screen, the desktop window, the window-update lock, and the default error report for
// exceptions that leave an event handler.
class TApplication {
 public:
  TApplication(TUiBackend& backend, std::string title);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  TUiBackend& Backend() const { return backend_; }

  // The task-bar text, also the caption of ShowMessage and of the error report.
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  TForm* MainForm() const { return main_form_; }
  // Shows the main form and runs the message loop until the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Minimises the application: its main window goes to the task bar.
  void Minimize();
  // Lets the pending window messages run, then returns; events a filter kept back run first.
  void ProcessMessages();
  // Lets only painting and what the filter allows run, then returns; every other event waits
  // for the next ProcessMessages without a filter.
  void ProcessMessages(const TMessageFilter& filter);

  TMessageBoxHost& MessageBoxHost() const { return backend_.MessageBoxes(); }
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags);
  // One OK button, the title as caption.
  void ShowMessage(const std::string& text);

  // The default error report: the message (with a full stop appended when its last character
  // sorts after ".") in a box with an error icon and the title as caption.
  void ShowException(const std::exception& error);
  // Runs an event handler; an exception that leaves it goes to the default error report and
  // the application goes on. Every backend event passes through here.
  void DispatchEvent(const std::function<void()>& handler);
  // The same for an event a message filter may keep back: the handler must then own what it
  // needs, as it may run later.
  void DispatchEvent(const TEventSource& source, const std::function<void()>& handler);

  TScreenSize Screen() const { return backend_.PrimaryScreenSize(); }
  HWND GetDesktopWindow() const { return backend_.DesktopWindow(); }
  // LockWindowUpdate: takes the single window-update lock for the window, or releases it
  // when the window is 0.
  BOOL LockWindowUpdate(HWND window) { return update_lock_.Lock(window); }
  HWND LockedWindow() const { return update_lock_.Holder(); }

  // Called by every form's constructor; the first one becomes the main form.
  void FormCreated(TForm& form);

 private:
  TUiBackend& backend_;
  std::string title_;
  TForm* main_form_ = nullptr;
  bool terminated_ = false;
  void RunHeldEvents();

  TWindowUpdateLock update_lock_;
  TEventHold hold_;
};

// The text of the default error report for a message.
std::string ErrorReportText(const std::string& message);

}  // namespace pelmorix
