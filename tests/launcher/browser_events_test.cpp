// The start page address and the painting freeze around the browser's loads.
#include <gtest/gtest.h>

#include "tests/launcher/launcher_rig.h"

namespace pelmorix {
namespace {

TEST(StartPage, AddressCarriesEveryInstallationUnencoded) {
  TLauncherRig rig(std::vector<std::string>{});
  rig.AddInstallation(101, {{"version", "1.4"}});
  rig.AddInstallation(120, {{"version", "2.0 &x"}});
  rig.Start();
  rig.Show();
  ASSERT_EQ(rig.Browser->Navigations.size(), 1u);
  EXPECT_EQ(rig.Browser->Navigations[0],
            rig.State().ServerBase +
                "index.php?action=getpage&param2=2&v101=1.4&v120=2.0 &x&screenwidth=1280"
                "&screenheight=1024&id=101&launcherv=&affid=");
}

TEST(BrowserEvents, TopLevelLoadFreezesUntilItsDocumentCompletes) {
  TLauncherRig rig;
  rig.Server.Put("buttons.txt", ButtonRows("0|600|400|0||Start|||"));
  rig.Start();
  rig.Show();
  TScriptedBrowser& browser = *rig.Browser;
  browser.SetDocument(THTMLDocument::FromMarkup("<html><body>[3|1|1|3||A||1]</body></html>",
                                                "<body>[3|1|1|3||A||1]</body>"));
  browser.BeforeNavigate2(browser.TopLevel(), "http://x/");
  EXPECT_EQ(rig.Ui.FrozenWindow, rig.Form->Handle());
  // An inner frame applies the top-level document's directives again, freeze kept.
  browser.LoadInnerFrame("http://x/frame");
  EXPECT_TRUE(rig.Form->BitBtn3->Visible());
  EXPECT_EQ(rig.Ui.FrozenWindow, rig.Form->Handle());
  browser.DocumentComplete(browser.TopLevel(), "http://x/");
  EXPECT_EQ(rig.Ui.FrozenWindow, 0u);
}

TEST(BrowserEvents, UnreadableOrBodilessDocumentsApplyNothing) {
  TLauncherRig rig;
  rig.Server.Put("buttons.txt", ButtonRows("0|600|400|0||Start|||"));
  rig.Start();
  rig.Show();
  TScriptedBrowser& browser = *rig.Browser;
  rig.LoadPage("<html><body>[3|1|1|3||A||1]</body></html>");
  ASSERT_TRUE(rig.Form->BitBtn3->Visible());

  browser.BeforeNavigate2(browser.TopLevel(), "http://x/picture.svg");
  browser.SetDocument(std::make_shared<THTMLDocument>());
  browser.DocumentComplete(browser.TopLevel(), "http://x/picture.svg");
  EXPECT_TRUE(rig.Form->BitBtn3->Visible());  // the old layout stays
  EXPECT_NE(rig.Ui.FrozenWindow, 0u);
  browser.FailDocumentRead = true;
  browser.DocumentComplete(browser.TopLevel(), "http://x/");
  EXPECT_NE(rig.Ui.FrozenWindow, 0u);
  EXPECT_TRUE(rig.Boxes().empty());
}

}  // namespace
}  // namespace pelmorix
