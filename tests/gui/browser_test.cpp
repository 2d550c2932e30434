// The WebKitGTK browser in a real window against pages served on the loopback interface.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "platform/browser/webkit/webkit_browser.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/gtk/gtk_backend.h"
#include "tests/gui/gui_support.h"

namespace pelmorix {
namespace {

class BrowserOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/pelmorix-pages-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    pages_ = folder;
    std::ofstream(pages_ + "/index.html")
        << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Start</title></head>"
           "<body style=\"background:#00a000;margin:0\"><p>Willkommen bei Tarnovia, Grüße!</p>"
           "<iframe src=\"frame.html\"></iframe></body></html>";
    std::ofstream(pages_ + "/frame.html") << "<html><body>Rahmen</body></html>";
    std::ofstream(pages_ + "/bild.svg")
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
           "<rect width=\"10\" height=\"10\" fill=\"red\"/></svg>";
    server_ = std::make_unique<test::TChildProcess>(std::vector<std::string>{
        "python3", "-u", PELMORIX_SOURCE_DIR "/tests/support/serve_files.py", pages_});
    port_ = server_->ReadLine();
    ASSERT_FALSE(port_.empty());

    browser_->SetParent(&form_);
    browser_->SetAlign(alClient);
    form_.SetCaption("Browser");
    form_.SetBorderStyle(bsSingle);
    form_.SetPosition(poScreenCenter);
    form_.SetClientWidth(316);
    form_.SetClientHeight(214);
    browser_->OnBeforeNavigate2 = [this](TObject*, const TDispatch* disp, const std::string& url,
                                         int, const std::string&, const std::string&,
                                         const std::string&, bool&) {
      log_.push_back("before " + Frame(disp) + " " + url);
    };
    browser_->OnDownloadComplete = [this](TObject*) { log_.push_back("download"); };
    browser_->OnDocumentComplete = [this](TObject*, const TDispatch* disp, const std::string& url) {
      log_.push_back("complete " + Frame(disp) + " " + url);
      document_ = browser_->Document();
    };
    form_.ShowWindow();
  }

  void TearDown() override {
    server_.reset();
    for (const char* file : {"index.html", "frame.html", "bild.svg"})
      unlink((pages_ + "/" + file).c_str());
    rmdir(pages_.c_str());
  }

  std::string Frame(const TDispatch* disp) {
    return disp == browser_->DefaultInterface() ? "top" : "inner";
  }
  std::string Url(const std::string& file) { return "http://127.0.0.1:" + port_ + "/" + file; }
  bool LoadAndWait(const std::string& url) {
    log_.clear();
    document_.reset();
    browser_->Navigate(url);
    return test::WaitFor([&] { return !log_.empty() && log_.back() == "complete top " + url; },
                         [&] { app_.ProcessMessages(); }, 120);
  }

  int argc_ = 1;
  char name_[17] = "gui_browser_test";
  char* args_[2] = {name_, nullptr};
  char** argv_ = args_;
  TGtkBackend ui_{argc_, argv_};
  TApplication app_{ui_, "Browser"};
  TForm form_{app_, "Form1"};
  TWebBrowser* browser_ = form_.CreateComponent<TWebBrowser>("wb");
  TWebKitBrowser engine_{ui_, *browser_};
  std::string pages_, port_;
  std::unique_ptr<test::TChildProcess> server_;
  std::vector<std::string> log_;
  std::shared_ptr<const THTMLDocument> document_;
};

TEST_F(BrowserOnScreen, TopLevelPageRaisesItsEventsAndItsMarkupIsReadBack) {
  const std::string url = Url("index.html");
  ASSERT_TRUE(LoadAndWait(url)) << ::testing::PrintToString(log_);
  // The inner frame's load is not reported: only the top-level page's three events.
  EXPECT_EQ((std::vector<std::string>{"before top " + url, "download", "complete top " + url}),
            log_);
  ASSERT_NE(nullptr, document_);
  const THTMLElement* body = document_->body();
  ASSERT_NE(nullptr, body);
  EXPECT_EQ("BODY", body->tagName());
  const THTMLElement* root = body;
  while (root->parentElement()) root = root->parentElement();
  EXPECT_EQ("HTML", root->tagName());
  EXPECT_EQ(0u, root->outerHTML().rfind("<html", 0));
  EXPECT_NE(std::string::npos,
            root->outerHTML().find(Utf8ToCp1252("Willkommen bei Tarnovia, Grüße!")));
  EXPECT_NE(std::string::npos, root->outerHTML().find("<title>Start</title>"));

  // The page fills the window: its background is on screen in the client area.
  GtkWidget* window = ui_.WidgetOf(form_);
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window), &x, &y);
  EXPECT_TRUE(test::WaitFor(
      [&] {
        const test::TScreenshot shot = test::TakeScreenshot();
        return test::Near(0x00A000, shot.Pixel(x + 300, y + 200)) &&
               test::Near(0x00A000, shot.Pixel(x + 2, y + 205));
      },
      [&] { app_.ProcessMessages(); }, 30));
}

TEST_F(BrowserOnScreen, DocumentWithoutBodyGivesNoBody) {
  ASSERT_TRUE(LoadAndWait(Url("bild.svg"))) << ::testing::PrintToString(log_);
  ASSERT_NE(nullptr, document_);
  EXPECT_EQ(nullptr, document_->body());
}

TEST_F(BrowserOnScreen, ThePaintingFreezeHoldsAndReleases) {
  ASSERT_TRUE(LoadAndWait(Url("index.html")));
  const HWND handle = form_.Handle();
  EXPECT_TRUE(app_.LockWindowUpdate(handle));
  EXPECT_EQ(handle, app_.LockedWindow());
  // The page loads on while painting is frozen, and the window paints again once released.
  ASSERT_TRUE(LoadAndWait(Url("frame.html")));
  EXPECT_TRUE(app_.LockWindowUpdate(0));
  GtkWidget* window = ui_.WidgetOf(form_);
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window), &x, &y);
  EXPECT_TRUE(
      test::WaitFor([&] { return test::TakeScreenshot().Pixel(x + 300, y + 200) == 0xFFFFFFu; },
                    [&] { app_.ProcessMessages(); }, 30));
}

}  // namespace
}  // namespace pelmorix
