// Descriptions of the codes of each page, decoded once per page and record,
// and their clearing when the record changes.
#include "customer/ScritturaProgramma.h"
#include "customer/frmClienti.h"

#include <QLabel>

namespace
{

// Description labels of a range of field numbers.
void pulisci(ControlArray<QLabel> &lab, int da, int a)
{
    for (auto [i, l] : lab)
        if (i >= da && i <= a)
            l->clear();
}

} // namespace

void frmClienti::visDecodPagina(int piPag, bool pbMostra)
{
    if (piPag < 0 || piPag > 10)
        return;
    const int g = QualePictLin(piPag).toInt();
    if (g >= 0) {
        if (!mvPagDecod[size_t(piPag)] || pbMostra)
            visDatiDaLin(g, false);
        mvPagDecod[size_t(piPag)] = true;
        return;
    }
    if (mvPagDecod[size_t(piPag)])
        return;
    mvPagDecod[size_t(piPag)] = true;
    if (piPag == 0) {
        // The birth fields follow the stored legal status, not a user's edit.
        ScritturaProgramma p(m_inSpecchio);
        AbilDisabPersFis();
    }
}

void frmClienti::pulDecodPagPri()
{
    pulisci(Lab, 10, 80);
    pulisci(Lab, 1000, 1999);
}

void frmClienti::pulDecodClaAttr()
{
    pulisci(Lab, 3000, 3999);
}

void frmClienti::pulDecodCoge()
{
    pulisci(Lab, 4000, 4999);
}

void frmClienti::pulDecodFatturazione()
{
    pulisci(Lab, 5000, 5999);
}

void frmClienti::PulDecodProgressivi() {}

void frmClienti::pulDecodPagRapFisc()
{
    pulisci(Lab, 8000, 8999);
}

void frmClienti::DecodComune(int piIndex, bool pbdecod, int pvKeyCode)
{
    (void)piIndex, (void)pbdecod, (void)pvKeyCode;
}
