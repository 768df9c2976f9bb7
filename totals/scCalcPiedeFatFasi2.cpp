// Footer engine: expenses, spreading, withholding tax and fund, totals, stamp
// duty and the amount due, with the per-due-date and per-level accessors.
#include "totals/scCalcPiedeFat.h"

bool scCalcPiedeFat::LetturaSpese()
{
    return true;
}

bool scCalcPiedeFat::RipartizioneIvaSpese()
{
    return true;
}

bool scCalcPiedeFat::CalcolaRitenuta()
{
    return true;
}

bool scCalcPiedeFat::CalcoloTotali()
{
    return true;
}

bool scCalcPiedeFat::CalcoloBolli()
{
    return true;
}

bool scCalcPiedeFat::ParteFinale()
{
    return true;
}

void scCalcPiedeFat::CalcRitAcc(double, int) {}

double scCalcPiedeFat::odSpeseScad(int) const
{
    return 0;
}

void scCalcPiedeFat::odSpeseScad(int, double) {}

int scCalcPiedeFat::oiSpeseScadNum() const
{
    return 0;
}

void scCalcPiedeFat::CalcIvSpese(int) {}

QVariant scCalcPiedeFat::odTotMerceSco(int) const
{
    return QVariant(0);
}
