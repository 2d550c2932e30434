// How the Win32 backend mirrors forms and their controls onto windows and keeps them in step.
#include <algorithm>
#include <vector>

#include "base/exception.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_graphics.h"
#include "platform/ui/win32/win32_window_classes.h"

namespace pelmorix {

namespace {

DWORD FormStyle(const TForm& form) {
  if (form.BorderStyle() == bsNone) return WS_POPUP | WS_CLIPCHILDREN;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  const TBorderIcons icons = form.BorderIcons();
  const bool sizeable = form.BorderStyle() == bsSizeable;
  if (icons & biSystemMenu) style |= WS_SYSMENU;
  if (icons & biMinimize) style |= WS_MINIMIZEBOX;
  if ((icons & biMaximize) && sizeable) style |= WS_MAXIMIZEBOX;
  if (sizeable) style |= WS_THICKFRAME;
  return style;
}

// The frame's share of the outer size for the style.
SIZE FrameSize(DWORD style) {
  RECT area{0, 0, 0, 0};
  ::AdjustWindowRectEx(&area, style, FALSE, 0);
  return {area.right - area.left, area.bottom - area.top};
}

DWORD LabelStyle(const TLabel& label) {
  const DWORD align = label.Alignment() == taCenter         ? SS_CENTER
                      : label.Alignment() == taRightJustify ? SS_RIGHT
                                                            : SS_LEFT;
  // A label shows its text as it is; "&" marks no mnemonic there.
  return align | SS_NOPREFIX;
}

void SetStyleBits(::HWND window, DWORD mask, DWORD bits) {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE));
  if ((style & mask) != bits) ::SetWindowLongPtrA(window, GWL_STYLE, (style & ~mask) | bits);
}

}  // namespace

::HWND TWin32Backend::WindowOf(const TComponent& component) const {
  TPeer* peer = PeerOf(component);
  return peer ? peer->window : nullptr;
}

void TWin32Backend::WhenWindowReady(const TControl& control, std::function<void(::HWND)> ready) {
  window_ready_.erase(&control);
  if (!ready) return;
  if (::HWND window = WindowOf(control)) {
    ready(window);
    return;
  }
  window_ready_[&control] = std::move(ready);
}

TWin32Backend::TPeer* TWin32Backend::PeerOf(const TComponent& component) const {
  auto found = peers_.find(&component);
  return found == peers_.end() ? nullptr : found->second.get();
}

TWin32Backend::TPeer* TWin32Backend::PeerOfWindow(::HWND window) const {
  auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : found->second;
}

void TWin32Backend::ShowForm(TForm& form) {
  TPeer& peer = Mirror(form);
  form.Application().DispatchEvent([&] { form.DoShow(); });
  // Closed from OnShow: the window never appears.
  if (!form.Visible()) return;
  SyncForm(peer);
  int left = form.Left(), top = form.Top();
  if (form.Position() == poScreenCenter) {
    const TScreenSize screen = PrimaryScreenSize();
    left = (screen.Width - form.Width()) / 2;
    top = (screen.Height - form.Height()) / 2;
  }
  ::SetWindowPos(peer.window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(peer.window, SW_SHOW);
  ::UpdateWindow(peer.window);
  if (form.Application().MainForm() == &form) message_boxes_.SetParent(peer.window);
}

void TWin32Backend::HideForm(TForm& form) {
  if (TPeer* peer = PeerOf(form)) ::ShowWindow(peer->window, SW_HIDE);
}

TWin32Backend::TPeer& TWin32Backend::Mirror(TForm& form) {
  if (TPeer* existing = PeerOf(form)) return *existing;
  auto owned = std::make_unique<TPeer>();
  TPeer& peer = *owned;
  peer.backend = this;
  peer.component = &form;
  peer.form = &form;
  const DWORD style = FormStyle(form);
  const SIZE frame = FrameSize(style);
  form.SetFrameSize(frame.cx, frame.cy);
  peer.window = ::CreateWindowExA(0, kFormClass, form.Caption().c_str(), style, form.Left(),
                                  form.Top(), std::max(form.Width(), 1), std::max(form.Height(), 1),
                                  nullptr, nullptr, ::GetModuleHandleA(nullptr), &peer);
  if (!peer.window) throw Exception("Cannot create the window " + form.Name());
  windows_[peer.window] = &peer;
  peers_[&form] = std::move(owned);
  form.SetObserver(this);

  MirrorChildren(form, peer);
  for (const auto& component : form.Components())
    if (auto* timer = dynamic_cast<TTimer*>(component.get())) MirrorTimer(*timer, form);
  SyncForm(peer);
  return peer;
}

void TWin32Backend::MirrorChildren(TWinControl& parent, TPeer& parent_peer) {
  for (TControl* child : parent.Controls()) {
    TPeer* peer = PeerOf(*child);
    if (!peer) peer = &MirrorControl(*child, parent_peer);
    if (auto* container = dynamic_cast<TWinControl*>(child)) MirrorChildren(*container, *peer);
  }
  // The client-aligned control (the browser) lies beneath the others. A new window joins its
  // siblings at the bottom, so this is done again once every sibling has its window.
  for (TControl* child : parent.Controls())
    if (child->Align() == alClient)
      ::SetWindowPos(PeerOf(*child)->window, win32::kBottomOfOrder, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWin32Backend::TPeer& TWin32Backend::MirrorControl(TControl& control, TPeer& parent_peer) {
  auto owned = std::make_unique<TPeer>();
  TPeer& peer = *owned;
  peer.backend = this;
  peer.component = &control;
  peer.form = parent_peer.form;
  peer.window = NewWindowFor(control, peer, parent_peer.window);
  if (!peer.window) throw Exception("Cannot create the window " + control.Name());
  windows_[peer.window] = &peer;
  peers_[&control] = std::move(owned);
  control.SetObserver(this);
  SyncControl(peer);
  auto waiting = window_ready_.find(&control);
  if (waiting != window_ready_.end()) {
    const std::function<void(::HWND)> ready = std::move(waiting->second);
    window_ready_.erase(waiting);
    ready(peer.window);
  }
  return peer;
}

::HWND TWin32Backend::NewWindowFor(TControl& control, TPeer& peer, ::HWND parent) {
  const char* window_class = kFaceClass;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD extended_style = 0;
  if (dynamic_cast<TBitBtn*>(&control)) {
    window_class = "BUTTON";
    style |= BS_OWNERDRAW | WS_TABSTOP;
  } else if (dynamic_cast<TButton*>(&control)) {
    window_class = "BUTTON";
    style |= BS_PUSHBUTTON | WS_TABSTOP;
  } else if (auto* label = dynamic_cast<TLabel*>(&control)) {
    window_class = "STATIC";
    style |= LabelStyle(*label);
  } else if (dynamic_cast<TProgressBar*>(&control)) {
    window_class = PROGRESS_CLASSA;
  } else if (dynamic_cast<TWinControl*>(&control)) {
    window_class = kPanelClass;
    style |= WS_CLIPCHILDREN;
    // Tab and mnemonics reach the controls on a panel as those on the form.
    extended_style = WS_EX_CONTROLPARENT;
  }
  // Controls are numbered from 100 on, so a dialog's IDOK and IDCANCEL name none of them.
  const auto id = static_cast<UINT_PTR>(100 + peers_.size());
  return ::CreateWindowExA(extended_style, window_class, "", style, control.Left(), control.Top(),
                           std::max(control.Width(), 0), std::max(control.Height(), 0), parent,
                           reinterpret_cast<HMENU>(id), ::GetModuleHandleA(nullptr), &peer);
}

void TWin32Backend::MirrorTimer(TTimer& timer, TForm& form) {
  auto owned = std::make_unique<TPeer>();
  owned->backend = this;
  owned->component = &timer;
  owned->form = &form;
  TPeer& peer = *owned;
  peers_[&timer] = std::move(owned);
  timer.SetObserver(this);
  SyncTimer(peer);
}

void TWin32Backend::Sync(TPeer& peer) {
  if (peer.component == peer.form)
    SyncForm(peer);
  else if (dynamic_cast<TTimer*>(peer.component))
    SyncTimer(peer);
  else
    SyncControl(peer);
}

void TWin32Backend::SyncForm(TPeer& peer) {
  TForm& form = *peer.form;
  ::SetWindowTextA(peer.window, form.Caption().c_str());
  const DWORD style = FormStyle(form);
  SetStyleBits(peer.window, WS_POPUP | WS_OVERLAPPEDWINDOW, style & ~WS_CLIPCHILDREN);
  const SIZE frame = FrameSize(style);
  // A new frame keeps the client area; the form calls back here with its new outer size.
  form.SetFrameSize(frame.cx, frame.cy);
  ::SetWindowPos(peer.window, nullptr, 0, 0, std::max(form.Width(), 1), std::max(form.Height(), 1),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ::InvalidateRect(peer.window, nullptr, TRUE);
}

void TWin32Backend::SyncControl(TPeer& peer) {
  auto& control = static_cast<TControl&>(*peer.component);
  ::HWND window = peer.window;
  ::SetWindowPos(window, nullptr, control.Left(), control.Top(), std::max(control.Width(), 0),
                 std::max(control.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
  ::EnableWindow(window, control.Enabled());
  if (!peer.font || !(peer.font_shown == control.Font())) {
    HFONT font = NewFont(control.Font());
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (peer.font) ::DeleteObject(peer.font);
    peer.font = font;
    peer.font_shown.Assign(control.Font());
  }
  if (auto* button = dynamic_cast<TButton*>(&control)) {
    // The caption with its "&" mnemonic: the system's controls and IsDialogMessage know it.
    ::SetWindowTextA(window, button->Caption().c_str());
    if (!dynamic_cast<TBitBtn*>(&control))
      ::SendMessageA(window, BM_SETSTYLE, button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                     TRUE);
  } else if (auto* label = dynamic_cast<TLabel*>(&control)) {
    SetStyleBits(window, SS_TYPEMASK | SS_NOPREFIX, LabelStyle(*label));
    ::SetWindowTextA(window, label->Caption().c_str());
  } else if (auto* bar = dynamic_cast<TProgressBar*>(&control)) {
    ::SendMessageA(window, PBM_SETRANGE32, static_cast<WPARAM>(bar->Min()),
                   static_cast<LPARAM>(bar->Max()));
    ::SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(bar->Position()), 0);
  }
  if (auto* container = dynamic_cast<TWinControl*>(&control)) MirrorChildren(*container, peer);
  ::ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
  ::InvalidateRect(window, nullptr, TRUE);
}

void TWin32Backend::SyncTimer(TPeer& peer) {
  auto& timer = static_cast<TTimer&>(*peer.component);
  ::HWND form_window = WindowOf(*peer.form);
  const auto id = reinterpret_cast<UINT_PTR>(&peer);
  if (peer.timer_running) ::KillTimer(form_window, id);
  peer.timer_running = false;
  if (timer.Enabled() && timer.Interval() > 0 && timer.OnTimer)
    peer.timer_running = ::SetTimer(form_window, id, timer.Interval(), nullptr) != 0;
}

void TWin32Backend::Changed(TComponent& component) {
  if (TPeer* peer = PeerOf(component)) {
    if (peer->component == peer->form) MirrorChildren(*peer->form, *peer);
    Sync(*peer);
  }
}

void TWin32Backend::Repaint(TControl& control) {
  if (TPeer* peer = PeerOf(control)) {
    ::InvalidateRect(peer->window, nullptr, TRUE);
    ::UpdateWindow(peer->window);
  }
}

void TWin32Backend::Destroying(TComponent& component) {
  TPeer* peer = PeerOf(component);
  if (!peer) return;
  std::vector<const TComponent*> gone{&component};
  if (peer->component == peer->form) {
    for (auto& [other, other_peer] : peers_)
      if (other_peer->form == peer->form && other != &component) gone.push_back(other);
    if (message_boxes_.Parent() == peer->window) message_boxes_.SetParent(nullptr);
  } else if (peer->window) {
    for (auto& [other, other_peer] : peers_)
      if (other_peer->window && ::IsChild(peer->window, other_peer->window)) gone.push_back(other);
  }
  // Destroying a window moves the focus, and an owner-drawn button then asks for painting:
  // the windows forget their controls first, which are (partly) gone already.
  for (const TComponent* done : gone) Detach(*peers_[done]);
  // A form's window takes its controls' windows and its timers with it.
  if (peer->window) {
    ::DestroyWindow(peer->window);
  } else if (peer->timer_running) {
    ::KillTimer(WindowOf(*peer->form), reinterpret_cast<UINT_PTR>(peer));
  }
  for (const TComponent* done : gone) Forget(*done);
}

void TWin32Backend::Detach(TPeer& peer) {
  if (!peer.window) return;
  windows_.erase(peer.window);
  if (::GetWindowLongPtrA(peer.window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(&peer))
    ::SetWindowLongPtrA(peer.window, GWLP_USERDATA, 0);
}

void TWin32Backend::Forget(const TComponent& component) {
  TPeer& peer = *peers_[&component];
  const_cast<TComponent&>(component).SetObserver(nullptr);
  if (peer.font) ::DeleteObject(peer.font);
  peers_.erase(&component);
}

}  // namespace pelmorix
