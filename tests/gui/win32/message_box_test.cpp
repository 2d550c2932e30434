// The system's message boxes as the launcher uses them: the caption, OK and Yes/No with their
// answers, and the error icon of the default error report.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/win32/win32_backend.h"
#include "tests/gui/win32/desktop_support.h"
#include "tests/support/message_box_answerer.h"

namespace pelmorix {
namespace {

TEST(Win32MessageBox, AnswersAsPressedWithTheTitleAsCaptionAndTheErrorIcon) {
  TWin32Backend ui;
  TApplication app(ui, "Pelmorix Titel");
  TForm form(app, "Form1");
  form.SetBounds(0, 0, 200, 100);
  form.ShowWindow();

  {
    test::TBoxAnswerer answerer("Pelmorix Titel", IDYES);
    EXPECT_EQ(IDYES, app.MessageBox("Jetzt aktualisieren?", app.Title(), MB_YESNO));
    EXPECT_TRUE(answerer.Result().Found) << answerer.Result().Seen;
    EXPECT_EQ("Jetzt aktualisieren?", answerer.Result().Text);
  }
  {
    test::TBoxAnswerer answerer("Pelmorix Titel", IDNO);
    EXPECT_EQ(IDNO, app.MessageBox("Jetzt aktualisieren?", app.Title(), MB_YESNO));
    EXPECT_TRUE(answerer.Result().Found) << answerer.Result().Seen;
  }
  {
    test::TBoxAnswerer answerer("Pelmorix Titel", IDOK);
    app.ShowMessage("Fertig");
    EXPECT_TRUE(answerer.Result().Found) << answerer.Result().Seen;
    EXPECT_EQ("Fertig", answerer.Result().Text);
    EXPECT_FALSE(answerer.Result().HasIcon);
  }
  {
    // An exception that leaves an event handler ends in the error report, with its icon.
    test::TBoxAnswerer answerer("Pelmorix Titel", IDOK);
    app.DispatchEvent([] { throw std::runtime_error("Kein Server"); });
    EXPECT_TRUE(answerer.Result().Found) << answerer.Result().Seen;
    EXPECT_EQ("Kein Server.", answerer.Result().Text);
    EXPECT_TRUE(answerer.Result().HasIcon);
  }
}

}  // namespace
}  // namespace pelmorix
