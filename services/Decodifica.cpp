// Decoding of a code field into its description control, the program's own
// code-to-description query, and the lookup window opened from a code field.
#include "services/Decodifica.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/db/DbMotore.h"
#include "components/db/Risultato.h"
#include "components/forms/CodiciTasto.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/TestoControlli.h"

#include <QLabel>
#include <QWidget>

namespace
{

QString ePoi(const QString &a, const QString &b)
{
    if (a.trimmed().isEmpty())
        return b;
    if (b.trimmed().isEmpty())
        return a;
    return QStringLiteral("(") + a + QStringLiteral(") AND (") + b + QStringLiteral(")");
}

bool tastoDiRicerca(int tasto)
{
    return tasto < 0 || (tasto >= CodiciTasto::F2 && tasto <= CodiciTasto::F12);
}

// The program's own query: the description and the asked columns of the code's row.
bool leggiRiga(const DefRicerca &def, const QString &codice, const QString &filtro,
               const QStringList &colonne, QString &descrizione, QVariantList &valori)
{
    QStringList sel{def.descrizione + QStringLiteral(" AS ") + AiutoDecod::AliasDescrizione};
    sel << colonne;
    const QString dove = ePoi(ePoi(def.filtro, filtro), AiutoDecod::CondizioneCodice(def, codice));
    const QString sql = QStringLiteral("SELECT ") + sel.join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM ") + def.tabella + QStringLiteral(" WHERE ") + dove;
    std::unique_ptr<Risultato> r = def.db->Seleziona(def.connessione, sql);
    if (r->numRighe() == 0)
        return false;
    descrizione = r->valore(0, 0).toString().trimmed();
    for (int i = 0; i < colonne.size(); ++i)
        valori << r->valore(0, i + 1);
    return true;
}

bool articoliSoloAttivi()
{
    try {
        return LeggiParPersonale(QStringLiteral("Tutti"), QStringLiteral("NoDecInattivi"),
                                 QStringLiteral("N"))
                   .toString()
                   .trimmed()
                   .compare(QStringLiteral("S"), Qt::CaseInsensitive) == 0;
    } catch (const VbErrore &) {
        return false;
    }
}

QVariant filtroDecodifica(bool casoConto, const QString &tipo, QWidget *codice, QWidget *descrizione,
                          QVariant *pvExtra, bool viaAiuto, bool senzaInesistente,
                          const QString &psDescrizione, QVariantList *pvColonne, const QString &psFiltro,
                          bool apriSeManca)
{
    const QString testo = TestoControllo(codice).trimmed();
    // For agents the extra argument names a column to read back, for the other kinds it narrows the rows.
    const bool extraColonna = tipo.compare(QStringLiteral("Agente"), Qt::CaseInsensitive) == 0 && pvExtra &&
                              pvExtra->typeId() == QMetaType::QString;
    DefRicerca def = DefinizioneTipo(tipo, extraColonna || !pvExtra ? QVariant() : *pvExtra);
    if (!casoConto) {
        def.chiave.clear();
        def.spezza = nullptr;
    }
    if (!psDescrizione.isEmpty())
        def.descrizione = psDescrizione.section(QStringLiteral("§"), 0, 0);
    QString filtro = psFiltro;
    if (def.tipo == QLatin1String("Articolo") && articoliSoloAttivi())
        filtro += (filtro.isEmpty() ? QString() : QStringLiteral(" And ")) +
                  QStringLiteral(" (ucase(Inattivo)<>'S') ");

    QStringList colonne;
    if (pvColonne)
        for (const QVariant &v : *pvColonne)
            colonne << v.toString();
    const QString colExtra = extraColonna ? pvExtra->toString() : QString();
    QStringList daLeggere = colonne;
    if (!colExtra.isEmpty())
        daLeggere << colExtra;

    bool trovato = false;
    QString descr;
    QVariantList valori;
    if (viaAiuto || testo.isEmpty()) {
        def.altreColonne << daLeggere;
        AiutoDecod &a = Aiuto();
        trovato = a.Decodifica(def, testo, filtro);
        if (trovato) {
            descr = a.NuovaRicerca().Descrizione();
            for (const QString &c : daLeggere)
                valori << a.NuovaRicerca().RetVal(c);
        }
    } else {
        trovato = leggiRiga(def, testo, filtro, daLeggere, descr, valori);
    }

    if (!trovato && !testo.isEmpty() && apriSeManca &&
        Globali::DecodHelpAbil.trimmed().compare(QStringLiteral("N"), Qt::CaseInsensitive) != 0) {
        RichiestaRicerca r;
        r.testo = testo;
        r.condizione = filtro;
        r.parent = codice ? codice->window() : nullptr;
        def.altreColonne << daLeggere;
        AiutoDecod &a = Aiuto();
        if (a.Ricerca(def, r)) {
            trovato = true;
            ImpostaTestoControllo(codice, a.NuovaRicerca().Codice());
            descr = a.NuovaRicerca().Descrizione();
            valori.clear();
            for (const QString &c : daLeggere)
                valori << a.NuovaRicerca().RetVal(c);
        }
    }

    if (trovato) {
        ImpostaTestoControllo(descrizione, descr);
    } else if (testo.isEmpty() || (senzaInesistente && !ControlloDiInserimento(descrizione))) {
        ImpostaTestoControllo(descrizione, QString());
    } else if (!senzaInesistente) {
        ImpostaTestoControllo(descrizione, TestoInesistente);
    }
    // A column of a row not found reads empty, never as its own name.
    if (pvColonne)
        for (int i = 0; i < pvColonne->size(); ++i)
            (*pvColonne)[i] = trovato ? valori.value(i) : QVariant(QString());
    if (extraColonna)
        *pvExtra = trovato ? valori.value(colonne.size()) : QVariant(QString());
    return trovato;
}

} // namespace

AiutoDecod &Aiuto()
{
    using namespace Globali;
    if (!AziAiuto)
        AziAiuto = new AiutoDecod;
    if (!AziAiuto->Contesto() && PonteMenu)
        AziAiuto->ImpostaContesto(PonteMenu);
    return *AziAiuto;
}

QString DecodificaCodice(const QString &tipo, const QString &codice, const QVariant &contesto,
                         const QString &filtro, bool *trovato)
{
    if (trovato)
        *trovato = false;
    if (codice.trimmed().isEmpty())
        return {};
    const DefRicerca def = DefinizioneTipo(tipo, contesto);
    QString descr;
    QVariantList valori;
    const bool ok = leggiRiga(def, codice.trimmed(), filtro, {}, descr, valori);
    if (trovato)
        *trovato = ok;
    return ok ? descr : TestoInesistente;
}

QVariant FiltroDecodifica(const QString &tipo, QWidget *codice, QWidget *descrizione, QVariant *pvExtra,
                          bool pbViaAiuto, bool pbSenzaInesistente, const QString &psDescrizione,
                          QVariantList *pvColonne, const QString &psFiltro, bool pbViaAiuto2,
                          bool pbApriSeManca)
{
    return filtroDecodifica(true, tipo, codice, descrizione, pvExtra, pbViaAiuto || pbViaAiuto2,
                            pbSenzaInesistente, psDescrizione, pvColonne, psFiltro, pbApriSeManca);
}

QVariant FiltroDecodifica2(const QString &tipo, QWidget *codice, QWidget *descrizione, QVariant *pvExtra,
                           bool pbViaAiuto, bool pbSenzaInesistente, const QString &psDescrizione,
                           QVariantList *pvColonne, const QString &psFiltro, bool pbViaAiuto2,
                           bool pbApriSeManca)
{
    return filtroDecodifica(false, tipo, codice, descrizione, pvExtra, pbViaAiuto || pbViaAiuto2,
                            pbSenzaInesistente, psDescrizione, pvColonne, psFiltro, pbApriSeManca);
}

QVariant ApriHelpRicerca(QVariant &pvRit, const QString &tipo, QWidget *codice, QWidget *descrizione,
                         int &KeyCode, const QVariant &pvContesto, bool &pbScelto, const QString &psCampi,
                         bool pbOpzione, const QString &psCondizione)
{
    pbScelto = false;
    pvRit = false;
    if (!tastoDiRicerca(KeyCode))
        return pvRit;
    try {
        const DefRicerca def = DefinizioneTipo(tipo, pvContesto);
        RichiestaRicerca r;
        r.testo = TestoControllo(codice);
        r.tasto = KeyCode;
        r.condizione = psCondizione;
        r.campi = psCampi.split(QLatin1Char(','), Qt::SkipEmptyParts);
        r.nuovo = pbOpzione;
        r.parent = codice ? codice->window() : nullptr;
        AiutoDecod &a = Aiuto();
        if (a.Ricerca(def, r)) {
            ImpostaTestoControllo(codice, a.NuovaRicerca().Codice());
            if (descrizione)
                ImpostaTestoControllo(descrizione, a.NuovaRicerca().Descrizione());
            pbScelto = true;
        } else if ((KeyCode < 0 || KeyCode == CodiciTasto::F3) && qobject_cast<QLabel *>(descrizione)) {
            // A decoding that found nothing must not leave the description of another code on show.
            ImpostaTestoControllo(descrizione, QString());
        }
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
    pvRit = pbScelto;
    return pvRit;
}

QVariant ApriHelpRicerca(const QString &tipo, QWidget *codice, QWidget *descrizione, int &KeyCode,
                         const QVariant &pvExtra, int &piScelto, const QString &psCampi, int &piNumero,
                         const QString &psTesto)
{
    QVariant rit;
    bool scelto = false;
    ApriHelpRicerca(rit, tipo, codice, descrizione, KeyCode, pvExtra, scelto, psCampi, piNumero != 0,
                    psTesto);
    if (scelto)
        piScelto = -1;
    return rit;
}
