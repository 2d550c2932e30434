#include "platform/browser/scripted_browser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exception.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_backend.h"

namespace pelmorix {
namespace {

// A browser on a form, with every event written into a log.
struct TBrowserRig {
  TBrowserRig() {
    browser->SetParent(&form);
    browser->OnBeforeNavigate2 = [this](TObject* sender, const TDispatch* disp,
                                        const std::string& url, int, const std::string&,
                                        const std::string&, const std::string&, bool& cancel) {
      EXPECT_EQ(browser, sender);
      log.push_back("before " + Frame(disp) + " " + url);
      cancel = cancel_next;
    };
    browser->OnDownloadComplete = [this](TObject*) { log.push_back("download"); };
    browser->OnDocumentComplete = [this](TObject*, const TDispatch* disp, const std::string& url) {
      log.push_back("complete " + Frame(disp) + " " + url);
    };
  }
  std::string Frame(const TDispatch* disp) {
    return disp == browser->DefaultInterface() ? "top" : "inner";
  }

  THeadlessBackend backend;
  TApplication app{backend, "Tarnovia Start"};
  TForm form{app, "Form1"};
  TWebBrowser* browser = form.CreateComponent<TWebBrowser>("wb");
  TScriptedBrowser engine{*browser};
  std::vector<std::string> log;
  bool cancel_next = false;
};

TEST(ScriptedBrowser, TopLevelLoadRaisesTheEventsInOrderWithTheDocumentInPlace) {
  TBrowserRig rig;
  rig.browser->Navigate("http://127.0.0.1/index.php?action=getpage&param2=2");
  rig.browser->Refresh();
  EXPECT_EQ(std::vector<std::string>{"http://127.0.0.1/index.php?action=getpage&param2=2"},
            rig.engine.Navigations);
  EXPECT_EQ(1, rig.engine.Refreshes);
  EXPECT_EQ(nullptr, rig.browser->Document());

  std::string markup_at_completion;
  rig.browser->OnDocumentComplete = [&](TObject*, const TDispatch*, const std::string&) {
    const THTMLElement* element = rig.browser->Document()->body();
    ASSERT_NE(nullptr, element);
    while (element->parentElement()) element = element->parentElement();
    markup_at_completion = element->outerHTML();
  };
  const std::string page = "<html><head></head><body>id=101 [3|20|150|3]</body></html>";
  EXPECT_TRUE(rig.engine.LoadPage("http://127.0.0.1/p", page));
  EXPECT_EQ(page, markup_at_completion);
  EXPECT_EQ((std::vector<std::string>{"before top http://127.0.0.1/p", "download"}), rig.log);
  const THTMLElement* body = rig.browser->Document()->body();
  EXPECT_EQ("<body>id=101 [3|20|150|3]</body>", body->outerHTML());
  EXPECT_EQ("HTML", body->parentElement()->tagName());
  EXPECT_EQ(nullptr, body->parentElement()->parentElement());
}

TEST(ScriptedBrowser, InnerFramesHaveTheirOwnBrowserObjectAndKeepTheTopLevelDocument) {
  TBrowserRig rig;
  rig.engine.LoadPage("http://127.0.0.1/top", "<html><body>oben</body></html>");
  rig.log.clear();
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame");
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame2", 1);
  EXPECT_EQ((std::vector<std::string>{"before inner http://127.0.0.1/frame", "download",
                                      "complete inner http://127.0.0.1/frame",
                                      "before inner http://127.0.0.1/frame2", "download",
                                      "complete inner http://127.0.0.1/frame2"}),
            rig.log);
  EXPECT_NE(rig.engine.InnerFrame(0), rig.engine.InnerFrame(1));
  EXPECT_EQ("<body>oben</body>", rig.browser->Document()->body()->outerHTML());
}

// An inner frame's completion asks for a Refresh while the page is still loading: the reload
// follows the page's own DocumentComplete instead of replacing the open load.
TEST(ScriptedBrowser, ARefreshDuringATopLevelNavigationWaitsForItsDocumentComplete) {
  TBrowserRig rig;
  std::vector<int> refreshesAtCompletion;
  rig.browser->OnDocumentComplete = [&](TObject*, const TDispatch* disp, const std::string&) {
    if (disp != rig.browser->DefaultInterface()) {
      rig.browser->Refresh();
    } else {
      refreshesAtCompletion.push_back(rig.engine.Refreshes);
    }
  };
  ASSERT_FALSE(rig.engine.BeforeNavigate2(rig.engine.TopLevel(), "http://127.0.0.1/p"));
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame");
  rig.browser->Refresh();  // held ones make one reload
  EXPECT_EQ(0, rig.engine.Refreshes) << "the reload overtook the open navigation";
  rig.engine.DocumentComplete(rig.engine.TopLevel(), "http://127.0.0.1/p");
  EXPECT_EQ(std::vector<int>{0}, refreshesAtCompletion);
  EXPECT_EQ(1, rig.engine.Refreshes) << "the held refresh did not follow the completion";
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame");
  EXPECT_EQ(2, rig.engine.Refreshes) << "no navigation open: the refresh runs at once";

  // A new page asked for drops the held refresh; a cancelled navigation holds nothing.
  rig.engine.BeforeNavigate2(rig.engine.TopLevel(), "http://127.0.0.1/p");
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame");
  rig.browser->Navigate("http://127.0.0.1/q");
  rig.engine.DocumentComplete(rig.engine.TopLevel(), "http://127.0.0.1/p");
  EXPECT_EQ(2, rig.engine.Refreshes);
  rig.cancel_next = true;
  rig.engine.BeforeNavigate2(rig.engine.TopLevel(), "http://127.0.0.1/r");
  rig.cancel_next = false;
  rig.engine.LoadInnerFrame("http://127.0.0.1/frame");
  EXPECT_EQ(3, rig.engine.Refreshes);
}

TEST(ScriptedBrowser, CancelledNavigationLoadsNothing) {
  TBrowserRig rig;
  rig.cancel_next = true;
  EXPECT_FALSE(rig.engine.LoadPage("http://127.0.0.1/x", "<html><body>x</body></html>"));
  EXPECT_EQ(std::vector<std::string>{"before top http://127.0.0.1/x"}, rig.log);
  EXPECT_EQ(nullptr, rig.browser->Document());
}

TEST(ScriptedBrowser, DocumentsWithoutBodyAndDocumentsThatCannotBeRead) {
  TBrowserRig rig;
  rig.engine.LoadPage("http://127.0.0.1/bild.svg", std::make_shared<THTMLDocument>());
  ASSERT_NE(nullptr, rig.browser->Document());
  EXPECT_EQ(nullptr, rig.browser->Document()->body());
  rig.engine.FailDocumentRead = true;
  EXPECT_THROW(rig.browser->Document(), Exception);
}

TEST(ScriptedBrowser, HandlerFailuresReachTheDefaultErrorReport) {
  TBrowserRig rig;
  rig.browser->OnDocumentComplete = [](TObject*, const TDispatch*, const std::string&) {
    throw Exception("Seite kaputt");
  };
  rig.engine.LoadPage("http://127.0.0.1/", "<html><body></body></html>");
  ASSERT_EQ(1u, rig.backend.Boxes.Boxes.size());
  EXPECT_EQ("Seite kaputt.", rig.backend.Boxes.Boxes[0].text);
  EXPECT_EQ(MB_OK | MB_ICONERROR, rig.backend.Boxes.Boxes[0].flags);
}

TEST(ScriptedBrowser, ABrowserWithoutEngineCannotNavigate) {
  TWebBrowser browser("wb");
  EXPECT_THROW(browser.Navigate("http://127.0.0.1/"), Exception);
  EXPECT_EQ(nullptr, browser.Document());
  {
    TScriptedBrowser engine(browser);
    EXPECT_EQ(&engine, browser.Backend());
  }
  EXPECT_EQ(nullptr, browser.Backend());
}

}  // namespace
}  // namespace pelmorix
