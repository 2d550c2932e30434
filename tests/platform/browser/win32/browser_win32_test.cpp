// The platform's browser control on a real form under wine.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/browser/win32/win32_browser.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/win32/win32_backend.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

struct TRaised {
  std::string Event;
  const TDispatch* Frame = nullptr;
  std::string URL;
};

class Win32Browser : public ::testing::Test {
 protected:
  Win32Browser() : app_(ui_, "Browser"), form_(app_, "Form1") {
    form_.SetBorderStyle(bsSingle);
    form_.SetClientWidth(316);
    form_.SetClientHeight(214);
    wb_ = form_.CreateComponent<TWebBrowser>("wb");
    wb_->SetParent(&form_);
    wb_->SetAlign(alClient);
    wb_->OnBeforeNavigate2 = [this](TObject*, const TDispatch* frame, const std::string& url, int,
                                    const std::string&, const std::string&, const std::string&,
                                    bool& cancel) {
      raised_.push_back({"BeforeNavigate2", frame, url});
      cancel = cancel_;
    };
    wb_->OnDocumentComplete = [this](TObject*, const TDispatch* frame, const std::string& url) {
      raised_.push_back({"DocumentComplete", frame, url});
    };
    wb_->OnDownloadComplete = [this](TObject*) {
      raised_.push_back({"DownloadComplete", nullptr, ""});
    };
  }

  bool PumpUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
      app_.ProcessMessages();
      if (done()) return true;
      ::Sleep(10);
    }
    return done();
  }

  TWin32Backend ui_;
  TApplication app_;
  TForm form_;
  TWebBrowser* wb_ = nullptr;
  std::vector<TRaised> raised_;
  bool cancel_ = false;
};

// A reply the server gives a navigation: a page with a page directive in it.
constexpr char kPage[] = "<html><head><title>Start</title></head><body><p>id=101</p></body></html>";

std::string PageReply() {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
         std::to_string(sizeof kPage - 1) + "\r\nConnection: close\r\n\r\n" + kPage;
}

SIZE ClientSize(::HWND window) {
  RECT area{};
  ::GetClientRect(window, &area);
  return {area.right, area.bottom};
}

TEST_F(Win32Browser, TheControlSitsInPlaceInTheControlsWindowAndFollowsItsSize) {
  TWin32Browser browser(ui_, *wb_);
  ASSERT_TRUE(browser.Available());
  EXPECT_EQ(nullptr, browser.ControlWindow());  // no window to sit in yet
  form_.ShowWindow();
  PumpUntil([] { return false; }, 0.3);

  ::HWND host = ui_.WindowOf(*wb_);
  ::HWND control = browser.ControlWindow();
  ASSERT_NE(nullptr, control);
  EXPECT_TRUE(::IsChild(host, control));
  EXPECT_EQ(316, ClientSize(control).cx);
  EXPECT_EQ(214, ClientSize(control).cy);
  form_.SetClientWidth(400);
  form_.SetClientHeight(300);
  PumpUntil([&] { return ClientSize(control).cx == 400; }, 2);
  EXPECT_EQ(400, ClientSize(control).cx);
  EXPECT_EQ(300, ClientSize(control).cy);
}

TEST_F(Win32Browser, ANavigationAskedBeforeTheWindowExistsIsMadeWithTopLevelEvents) {
  TScriptedServer server({TConnectionScript().ReadRequest().Send(PageReply())});
  TWin32Browser browser(ui_, *wb_);
  // A Windows-1252 letter goes to the control and comes back in the event unchanged.
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) +
                          "/index.php?action=getpage&v101=1.4&name=K\xE4se";
  browser.Navigate(url);
  form_.ShowWindow();
  ASSERT_TRUE(PumpUntil([&] { return raised_.size() >= 2; }, 10));

  EXPECT_EQ("BeforeNavigate2", raised_[0].Event);
  EXPECT_EQ(wb_->DefaultInterface(), raised_[0].Frame);
  EXPECT_EQ(url, raised_[0].URL);
  EXPECT_EQ("DownloadComplete", raised_[1].Event);
  ASSERT_TRUE(server.WaitForFinished(1));
  EXPECT_EQ(0u, server.Received(0).rfind("GET /index.php?action=getpage&v101=1.4&name=K", 0))
      << server.Received(0);
}

TEST_F(Win32Browser, ACancelInBeforeNavigate2KeepsTheRequestFromTheServer) {
  TScriptedServer server({TConnectionScript().ReadRequest().Send(PageReply())});
  TWin32Browser browser(ui_, *wb_);
  form_.ShowWindow();
  cancel_ = true;
  browser.Navigate("http://127.0.0.1:" + std::to_string(server.Port()) + "/cancelled");
  ASSERT_TRUE(PumpUntil([&] { return !raised_.empty(); }, 10));
  EXPECT_EQ("BeforeNavigate2", raised_[0].Event);
  // An uncancelled navigation reaches the server well within this time (see the test above).
  PumpUntil([] { return false; }, 2);
  EXPECT_EQ(0u, server.AcceptedCount());
}

TEST_F(Win32Browser, TheDocumentIsTheChainFromTheBodyToTheRoot) {
  // The document comes from the system's HTML engine; wine here runs without one.
  const HMODULE engine = ::LoadLibraryA("mshtml.dll");
  if (engine == nullptr) GTEST_SKIP() << "no HTML engine (mshtml.dll) to make a document";
  ::FreeLibrary(engine);
  TScriptedServer server({TConnectionScript().ReadRequest().Send(PageReply())});
  TWin32Browser browser(ui_, *wb_);
  form_.ShowWindow();
  EXPECT_EQ(nullptr, browser.Document());  // nothing loaded
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/start";
  browser.Navigate(url);
  const auto completed = [&] {
    for (const TRaised& raised : raised_)
      if (raised.Event == "DocumentComplete") return true;
    return false;
  };
  if (!PumpUntil(completed, 10)) {
    EXPECT_EQ(nullptr, browser.Document());
    GTEST_SKIP() << "wine here has no browser engine: no document arrived within 10 s";
  }
  const TRaised& complete = raised_.back();
  EXPECT_EQ(wb_->DefaultInterface(), complete.Frame);
  EXPECT_EQ(url, complete.URL);
  std::shared_ptr<const THTMLDocument> document = browser.Document();
  ASSERT_NE(nullptr, document);
  const THTMLElement* body = document->body();
  ASSERT_NE(nullptr, body);
  EXPECT_EQ("BODY", body->tagName());
  ASSERT_NE(nullptr, body->parentElement());
  const THTMLElement* root = body->parentElement();
  EXPECT_EQ("HTML", root->tagName());
  EXPECT_EQ(nullptr, root->parentElement());
  EXPECT_NE(std::string::npos, root->outerHTML().find("<p>id=101</p>")) << root->outerHTML();
}

TEST_F(Win32Browser, KeysInsideThePageAreThePagesNotTheForms) {
  auto* button = form_.CreateComponent<TButton>("Button1");
  button->SetBounds(10, 10, 80, 24);
  button->SetDefault(true);
  button->SetParent(&form_);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  TWin32Browser browser(ui_, *wb_);
  form_.ShowWindow();
  PumpUntil([] { return false; }, 0.3);
  ::HWND control = browser.ControlWindow();
  ASSERT_NE(nullptr, control);

  // Enter in a page (a text area, a form) is the page's: it must not press the form's default
  // button, as the form's own dialog keys would.
  ::PostMessageA(control, WM_KEYDOWN, VK_RETURN, 1);
  ::PostMessageA(control, WM_KEYUP, VK_RETURN, 0xC0000001);
  PumpUntil([] { return false; }, 0.5);
  EXPECT_EQ(0, clicks);
  // The same key on the form's own window does press it, so the check above can fail.
  ::PostMessageA(ui_.WindowOf(*button), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 5));
}

TEST_F(Win32Browser, WithoutTheControlTheLauncherGoesOnWithoutAPage) {
  // A thread in the multithreaded apartment cannot have OLE, so the control cannot be made.
  std::thread worker([&] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      TWin32Browser browser(ui_, *wb_);
      EXPECT_FALSE(browser.Available());
      EXPECT_EQ(&browser, wb_->Backend());
      EXPECT_NO_THROW(browser.Navigate("http://127.0.0.1:9/"));
      EXPECT_NO_THROW(browser.Refresh());
      EXPECT_EQ(nullptr, browser.Document());
    }
    EXPECT_EQ(nullptr, wb_->Backend());
    ::CoUninitialize();
  });
  worker.join();
}

}  // namespace
}  // namespace pelmorix
