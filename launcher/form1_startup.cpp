// The window's start-up handlers and its two small buttons.
#include "launcher/form1.h"

namespace pelmorix {

// FIXME: RunStartup (server list, command-line decision, StartLauncher) is not built yet.
void TForm1::FormShow(TObject*) {}

// FIXME: runs RunStartup, like FormShow, once the start-up exists.
void TForm1::Timer1Timer(TObject*) {}

// FIXME: sets CancelRequested and disables Button1 once the patch run's state exists.
void TForm1::Button1Click(TObject*) {}

// FIXME: starts Helper1.exe through the shell once the shell layer exists.
void TForm1::Button2Click(TObject*) {}

}  // namespace pelmorix
