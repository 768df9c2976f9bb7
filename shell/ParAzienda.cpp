// The company parameters and the INI settings every window reads.
#include "shell/ParAzienda.h"

#include "components/db/DbMotore.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/ProfiloIni.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/RisVid.h"
#include "services/frmConn.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace
{

QVariant parHost(const QString &nome)
{
    ClienteMenu *mc = Globali::MenuClient;
    return mc ? mc->LeggiPar(nome, QString()) : QVariant();
}

QString testoHost(const QString &nome, const QString &predefinito)
{
    const QString v = parHost(nome).toString().trimmed();
    return v.isEmpty() ? predefinito : v;
}

int interoHost(const QString &nome, int predefinito)
{
    bool ok = false;
    const int v = parHost(nome).toString().trimmed().toInt(&ok);
    return ok ? v : predefinito;
}

QString testoIni(const ProfiloIni &ini, const QString &sezione, const QString &chiave,
                 const QString &predefinito)
{
    const QString t = ini.LeggiStringa(sezione, chiave).trimmed();
    return t.isEmpty() ? predefinito : t;
}

// Decimals of a currency from table Monete; `predefinito` when unknown. A
// row with decimals out of range stops the start with its message.
int decimaliMoneta(const QString &moneta, int predefinito)
{
    if (moneta.isEmpty())
        return predefinito;
    QVariant numDec;
    try {
        DbMotore *db = Globali::DbComp();
        const auto r =
            db->Seleziona(Globali::DbAzienda, QStringLiteral("SELECT NumDec FROM Monete WHERE Moneta = ") +
                                                  Globali::Util().ValoreSql(moneta, UtilGlob::TipoTesto));
        if (r && r->numRighe() > 0 && !r->nullo(0, 0))
            numDec = r->valore(0, 0);
    } catch (const VbErrore &) {
    }
    return numDec.isValid() ? DecimaliMoneta(moneta, numDec) : predefinito;
}

QDate dataHost(const QString &nome)
{
    const QVariant v = parHost(nome);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    const QVariant d = Globali::Util().ValoreData(v);
    return d.isValid() ? d.toDate() : QDate();
}

// The screen factors of [Risoluzione Video]. A text that is not a number
// takes the key's default, and a factor beyond the range the windows are
// scaled by is held to it: both are said once, with the value used instead,
// and every later use takes that value.
void leggiFattoriSchermo(const ProfiloIni &ini)
{
    using namespace Globali;
    const QString sezione = QStringLiteral("Risoluzione Video");
    const struct {
        const char *chiave;
        double &valore;
        double predefinito;
    } fattori[] = {{"Generale", RisVidGenerale, 0},
                   {"PersBase", RisVidPersBase, 0},
                   {"MsgCom", RisVidMsgCom, 0},
                   {"StaVid", RisVidStaVid, -2}};
    QLocale it(QLocale::Italian);
    it.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList righe;
    for (const auto &f : fattori) {
        const QString chiave = QLatin1String(f.chiave);
        const QString testo = ini.LeggiStringa(sezione, chiave).trimmed();
        f.valore = f.predefinito;
        if (testo.isEmpty())
            continue;
        if (!UtilGlob::LeggiNumero(testo, f.valore, true)) {
            f.valore = f.predefinito;
            righe << QStringLiteral("%1 = %2: non è un numero, si usa il valore predefinito %3")
                         .arg(chiave, testo.left(20), it.toString(f.predefinito));
        } else if (f.valore > 0 && LimitaFattoreRisVid(f.valore) != f.valore) {
            righe << QStringLiteral("%1 = %2: si usa %3")
                         .arg(chiave, it.toString(f.valore), it.toString(LimitaFattoreRisVid(f.valore)));
            f.valore = LimitaFattoreRisVid(f.valore);
        }
    }
    if (righe.isEmpty())
        return;
    frmConn::Scarica();
    msgCom(QStringLiteral(
               "Fattori di scala dello schermo non numerici o fuori dall'intervallo ammesso (da %1 a %2) "
               "nella sezione [Risoluzione Video] di %3:\n%4\nCorreggere il file INI per non ricevere più "
               "questo avviso.")
               .arg(it.toString(FattoreRisVidMinimo), it.toString(FattoreRisVidMassimo),
                    QDir::toNativeSeparators(PathIni), righe.join(u'\n')),
           QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

} // namespace

long LeggiColoreVb(const QVariant &valore, long predefinito)
{
    QString t = valore.toString().trimmed();
    if (t.isEmpty())
        return predefinito;
    bool ok = false;
    long v = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        if (t.endsWith(QLatin1Char('&')))
            t.chop(1);
        v = long(t.toULongLong(&ok, 16) & 0xFFFFFFFFULL);
    } else {
        const qlonglong n = t.toLongLong(&ok);
        v = long(quint32(n));
    }
    return ok ? v : predefinito;
}

QString FormatoImporto(int decimali)
{
    return decimali > 0 ? QStringLiteral("#,##0.") + QString(decimali, QLatin1Char('0'))
                        : QStringLiteral("#,##0");
}

QString LeggiParAzienda()
{
    using namespace Globali;
    try {
        DescAzienda = testoHost(QStringLiteral("descazie"), DescAzienda);
        DataMenu = dataHost(QStringLiteral("DataMenu"));
        if (!DataMenu.isValid())
            DataMenu = QDate::currentDate();
        MonetaAzienda = testoHost(QStringLiteral("Ditta.Moneta"), MonetaAzienda);
        CodLira = testoHost(QStringLiteral("Ditta.CodLira"), CodLira);
        CodEuro = testoHost(QStringLiteral("Ditta.CodEuro"), CodEuro);
        OperCambio = testoHost(QStringLiteral("Ditta.OperCambio"), OperCambio);
        double cambio = 0;
        if (UtilGlob::LeggiNumero(testoHost(QStringLiteral("Ditta.CambioLiraEuro"), QString()), cambio,
                                  true) &&
            cambio > 0)
            CambioLiraEuro = cambio;
        NumDecQta = interoHost(QStringLiteral("Ditta.NumDecQta"), NumDecQta);
        NumDecLira = decimaliMoneta(CodLira, NumDecLira);
        NumDecEuro = decimaliMoneta(CodEuro, NumDecEuro);
        NumDecMoneta = decimaliMoneta(MonetaAzienda, NumDecMoneta);
        FmtImportoEuro = FormatoImporto(NumDecEuro);
        FormatoData = testoHost(QStringLiteral("Ditta.FormatoData"), FormatoData);
        ColBackGotFocus = LeggiColoreVb(parHost(QStringLiteral("Ditta.ColBackGotFocus")), ColBackGotFocus);
        ColBackLostFocus = LeggiColoreVb(parHost(QStringLiteral("Ditta.ColBackLostFocus")), ColBackLostFocus);
        ColBackForm = LeggiColoreVb(parHost(QStringLiteral("Ditta.ColBackForm")), ColBackForm);

        ArrotIvaEuro = LeggiParPersonale(QStringLiteral("Tutti"), QStringLiteral("ArrotIvaEuro"),
                                         testoHost(QStringLiteral("Ditta.ArrotIvaEuro"), QStringLiteral("N")))
                           .toString();
        DataMinima =
            LeggiParPersonale(QStringLiteral("Tutti"), QStringLiteral("DataMinima"), DataMinima).toString();

        const ProfiloIni ini(PathIni);
        const QString config = QStringLiteral("Config");
        TastierinoVirgola = testoIni(ini, config, QStringLiteral("TastierinoVirgola"), TastierinoVirgola);
        DecodHelpAbil = testoIni(ini, config, QStringLiteral("DecodHelpAbil"), DecodHelpAbil);
        DecodHelpPersKey = testoIni(ini, config, QStringLiteral("DecodHelpPersKey"), DecodHelpPersKey);
        LisSpostaCurs = testoIni(ini, config, QStringLiteral("LisSpostaCurs"), LisSpostaCurs);
        LisClickNoSel = testoIni(ini, config, QStringLiteral("LisClickNoSel"), LisClickNoSel);
        BeepCome = testoIni(ini, config, QStringLiteral("BeepCome"), BeepCome);
        ParMassimizzato = testoIni(ini, config, QStringLiteral("Massimizzato"), ParMassimizzato);
        StatoFinestra = testoIni(ini, config, QStringLiteral("StatoFinestra"), StatoFinestra);

        leggiFattoriSchermo(ini);

        const QDir dirIni = QFileInfo(PathIni).absoluteDir();
        const QString immagini = testoIni(ini, QStringLiteral("Base"), QStringLiteral("Immagini"), QString());
        DirImmagini = immagini.isEmpty() ? QString() : QDir::cleanPath(dirIni.absoluteFilePath(immagini));
        const QString comune = testoIni(ini, QStringLiteral("Setup"), QStringLiteral("IniComune"), QString());
        PathIniComune = comune.isEmpty() ? QString() : QDir::cleanPath(dirIni.absoluteFilePath(comune));

        NomiMesi =
            QStringList{QStringLiteral("Gennaio"), QStringLiteral("Febbraio"), QStringLiteral("Marzo"),
                        QStringLiteral("Aprile"),  QStringLiteral("Maggio"),   QStringLiteral("Giugno"),
                        QStringLiteral("Luglio"),  QStringLiteral("Agosto"),   QStringLiteral("Settembre"),
                        QStringLiteral("Ottobre"), QStringLiteral("Novembre"), QStringLiteral("Dicembre")};
        return {};
    } catch (const VbErrore &e) {
        return QStringLiteral("Err: ") + NascondiPassword(e.descrizione());
    }
}
