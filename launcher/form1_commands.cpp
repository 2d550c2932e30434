// The click handlers of the nine button slots: each runs the command of its slot's row.
#include "launcher/form1.h"

namespace pelmorix {

// FIXME: each handler calls RunCommand with its slot number once the commands exist.
void TForm1::BitBtn1Click(TObject*) {}
void TForm1::BitBtn2Click(TObject*) {}
void TForm1::BitBtn3Click(TObject*) {}
void TForm1::BitBtn4Click(TObject*) {}
void TForm1::BitBtn5Click(TObject*) {}
void TForm1::BitBtn7Click(TObject*) {}
void TForm1::BitBtn9Click(TObject*) {}
void TForm1::BitBtn10Click(TObject*) {}
void TForm1::BitBtn11Click(TObject*) {}

}  // namespace pelmorix
