// The form as a real top-level window under wine: its client size, place, caption and frame,
// the controls on it, minimise and close, the loop and the timer, and the painting freeze.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"
#include "platform/ui/win32/win32_backend.h"
#include "tests/gui/win32/desktop_support.h"
#include "tests/support/message_box_answerer.h"

namespace pelmorix {
namespace {

::HWND Window(HWND handle) { return reinterpret_cast<::HWND>(handle); }

std::string TextOf(::HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(Win32Form, FixedClientSizeCentredCaptionAndFrameWithoutMaximise) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetCaption("Tarnovia Start");
  form.SetBorderStyle(bsSingle);
  form.SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  form.SetPosition(poScreenCenter);
  form.SetClientWidth(316);
  form.SetClientHeight(214);
  form.ShowWindow();
  test::PumpFor(app, 0.3);

  ::HWND window = Window(form.Handle());
  ASSERT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ("Tarnovia Start", TextOf(window));
  RECT client, outer;
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(316, client.right);
  EXPECT_EQ(214, client.bottom);
  // The form's size is the outer one; its client area is what was asked for.
  EXPECT_EQ(outer.right - outer.left, form.Width());
  EXPECT_EQ(outer.bottom - outer.top, form.Height());
  EXPECT_EQ(316, form.ClientWidth());
  const TScreenSize screen = app.Screen();
  EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), screen.Width);
  EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), screen.Height);
  EXPECT_NEAR((screen.Width - form.Width()) / 2, outer.left, 1);
  EXPECT_NEAR((screen.Height - form.Height()) / 2, outer.top, 1);

  const auto style = static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE));
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(reinterpret_cast<HWND>(::GetDesktopWindow()), app.GetDesktopWindow());

  // A new client size after the window is up keeps the frame around it.
  form.SetClientWidth(404);
  ::GetClientRect(window, &client);
  EXPECT_EQ(404, client.right);
  EXPECT_EQ(214, client.bottom);

  app.Minimize();
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return ::IsIconic(window) != 0; }, 10));
}

TEST(Win32Form, ControlsShowTheirPropertiesAndAClickReachesTheHandler) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetBounds(50, 50, 400, 300);
  form.SetBorderStyle(bsSingle);
  // Made first, as the browser is: it must still lie beneath the controls made after it.
  auto* backdrop = form.CreateComponent<TPanel>("Backdrop");
  backdrop->SetAlign(alClient);
  backdrop->SetParent(&form);
  auto* panel = form.CreateComponent<TPanel>("Panel1");
  panel->SetBounds(10, 150, 380, 100);
  panel->SetParent(&form);
  auto* bar = form.CreateComponent<TProgressBar>("ProgressBar1");
  bar->SetBounds(10, 10, 300, 16);
  bar->SetParent(panel);
  bar->SetRange(0, 200);
  auto* label = form.CreateComponent<TLabel>("Label1");
  label->SetBounds(10, 40, 300, 20);
  label->SetCaption("Datei 3 von 7 & mehr");
  label->Font().SetStyle(fsBold);
  label->Font().SetHeight(-15);
  label->SetParent(panel);
  auto* button = form.CreateComponent<TButton>("Button1");
  button->SetBounds(20, 20, 120, 30);
  button->SetCaption("&Abbrechen");
  button->SetParent(&form);
  auto* hidden = form.CreateComponent<TButton>("Button2");
  hidden->SetBounds(200, 20, 120, 30);
  hidden->SetVisible(false);
  hidden->SetParent(&form);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form.ShowWindow();
  bar->SetPosition(150);
  test::PumpFor(app, 0.3);

  ::HWND panel_window = ui.WindowOf(*panel);
  ::HWND bar_window = ui.WindowOf(*bar);
  ::HWND label_window = ui.WindowOf(*label);
  ::HWND button_window = ui.WindowOf(*button);
  EXPECT_EQ(panel_window, ::GetParent(bar_window));
  EXPECT_EQ(panel_window, ::GetParent(label_window));
  EXPECT_EQ(150, ::SendMessageA(bar_window, PBM_GETPOS, 0, 0));
  EXPECT_EQ(200, ::SendMessageA(bar_window, PBM_GETRANGE, FALSE, 0));
  bar->SetPosition(500);
  EXPECT_EQ(200, ::SendMessageA(bar_window, PBM_GETPOS, 0, 0));

  EXPECT_EQ("Datei 3 von 7 & mehr", TextOf(label_window));
  LOGFONTA font{};
  ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label_window, WM_GETFONT, 0, 0)), sizeof font,
               &font);
  EXPECT_EQ(-15, font.lfHeight);
  EXPECT_EQ(FW_BOLD, font.lfWeight);
  EXPECT_EQ("&Abbrechen", TextOf(button_window));
  EXPECT_FALSE(::IsWindowVisible(ui.WindowOf(*hidden)));
  label->SetCaption("Fertig");
  EXPECT_EQ("Fertig", TextOf(label_window));

  RECT place;
  ::GetWindowRect(button_window, &place);
  ::MapWindowPoints(nullptr, ui.WindowOf(form), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(20, place.left);
  EXPECT_EQ(20, place.top);
  EXPECT_EQ(120, place.right - place.left);
  EXPECT_EQ(ui.WindowOf(*backdrop), ::GetWindow(button_window, GW_HWNDLAST));

  test::MoveMouseTo(button_window, 60, 15);
  test::PressMouse();
  test::PumpFor(app, 0.2);
  EXPECT_EQ(0, clicks);
  test::ReleaseMouse();
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return clicks == 1; }, 10));
}

TEST(Win32Form, AltAndTheMnemonicOrEnterPressTheirButtons) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetBounds(50, 50, 400, 300);
  auto* panel = form.CreateComponent<TPanel>("Panel1");
  panel->SetBounds(10, 150, 380, 100);
  panel->SetParent(&form);
  auto* play = form.CreateComponent<TBitBtn>("BitBtn1");
  play->SetBounds(20, 20, 120, 30);
  play->SetCaption("&Spielen");
  play->SetParent(&form);
  auto* cancel = form.CreateComponent<TButton>("Button1");
  cancel->SetBounds(20, 20, 120, 30);
  cancel->SetCaption("&Abbrechen");
  cancel->SetDefault(true);
  cancel->SetParent(panel);
  int played = 0, cancelled = 0;
  play->OnClick = [&](TObject*) { ++played; };
  cancel->OnClick = [&](TObject*) { ++cancelled; };
  form.ShowWindow();
  ::SetForegroundWindow(ui.WindowOf(form));
  ::SetFocus(ui.WindowOf(*play));
  test::PumpFor(app, 0.3);

  test::PressKeys({VK_MENU, 'S'});
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return played == 1; }, 10));
  test::PressKeys({VK_MENU, 'A'});
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return cancelled == 1; }, 10));
  EXPECT_EQ(1, played);
  // Enter on a control that is no push button presses the default button, here on the panel.
  ::SetFocus(ui.WindowOf(*panel));
  test::PressKeys({VK_RETURN});
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return cancelled == 2; }, 10));
}

TEST(Win32Form, AFreedFormTakesItsWindowsWithIt) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  auto form = std::make_unique<TForm>(app, "Form1");
  form->SetBounds(60, 60, 300, 200);
  auto* button = form->CreateComponent<TBitBtn>("BitBtn1");
  button->SetBounds(10, 10, 100, 30);
  button->SetParent(form.get());
  form->ShowWindow();
  ::HWND window = ui.WindowOf(*form), button_window = ui.WindowOf(*button);
  ::SetFocus(button_window);
  test::PumpFor(app, 0.2);
  form.reset();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_FALSE(::IsWindow(button_window));
}

TEST(Win32Form, TimerRunsInTheLoopAndClosingTheMainFormEndsIt) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetBounds(0, 0, 200, 100);
  auto* timer = form.CreateComponent<TTimer>("Timer1");
  timer->SetInterval(30);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) {
    // The third tick asks the window to close, as its close box does.
    if (++ticks == 3) ::PostMessageA(ui.WindowOf(form), WM_CLOSE, 0, 0);
  };
  app.Run();
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(::IsWindowVisible(ui.WindowOf(form)));
  EXPECT_TRUE(app.Terminated());

  // The loop has ended without leaving a quit message behind: a box shown now waits for its
  // answer instead of closing at once.
  test::TBoxAnswerer answerer("Pelmorix", IDNO);
  EXPECT_EQ(IDNO, app.MessageBox("Weiter?", "Pelmorix", MB_YESNO));
  EXPECT_TRUE(answerer.Result().Found) << answerer.Result().Seen;

  // A disabled timer stays quiet.
  const int before = ticks;
  timer->SetEnabled(false);
  test::PumpFor(app, 0.2);
  EXPECT_EQ(before, ticks);
}

TEST(Win32Form, TheFreezeHoldsTheSystemsUpdateLockUntilReleased) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetBounds(0, 0, 200, 100);
  TForm other(app, "Form2");
  other.SetBounds(0, 0, 200, 100);
  form.ShowWindow();
  other.ShowWindow();

  ASSERT_TRUE(app.LockWindowUpdate(form.Handle()));
  EXPECT_EQ(form.Handle(), app.LockedWindow());
  // The lock is the system's: nobody else gets it while the form holds it.
  EXPECT_FALSE(::LockWindowUpdate(Window(other.Handle())));
  EXPECT_TRUE(app.LockWindowUpdate(0));
  ASSERT_TRUE(::LockWindowUpdate(Window(other.Handle())));
  ::LockWindowUpdate(nullptr);
}

TEST(Win32Form, AFilteredPassRunsTheAllowedClickAndLeavesOthersQueued) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  form.SetBounds(80, 80, 300, 120);
  auto* cancel = form.CreateComponent<TButton>("Button1");
  cancel->SetBounds(20, 20, 100, 30);
  cancel->SetParent(&form);
  auto* other = form.CreateComponent<TButton>("Button2");
  other->SetBounds(160, 20, 100, 30);
  other->SetParent(&form);
  std::vector<std::string> clicks;
  cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
  other->OnClick = [&](TObject*) { clicks.push_back("other"); };
  form.ShowWindow();
  test::PumpFor(app, 0.3);

  // The other button is clicked first; only the allowed one answers in filtered passes.
  for (TButton* button : {other, cancel}) {
    ::HWND window = ui.WindowOf(*button);
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
  }
  const TMessageFilter filter{{cancel}};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (clicks.empty() && std::chrono::steady_clock::now() < end) app.ProcessMessages(filter);
  EXPECT_EQ(clicks, std::vector<std::string>{"cancel"}) << "waited for the allowed click";
  // The next free pass runs what waited.
  EXPECT_TRUE(test::PumpUntil(
      app, [&] { return clicks.size() == 2; }, 10));
  EXPECT_EQ(clicks, (std::vector<std::string>{"cancel", "other"}));
}

}  // namespace
}  // namespace pelmorix
