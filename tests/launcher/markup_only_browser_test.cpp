// The engine that loads a page's markup without showing it, against a scripted server.
#include "launcher/markup_only_browser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/headless_backend.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

std::string Reply(const std::string& page) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\n\r\n" + page;
}

TEST(MarkupOnlyBrowser, LoadsEachPageFromTheLoopAndARefreshRaisesOnlyDownloadComplete) {
  const std::string first = "<html><head></head><body><!-- [3|40|384|3||x||1] --></body></html>";
  const std::string second = "<html><body>neu</body></html>";
  TScriptedServer server(
      {TConnectionScript().ReadRequest().Send(Reply(first)).ReadRequest().Send(Reply(second))});
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/start";

  THeadlessBackend ui;
  TApplication app(ui, "Pelmorix");
  TForm form(app, "Form1");
  auto* wb = form.CreateComponent<TWebBrowser>("wb");
  wb->SetParent(&form);
  TMarkupOnlyBrowser browser(form, *wb);
  TTimer* loop = nullptr;
  for (const auto& component : form.Components())
    if (auto* timer = dynamic_cast<TTimer*>(component.get())) loop = timer;
  ASSERT_NE(nullptr, loop);
  std::vector<std::string> log;
  wb->OnBeforeNavigate2 = [&](TObject*, const TDispatch* disp, const std::string& address, int,
                              const std::string&, const std::string&, const std::string&, bool&) {
    log.push_back(std::string("before ") + (disp == wb->DefaultInterface() ? "top " : "") +
                  address);
  };
  wb->OnDownloadComplete = [&](TObject*) { log.push_back("download"); };
  wb->OnDocumentComplete = [&](TObject*, const TDispatch* disp, const std::string& address) {
    log.push_back(std::string("complete ") + (disp == wb->DefaultInterface() ? "top " : "") +
                  address);
  };

  wb->Navigate(url);
  EXPECT_TRUE(log.empty()) << "a load runs from the message loop, not inside Navigate";
  ASSERT_TRUE(loop->Enabled());
  loop->Timer();
  EXPECT_EQ((std::vector<std::string>{"before top " + url, "download", "complete top " + url}),
            log);
  ASSERT_NE(nullptr, wb->Document());
  EXPECT_EQ(first, wb->Document()->body()->parentElement()->outerHTML());

  log.clear();
  wb->Refresh();
  loop->Timer();
  EXPECT_EQ((std::vector<std::string>{"download"}), log);
  EXPECT_EQ(second, wb->Document()->body()->parentElement()->outerHTML());

  log.clear();
  const std::string nowhere = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/";
  wb->Navigate(nowhere);
  loop->Timer();
  EXPECT_EQ(
      (std::vector<std::string>{"before top " + nowhere, "download", "complete top " + nowhere}),
      log);
  EXPECT_EQ(nullptr, wb->Document());
}

}  // namespace
}  // namespace pelmorix
