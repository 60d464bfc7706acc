// Temporary empty handlers of the run, spectrum plot and animation, so the window links
// until RunAnalysis.cpp, SpectrumPlot.cpp and Animation.cpp define them; delete this file
// when they land.
#include "ui/Unit1.h"

void TForm1::btn3Click() {}
void TForm1::RefreshSpectrumPlot() {}
void TForm1::PlotSpectrumAt(int, int, int, int, const QString&) {}
void TForm1::cbb5Change() {}
void TForm1::cbb7Change() {}
void TForm1::cbb2Change() {}
void TForm1::trckbr1Change() {}
void TForm1::tmr1Timer() {}
void TForm1::btn6Click() {}
void TForm1::btn7Click() {}
void TForm1::cbb3Change() {}
void TForm1::SetAnimationSpeed(int) {}
void TForm1::btn4Click() {}
void TForm1::btn5Click() {}
