// The WebKitGTK browser in a real window against pages served on the loopback interface.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
    std::ofstream(pages_ + "/frames.html")
        << "<html><body><iframe src=\"frame.html\"></iframe><iframe src=\"outer.html\">"
           "</iframe></body></html>";
    std::ofstream(pages_ + "/outer.html")
        << "<html><body><iframe src=\"frame.html\"></iframe></body></html>";
    std::ofstream(pages_ + "/bild.svg")
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
           "<rect width=\"10\" height=\"10\" fill=\"red\"/></svg>";
    server_ = std::make_unique<test::TChildProcess>(std::vector<std::string>{
        "python3", "-u", PELMORIX_SOURCE_DIR "/tests/support/serve_files.py", pages_, "--log",
        pages_ + "/requests.log"});
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
    for (const char* file :
         {"index.html", "frame.html", "frames.html", "outer.html", "bild.svg", "requests.log"})
      unlink((pages_ + "/" + file).c_str());
    rmdir(pages_.c_str());
  }

  // "top", or "inner" and a number per distinct inner frame object, in order of appearance.
  std::string Frame(const TDispatch* disp) {
    if (disp == browser_->DefaultInterface()) return "top";
    size_t i = 0;
    while (i < inner_.size() && inner_[i] != disp) ++i;
    if (i == inner_.size()) inner_.push_back(disp);
    return "inner" + std::to_string(i + 1);
  }
  // How often the server was asked for the file.
  int Requests(const std::string& file) {
    std::ifstream log(pages_ + "/requests.log");
    int count = 0;
    for (std::string line; std::getline(log, line);)
      count += line.find("GET /" + file + " ") != std::string::npos;
    return count;
  }
  void Pump(double seconds) {
    test::WaitFor([] { return false; }, [&] { app_.ProcessMessages(); }, seconds);
  }
  std::string RootMarkup() {
    const std::shared_ptr<const THTMLDocument> document = browser_->Document();
    const THTMLElement* element = document ? document->body() : nullptr;
    while (element && element->parentElement()) element = element->parentElement();
    return element ? element->outerHTML() : "";
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
  std::vector<const TDispatch*> inner_;
  std::shared_ptr<const THTMLDocument> document_;
};

TEST_F(BrowserOnScreen, TopLevelPageRaisesItsEventsAndItsMarkupIsReadBack) {
  // The blank page that starts the web process raises nothing.
  Pump(1);
  EXPECT_TRUE(log_.empty()) << ::testing::PrintToString(log_);
  const std::string url = Url("index.html");
  ASSERT_TRUE(LoadAndWait(url)) << ::testing::PrintToString(log_);
  // The inner frame completes before the top-level document; the download may come between.
  ASSERT_EQ(4u, log_.size()) << ::testing::PrintToString(log_);
  EXPECT_EQ("before top " + url, log_[0]);
  std::vector<std::string> middle{log_[1], log_[2]};
  std::sort(middle.begin(), middle.end());
  EXPECT_EQ((std::vector<std::string>{"complete inner1 " + Url("frame.html"), "download"}), middle);
  EXPECT_EQ("complete top " + url, log_[3]);
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

TEST_F(BrowserOnScreen, EveryInnerFrameCompletesWithItsOwnObject) {
  ASSERT_TRUE(LoadAndWait(Url("frames.html"))) << ::testing::PrintToString(log_);
  std::vector<std::string> inner;
  for (const std::string& event : log_)
    if (event.rfind("complete inner", 0) == 0)
      inner.push_back(event.substr(event.find(' ', 9) + 1));
  std::sort(inner.begin(), inner.end());
  EXPECT_EQ(3u, inner_.size());
  EXPECT_EQ((std::vector<std::string>{Url("frame.html"), Url("frame.html"), Url("outer.html")}),
            inner)
      << ::testing::PrintToString(log_);
  // A navigation inside the first frame reports that frame's completion only, with the same
  // object as before, while the Document stays the top-level one.
  const std::string first = log_[1].substr(std::string("complete ").size(), 6);
  log_.clear();
  webkit_web_view_evaluate_javascript(engine_.View(),
                                      "document.querySelector('iframe').src = 'frame.html?2'", -1,
                                      nullptr, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(test::WaitFor([&] { return !log_.empty(); }, [&] { app_.ProcessMessages(); }, 60));
  Pump(0.5);
  EXPECT_EQ((std::vector<std::string>{"complete " + first + " " + Url("frame.html?2")}), log_);
  EXPECT_NE(std::string::npos, RootMarkup().find("outer.html"));
}

TEST_F(BrowserOnScreen, RefreshRaisesOnlyDownloadCompleteAndMergesUntilTheLoopRuns) {
  ASSERT_TRUE(LoadAndWait(Url("index.html")));
  std::ofstream(pages_ + "/index.html") << "<html><body>Neu geladen</body></html>";
  log_.clear();
  const int before = Requests("index.html");
  for (int i = 0; i < 3; ++i) browser_->Refresh();
  ASSERT_TRUE(test::WaitFor([&] { return RootMarkup().find("Neu geladen") != std::string::npos; },
                            [&] { app_.ProcessMessages(); }, 60));
  Pump(1);
  EXPECT_EQ((std::vector<std::string>{"download"}), log_);
  EXPECT_EQ(before + 1, Requests("index.html"));
}

TEST_F(BrowserOnScreen, RefreshFromEveryCompletionSettles) {
  // As the picture step does: every completed document asks for a Refresh, also an inner
  // frame's, which comes while the top-level navigation is still under way.
  browser_->OnDocumentComplete = [this](TObject*, const TDispatch* disp, const std::string& url) {
    log_.push_back("complete " + Frame(disp) + " " + url);
    browser_->Refresh();
  };
  const std::string url = Url("index.html");
  browser_->Navigate(url);
  ASSERT_TRUE(test::WaitFor([&] { return Requests("index.html") >= 2; },
                            [&] { app_.ProcessMessages(); }, 60))
      << ::testing::PrintToString(log_);
  Pump(2);
  const int requests = Requests("index.html");
  Pump(1);
  EXPECT_EQ(requests, Requests("index.html"));
  EXPECT_GE(2, requests);
  EXPECT_EQ(1, std::count(log_.begin(), log_.end(), "before top " + url));
  EXPECT_EQ(1, std::count(log_.begin(), log_.end(), "complete top " + url))
      << ::testing::PrintToString(log_);
  EXPECT_EQ("download", log_.back());
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
