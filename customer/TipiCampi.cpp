// The lookup kind behind each simple code field of the customer form.
#include "customer/TipiCampi.h"

bool TipoCampoCodice(int indice, TipoCampo &r)
{
    switch (indice) {
    case 10:
        r = {QStringLiteral("Gruppo"), {}};
        return true;
    case 1050:
    case 1180:
    case 8040:
    case 8070:
        r = {QStringLiteral("Stato"), {}};
        return true;
    case 3000:
    case 3010:
    case 3020:
    case 3030:
    case 3040:
        r = {QStringLiteral("PdcClasseAttr"), (indice - 3000) / 10 + 1};
        return true;
    case 3050:
    case 3060:
    case 3070:
    case 3080:
        r = {QStringLiteral("Ricl"), {}};
        return true;
    case 4000:
        r = {QStringLiteral("Banca"), {}};
        return true;
    case 4020:
    case 4025:
        r = {QStringLiteral("Pagamento"), {}};
        return true;
    case 4080:
        r = {QStringLiteral("Categoria"), {}, true};
        return true;
    case 4090:
        r = {QStringLiteral("Zona"), {}, true};
        return true;
    case 4100:
        r = {QStringLiteral("Moneta"), {}};
        return true;
    case 4120:
        r = {QStringLiteral("Conto"), QStringLiteral("1")};
        return true;
    case 4130:
        r = {QStringLiteral("Lingua"), {}, true};
        return true;
    case 4220:
        r = {QStringLiteral("PdcCointest"), {}};
        return true;
    case 5000:
        r = {QStringLiteral("Listino"), {}};
        return true;
    case 5020:
        r = {QStringLiteral("Iva"), {}};
        return true;
    case 5030:
        r = {QStringLiteral("Vettore"), {}, true};
        return true;
    case 5040:
        r = {QStringLiteral("Resa"), {}, true};
        return true;
    case 5050:
        r = {QStringLiteral("Spesa"), {}};
        return true;
    case 5150:
    case 5160:
        r = {QStringLiteral("Agente"), {}};
        return true;
    default:
        return false;
    }
}
