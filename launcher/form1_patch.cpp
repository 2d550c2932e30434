// The patch run under the progress panel.
#include "launcher/form1.h"

namespace pelmorix {

void TForm1::SetProgress(int value) {
  ProgressBar1->SetPosition(value);
  ProgressBar1->Repaint();
  Panel1->Repaint();
}

// FIXME: the patch run is not built yet: no patch message, list, download or install.
void TForm1::RunPatch() {}

}  // namespace pelmorix
