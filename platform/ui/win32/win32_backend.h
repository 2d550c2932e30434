#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/ui/component.h"
#include "platform/ui/graphics.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/win32/win32_api.h"
#include "platform/ui/win32/win32_message_box.h"

namespace pelmorix {

class TBitBtn;
class TControl;
class TTimer;
class TWinControl;

// The Win32 desktop. A form becomes a top-level window whose client area holds a child window
// per control at the control's place: its alClient control (the browser) at the bottom of the
// order, the others above it; a panel is a parent window of its own. Bitmap buttons are drawn
// by the backend (owner-drawn), plain buttons, labels and the progress bar are the system's
// controls. A control of a kind the backend does not know (the browser) gets a plain child
// window that its own layer fills. Windows follow the control objects through the observer
// interface.
class TWin32Backend : public TUiBackend, private TComponentObserver {
 public:
  // Registers the window classes and loads the common controls.
  TWin32Backend();
  ~TWin32Backend() override;
  TWin32Backend(const TWin32Backend&) = delete;
  TWin32Backend& operator=(const TWin32Backend&) = delete;

  // The window that mirrors a component, or none before its form was mirrored.
  ::HWND WindowOf(const TComponent& component) const;
  // Runs `ready` with the control's window as soon as it exists (at once when it does already),
  // for the layer that fills a control's plain window; an empty function withdraws the wish.
  void WhenWindowReady(const TControl& control, std::function<void(::HWND)> ready);
  // Keyboard messages for the windows inside a control's window (the browser's own) go to the
  // layer that put them there, which answers whether it took the message; those it leaves are
  // dispatched without the form's dialog keys (Tab, Enter, mnemonics), which belong to the
  // form's own controls. An empty function withdraws the filter.
  void SetKeyboardFilter(const TControl& control, std::function<bool(MSG&)> filter);

  TMessageBoxHost& MessageBoxes() override { return message_boxes_; }
  void ShowForm(TForm& form) override;
  void HideForm(TForm& form) override;
  void MinimizeForm(TForm& form) override;
  HWND FormHandle(TForm& form) override;
  void RunMessageLoop() override;
  void QuitMessageLoop() override;
  void ProcessMessages() override;
  void ProcessMessages(const TMessageFilter& filter) override;
  void SetApplicationTitle(const std::string& title) override;
  TScreenSize PrimaryScreenSize() override;
  HWND DesktopWindow() override;
  void SetPaintingFrozen(HWND window, bool frozen) override;

 private:
  struct TPeer {
    TWin32Backend* backend = nullptr;
    TComponent* component = nullptr;
    ::HWND window = nullptr;  // none for a timer
    TForm* form = nullptr;
    HFONT font = nullptr;
    TFont font_shown;  // what font was made from
    bool timer_running = false;
  };

  void Changed(TComponent& component) override;
  void Repaint(TControl& control) override;
  void Destroying(TComponent& component) override;

  TPeer& Mirror(TForm& form);
  void MirrorChildren(TWinControl& parent, TPeer& parent_peer);
  TPeer& MirrorControl(TControl& control, TPeer& parent_peer);
  ::HWND NewWindowFor(TControl& control, TPeer& peer, ::HWND parent);
  void MirrorTimer(TTimer& timer, TForm& form);
  void Detach(TPeer& peer);
  void Forget(const TComponent& component);

  void Sync(TPeer& peer);
  void SyncForm(TPeer& peer);
  void SyncControl(TPeer& peer);
  void SyncTimer(TPeer& peer);

  TPeer* PeerOf(const TComponent& component) const;
  TPeer* PeerOfWindow(::HWND window) const;
  void Dispatch(MSG& message);
  // Gives a keyboard message to the filter of the control whose window holds its window;
  // false when no filter's window holds it.
  bool DispatchToFilter(MSG& message);

  static LRESULT CALLBACK WindowProcedure(::HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam);
  LRESULT HandleMessage(TPeer& peer, ::HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  ::HWND ControlOfId(const TPeer& form_peer, int id) const;
  void Command(::HWND control);
  void Elapsed(UINT_PTR timer_id);
  void Paint(TPeer& peer, ::HWND window);

  TWin32MessageBoxHost message_boxes_;
  bool quit_requested_ = false;
  std::map<const TComponent*, std::unique_ptr<TPeer>> peers_;
  std::map<::HWND, TPeer*> windows_;
  std::map<const TControl*, std::function<bool(MSG&)>> keyboard_filters_;
  std::map<const TComponent*, std::function<void(::HWND)>> window_ready_;
};

// Draws a bitmap button: face and frame, the glyph cell for its state with the cell's
// transparent colour left out, and the caption (its mnemonic underlined) beside the glyph.
void PaintBitBtn(HDC dc, const TBitBtn& button, int width, int height, bool pressed, bool focused);

}  // namespace pelmorix
