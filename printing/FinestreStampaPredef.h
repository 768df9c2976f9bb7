// The print windows of the program, one of each: the list-print options
// dialog and the progress window live for the whole run; the preview is made
// for a print and forgotten when it closes. The provider installed at
// start-up hands the dialog, the progress window and an engine of their own
// to every list and grid.
#pragma once

class FrmComlinStampa;
class FrmVStampa;
class frmStampaInCorso;

FrmComlinStampa *FrmComlinStampaPredef();
frmStampaInCorso *frmStampaInCorsoPredef();
// The open preview, or a new one.
FrmVStampa *FrmVStampaPredef();
// The open preview; nullptr when there is none.
FrmVStampa *FrmVStampaAperta();
// A closing preview stops being the program's one.
void FrmVStampaRilascia(FrmVStampa *anteprima);

// Installs the provider of the lists' and grids' print windows.
void InstallaFinestreStampa();
// Removes the provider and the windows (end of the run, tests).
void ScaricaFinestreStampa();
