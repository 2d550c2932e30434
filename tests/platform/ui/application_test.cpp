#include "platform/ui/application.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/convert.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_backend.h"

namespace pelmorix {
namespace {

TEST(ErrorReport, FullStopFollowsALastCharacterThatSortsAfterIt) {
  EXPECT_EQ("Socket Error # 10061.", ErrorReportText("Socket Error # 10061"));
  EXPECT_EQ("Update abgebrochen.", ErrorReportText("Update abgebrochen"));
  EXPECT_EQ("Schon da.", ErrorReportText("Schon da."));
  EXPECT_EQ("Achtung!", ErrorReportText("Achtung!"));
  EXPECT_EQ("a-", ErrorReportText("a-"));
  EXPECT_EQ("a/.", ErrorReportText("a/"));
  EXPECT_EQ("Wirklich?.", ErrorReportText("Wirklich?"));
  EXPECT_EQ("'' ist kein gültiger Integerwert.",
            Cp1252ToUtf8(ErrorReportText(Utf8ToCp1252("'' ist kein gültiger Integerwert"))));
  // A Windows-1252 letter above 127 sorts after "." too.
  EXPECT_EQ(Utf8ToCp1252("Größe."), ErrorReportText(Utf8ToCp1252("Größe")));
  EXPECT_EQ("", ErrorReportText(""));
}

TEST(Application, ExceptionsLeavingHandlersGoToTheErrorReportAndTheApplicationGoesOn) {
  THeadlessBackend backend;
  TApplication app(backend, "Tarnovia Start");
  bool after = false;
  app.DispatchEvent([] { StrToInt("x1"); });
  app.DispatchEvent([] { throw 42; });
  app.DispatchEvent([&] { after = true; });
  EXPECT_TRUE(after);
  ASSERT_EQ(2u, backend.Boxes.Boxes.size());
  EXPECT_EQ(Utf8ToCp1252("'x1' ist kein gültiger Integerwert."), backend.Boxes.Boxes[0].text);
  EXPECT_EQ("Tarnovia Start", backend.Boxes.Boxes[0].caption);
  EXPECT_EQ(MB_OK | MB_ICONERROR, backend.Boxes.Boxes[0].flags);

  // A new title is the caption of later reports and of ShowMessage.
  app.SetTitle("Kartenspiele");
  app.ShowMessage("Hallo");
  app.ShowException(Exception("Fehler"));
  EXPECT_EQ("Kartenspiele", backend.ApplicationTitle);
  EXPECT_EQ("Kartenspiele", backend.Boxes.Boxes[2].caption);
  EXPECT_EQ(MB_OK, backend.Boxes.Boxes[2].flags);
  EXPECT_EQ("Fehler.", backend.Boxes.Boxes[3].text);
  EXPECT_EQ("Kartenspiele", backend.Boxes.Boxes[3].caption);
}

TEST(Application, QuestionsAreAnsweredFromTheQueue) {
  THeadlessBackend backend;
  TApplication app(backend, "Pelmorix");
  backend.Boxes.Answers = {IDNO, IDYES};
  EXPECT_EQ(IDNO, app.MessageBox("Patch?", "Update", MB_YESNO));
  EXPECT_EQ(IDYES, app.MessageBox("Patch?", "Update", MB_YESNO));
  EXPECT_EQ(IDYES, app.MessageBox("Patch?", "Update", MB_YESNO));
  EXPECT_EQ(IDOK, app.MessageBox("Fertig", "Update", MB_OK));
  EXPECT_EQ(4u, backend.Boxes.Boxes.size());
}

TEST(Application, TheSingleWindowUpdateLock) {
  THeadlessBackend backend;
  TApplication app(backend, "Pelmorix");
  TForm form(app, "Form1");
  const HWND window = form.Handle();
  EXPECT_NE(0u, window);
  EXPECT_EQ(window, form.Handle());
  EXPECT_TRUE(app.LockWindowUpdate(window));
  EXPECT_EQ(window, backend.FrozenWindow);
  // Another window cannot take it while it is held, nor can the same one twice.
  EXPECT_FALSE(app.LockWindowUpdate(window + 1));
  EXPECT_FALSE(app.LockWindowUpdate(window));
  EXPECT_EQ(window, app.LockedWindow());
  EXPECT_TRUE(app.LockWindowUpdate(0));
  EXPECT_EQ(0u, backend.FrozenWindow);
  EXPECT_EQ(0u, app.LockedWindow());
  EXPECT_FALSE(app.LockWindowUpdate(0));
  EXPECT_TRUE(app.LockWindowUpdate(window + 1));
}

TEST(Application, RunShowsTheMainFormAndClosingItEndsTheLoop) {
  THeadlessBackend backend;
  TApplication app(backend, "Pelmorix");
  TForm main_form(app, "Form1");
  TForm other(app, "Form2");
  EXPECT_EQ(&main_form, app.MainForm());
  int shows = 0;
  main_form.OnShow = [&](TObject*) { ++shows; };
  app.Run();
  EXPECT_EQ(1, shows);
  EXPECT_TRUE(main_form.Visible());
  EXPECT_EQ(1, backend.LoopRuns);

  other.Close();
  EXPECT_FALSE(app.Terminated());
  main_form.Close();
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(backend.QuitRequested);
  EXPECT_FALSE(main_form.Visible());
}

TEST(Application, CloseFromOnShowKeepsTheLoopFromRunningAndOnShowErrorsAreReported) {
  THeadlessBackend backend;
  TApplication app(backend, "Pelmorix");
  TForm form(app, "Form1");
  form.OnShow = [&](TObject*) {
    form.SetClientWidth(0);
    form.Close();
  };
  app.Run();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(0, backend.LoopRuns);

  THeadlessBackend backend2;
  TApplication app2(backend2, "Pelmorix");
  TForm form2(app2, "Form1");
  form2.OnShow = [](TObject*) { throw Exception("kaputt"); };
  app2.Run();
  ASSERT_EQ(1u, backend2.Boxes.Boxes.size());
  EXPECT_EQ("kaputt.", backend2.Boxes.Boxes[0].text);
  EXPECT_EQ(1, backend2.LoopRuns);
}

TEST(Application, DesktopServices) {
  THeadlessBackend backend;
  backend.ScreenSize = {1280, 1024};
  TApplication app(backend, "Pelmorix");
  TForm form(app, "Form1");
  EXPECT_EQ(1280, app.Screen().Width);
  EXPECT_EQ(1024, app.Screen().Height);
  EXPECT_EQ(THeadlessBackend::kDesktopWindow, app.GetDesktopWindow());
  int pumped = 0;
  backend.OnProcessMessages = [&] { ++pumped; };
  app.ProcessMessages();
  app.ProcessMessages();
  EXPECT_EQ(2, pumped);
  app.Minimize();
  EXPECT_EQ(1, backend.Minimized);
}

TEST(Application, AFilteredPassHoldsOtherEventsUntilMessagesRunFreely) {
  THeadlessBackend backend;
  TApplication app(backend, "Tarnovia Start");
  TComponent cancel("Button1"), other("Button2"), browser("WebBrowser1"), timer("Timer1");
  std::vector<std::string> ran;
  const auto event = [&](TEventSource::TKind kind, const TComponent& source, std::string name) {
    app.DispatchEvent({kind, &source}, [&ran, name] { ran.push_back(name); });
  };
  backend.OnFilteredProcessMessages = [&] {
    if (backend.FilteredProcessMessagesCalls > 1) return;
    event(TEventSource::Click, other, "other click");
    event(TEventSource::Timer, timer, "timer");
    event(TEventSource::Browser, browser, "document complete");
    event(TEventSource::Close, other, "close");
    event(TEventSource::Click, cancel, "cancel");
    // A handler that lets messages run inside the pass stays under the filter.
    app.ProcessMessages();
  };
  app.ProcessMessages(TMessageFilter{{&cancel}});
  EXPECT_EQ(ran, std::vector<std::string>{"cancel"});
  EXPECT_EQ(backend.FilteredProcessMessagesCalls, 2);
  EXPECT_EQ(backend.ProcessMessagesCalls, 0);
  EXPECT_EQ(backend.LastFilter.Clicks, std::vector<const TComponent*>{&cancel});

  // Held events run in their order before the next free pass, or before the next event.
  backend.OnFilteredProcessMessages = nullptr;
  app.ProcessMessages();
  EXPECT_EQ(ran, (std::vector<std::string>{"cancel", "other click", "timer", "document complete",
                                           "close"}));
  backend.OnFilteredProcessMessages = [&] { event(TEventSource::Timer, timer, "late timer"); };
  app.ProcessMessages(TMessageFilter{{&cancel}, true});
  event(TEventSource::Click, other, "next click");
  EXPECT_EQ(ran.back(), "next click");
  EXPECT_EQ(ran[ran.size() - 2], "late timer");
}

}  // namespace
}  // namespace pelmorix
