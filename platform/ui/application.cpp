#include "platform/ui/application.h"

#include "base/exception.h"
#include "platform/ui/form.h"

namespace pelmorix {

TApplication::TApplication(TUiBackend& backend, std::string title)
    : backend_(backend), title_(std::move(title)), update_lock_([this](HWND window, bool frozen) {
        backend_.SetPaintingFrozen(window, frozen);
      }) {
  backend_.MessageBoxes().SetTitle(title_);
  backend_.SetApplicationTitle(title_);
}

void TApplication::SetTitle(std::string title) {
  title_ = std::move(title);
  backend_.MessageBoxes().SetTitle(title_);
  backend_.SetApplicationTitle(title_);
}

void TApplication::Run() {
  if (!main_form_ || terminated_) return;
  main_form_->ShowWindow();
  if (!terminated_) backend_.RunMessageLoop();
}

void TApplication::Terminate() {
  terminated_ = true;
  backend_.QuitMessageLoop();
}

void TApplication::Minimize() {
  if (main_form_) backend_.MinimizeForm(*main_form_);
}

void TApplication::ProcessMessages() {
  // A handler running inside a filtered pass that asks for messages gets the filter's pass.
  if (const TMessageFilter* filter = hold_.Filter()) {
    backend_.ProcessMessages(*filter);
    return;
  }
  RunHeldEvents();
  backend_.ProcessMessages();
}

void TApplication::RunHeldEvents() {
  for (const std::function<void()>& handler : hold_.Release()) DispatchEvent(handler);
}

void TApplication::ProcessMessages(const TMessageFilter& filter) {
  hold_.WithFilter(filter, [&] { backend_.ProcessMessages(filter); });
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return backend_.MessageBoxes().MessageBox(text, caption, flags);
}

void TApplication::ShowMessage(const std::string& text) {
  backend_.MessageBoxes().ShowMessage(text);
}

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void TApplication::ShowException(const std::exception& error) {
  MessageBox(ErrorReportText(error.what()), title_, MB_OK | MB_ICONERROR);
}

void TApplication::DispatchEvent(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    // Nothing may unwind through the toolkit's C frames; report it like any other failure.
    ShowException(Exception("Unknown exception"));
  }
}

void TApplication::DispatchEvent(const TEventSource& source, const std::function<void()>& handler) {
  if (hold_.Holds(source, handler)) return;
  // What a filter kept back came first.
  if (!hold_.Filtering()) RunHeldEvents();
  DispatchEvent(handler);
}

void TApplication::FormCreated(TForm& form) {
  if (!main_form_) main_form_ = &form;
}

}  // namespace pelmorix
