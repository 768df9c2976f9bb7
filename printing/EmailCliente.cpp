// The customer's e-mail address for a print: the account lookup offers the
// four address columns under their captions; a picked address cell is the
// address, a picked row gives the preferred kind (EmailPredef) or the
// principal one.
#include "printing/AziendaUtilStampe.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/util/UtilGlob.h"
#include "services/Colori.h"
#include "services/Decodifica.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QLineEdit>

int TipoEmailPredefinito(const QString &valore)
{
    const UtilGlob &u = Globali::Util();
    int n = int(u.ValoreMassimo(0.0, u.ValoreMinimo(4.0, u.ValoreNumerico(valore, true, true))));
    if (n != 0)
        return n;
    const QString p = valore.trimmed();
    const auto e = [&](const char *a, const char *b) {
        return p.compare(QLatin1String(a), Qt::CaseInsensitive) == 0 ||
               p.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    };
    if (e("Amministrativo", "Amm"))
        return 2;
    if (e("Commerciale", "Comm"))
        return 3;
    if (e("Spedizione", "Sped"))
        return 4;
    return 1;
}

QVariant ScegliEmailCliente(QLineEdit *casella, QWidget *etichetta, int piKeyCode, int piShift,
                            const QVariant &pvAiuto, int piNonScrivere, int &piColonna)
{
    (void)piShift;
    piColonna = 0;
    const QString colonne[4] = {QStringLiteral("Email"), QStringLiteral("Email2"), QStringLiteral("Email3"),
                                QStringLiteral("Email4")};
    const char *const chiavi[4] = {"DescEmailPri", "DescEmailAmm", "DescEmailComm", "DescEmailSped"};
    const char *const predefinite[4] = {"Principale", "Amministrativo", "Commerciale", "Spedizioni"};
    QString didascalie[4];
    for (int k = 0; k < 4; ++k)
        didascalie[k] = LeggiParPersonale(QStringLiteral("Clienti"), QString::fromLatin1(chiavi[k]),
                                          QString::fromLatin1(predefinite[k]))
                            .toString();
    AiutoDecod *aiuto = Globali::AziAiuto;
    if (!aiuto)
        return QString();
    for (int k = 0; k < 4; ++k) {
        aiuto->ParColonne().ovLeggiPar(QStringLiteral("NomeCol%1").arg(k + 1), colonne[k]);
        aiuto->ParColonne().ovLeggiPar(QStringLiteral("DescCol%1").arg(k + 1), didascalie[k]);
    }
    RicercaAiuto &ricerca = aiuto->NuovaRicerca();
    ricerca.ovLeggiPar(QStringLiteral("RetField"), QString());
    ricerca.ovLeggiPar(QStringLiteral("Text"), QString());

    int scelto = 0;
    if (piKeyCode >= 113 && piKeyCode <= 116) {
        int tasto = piKeyCode;
        int numero = 0;
        ApriHelpRicerca(QStringLiteral("Conto"), casella, etichetta, tasto, pvAiuto, scelto,
                        QStringLiteral("§pri§,Email,Email2,Email3,Email4,§dop§"), numero, QString());
    }
    const QString campo = ricerca.ovLeggiPar(QStringLiteral("RetField")).toString();
    if (campo.isEmpty() && !scelto)
        return QString();

    const QString testo = ricerca.ovLeggiPar(QStringLiteral("Text")).toString();
    const UtilGlob &u = Globali::Util();
    QString indirizzo;
    if (campo.left(5).compare(QLatin1String("Email"), Qt::CaseInsensitive) == 0 && !u.ValoreVuoto(testo)) {
        indirizzo = testo;
    } else {
        const int tipo = TipoEmailPredefinito(
            LeggiParPersonale(QStringLiteral("StAltro"), QStringLiteral("EmailPredef"), QStringLiteral("1"))
                .toString());
        if (tipo >= 2)
            indirizzo = ricerca.RetVal(colonne[tipo - 1]).toString();
        if (u.ValoreVuoto(indirizzo))
            indirizzo = ricerca.RetVal(colonne[0]).toString();
    }
    if (campo.compare(QLatin1String("Email"), Qt::CaseInsensitive) == 0)
        piColonna = 1;
    else if (campo.left(5).compare(QLatin1String("Email"), Qt::CaseInsensitive) == 0)
        piColonna = campo.right(1).toInt();
    if (!piNonScrivere && casella)
        casella->setText(indirizzo);
    return indirizzo;
}

void GotFocusCampoStampa(QWidget *controllo)
{
    ColoraCampi(controllo, 0);
}
