// Leaving a field of the customer form: the common frame (colour, status bar,
// current field), the check of the field's value, then its decoding. A
// refused value is never cleared nor given the focus back: the field is
// painted in the error colour and the reason shown or asked.
#include "customer/ScritturaProgramma.h"
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/forms/ColoriVb.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Colori.h"
#include "services/Fiscale.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QLineEdit>

namespace
{

bool inErrore(const QLineEdit *w)
{
    // A field painted in the error colour shows it in its text area: the
    // palette is asked first, as every field is asked on every record read,
    // and the value remembered on the field (a property found by its name,
    // far slower) only for a field that shows that colour.
    static const QColor errore = ColoriVb::DaVb(Globali::ColBackErrore);
    if (w->palette().color(QPalette::Active, QPalette::Base) != errore)
        return false;
    return ColoriVb::BackColor(w) == Globali::ColBackErrore;
}

void colora(QWidget *w, bool errore)
{
    ColoriVb::ImpostaBackColor(w, errore ? Globali::ColBackErrore : Globali::ColBackNormale);
}

// A month or day box: empty, or a whole number from 0 to `massimo`.
bool numeroInIntervallo(const QString &testo, int massimo)
{
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return true;
    return UtilGlob::SoloCifre(t) && t.size() <= 2 && t.toInt() <= massimo;
}

} // namespace

void frmClienti::txt_LostFocus(int Index)
{
    QLineEdit *t = txt.Trova(Index);
    if (!t)
        return;
    const bool Modificato = t->text().compare(t->property("Tag").toString(), Qt::CaseInsensitive) != 0;
    if (IndCtlPend >= 0)
        return;
    ScriviPannello(QStringLiteral("DescrCampo"), QString());
    ColoreCampo(t, false);
    CampoAttuale = -1;
    // A focus event must not carry an error into Qt: a failing query is
    // reported, and a command given from the field does not run unchecked.
    try {
        // A check that could not be done (the key's read failed, and said so)
        // fails the leave: the decoding would only fail again.
        if (!ControllaCampo(Index)) {
            ControlloFallito = true;
            return;
        }
        DecodificaCampo(Index, Modificato);
    } catch (const VbErrore &e) {
        ControlloFallito = true;
        MsgErrfrm(e);
    } catch (const std::exception &e) {
        ControlloFallito = true;
        MsgErrfrm(0, QString::fromLocal8Bit(e.what()));
    }
}

void frmClienti::TogliSegniErrore()
{
    // Marks and messages are about values typed: a record read, restored or
    // saved starts clean, each field in the colour its focus gives it.
    QWidget *fuoco = focusWidget();
    auto pulisci = [fuoco](QLineEdit *w) {
        if (inErrore(w))
            ColoriVb::ImpostaBackColor(w, w == fuoco ? Globali::ColBackGotFocus : Globali::ColBackLostFocus);
    };
    for (auto [i, t] : txt)
        pulisci(t);
    for (auto [i, t] : txtAppo)
        pulisci(t);
    ScriviPannello(QStringLiteral("Messaggio"), QString());
}

bool frmClienti::ControllaCampo(int Index)
{
    QLineEdit *t = txt(Index);
    const int stato = m_comPag ? m_comPag->StatoPagina() : 0;
    bool fatto = true;
    auto generico = [&] {
        if (!m_comPag)
            return;
        const QString nome = m_comPag->NomeCampoControllo(t);
        // False when the key's read failed (and was said).
        fatto = nome.isEmpty() || m_comPag->CampoUscito(nome);
    };
    // Search criteria are patterns, not values: only the generic check runs.
    if (stato == GestPagine::StatoRicerca) {
        generico();
        return fatto;
    }
    auto data = [&] {
        int modo = 1;
        QString messaggio;
        const bool valida = ControllaCampoData(t, -2, modo, std::nullopt, &messaggio, 0).toBool();
        if (!messaggio.isEmpty())
            ScriviPannello(QStringLiteral("Messaggio"), messaggio);
        return valida;
    };
    // A pair of dates: the date left, then the order of the two. A date its
    // own check refused stays marked whatever the order.
    auto intervallo = [&](int da, int a, bool richiediEntrambe, const QString &messaggio) {
        const bool valida = data();
        const UtilGlob &u = Globali::Util();
        const QString tDa = txt(da)->text(), tA = txt(a)->text();
        const QVariant dDa = u.ValoreData(tDa), dA = u.ValoreData(tA);
        bool errato = dDa.isValid() && dA.isValid() && dDa.toDate() > dA.toDate();
        if (richiediEntrambe)
            errato = errato || (tDa.isEmpty() != tA.isEmpty());
        else
            errato = errato || (!tA.isEmpty() && tDa.isEmpty());
        if (errato) {
            colora(t, true);
            ScriviPannello(QStringLiteral("Messaggio"), messaggio);
        } else if (valida) {
            colora(t, false);
        }
    };
    switch (Index) {
    case 40:
        if ((t->text() != DescrIngresso || inErrore(t)) && stato != 0)
            VerifRagSocUsata(t->text(), txt(10)->text() + txt(20)->text() + txt(30)->text());
        break;
    case 70:
    case 80:
    case 1140:
    case 1182:
    case 1184:
    case 1185:
    case 4190:
    case 4196:
        data();
        break;
    case 1090:
        ControllaPartitaIva();
        break;
    case 1100:
        ControllaCodiceFiscale();
        break;
    case 4040:
    case 4060:
    case 4050:
    case 4070: {
        const bool mese = Index == 4040 || Index == 4060;
        const bool valido = numeroInIntervallo(t->text(), mese ? 12 : 31);
        colora(t, !valido);
        if (!valido)
            ScriviPannello(QStringLiteral("Messaggio"),
                           mese ? QStringLiteral("Mese non valido") : QStringLiteral("Giorno non valido"));
        break;
    }
    case 4120: {
        const bool trattino = t->text().contains(u'-');
        colora(t, trattino);
        if (trattino)
            ScriviPannello(QStringLiteral("Messaggio"), QStringLiteral("Non usare - nel campo conto"));
        // The counter-account is shown in the account mask; that is no edit.
        ScritturaProgramma p(m_inSpecchio);
        t->setText(Globali::Util().FormattaMaschera(t->text(), QStringLiteral("Conto")));
        break;
    }
    case 4126:
    case 4128:
        intervallo(
            4126, 4128, false,
            QStringLiteral("Date Procedura Concorsuale non progressive o manca la data di partenza!!"));
        break;
    case 4210:
    case 4215:
        intervallo(4210, 4215, true, QStringLiteral("Date non progressive!!"));
        break;
    default:
        generico();
        break;
    }
    return fatto;
}

void frmClienti::ChiediConferma(QLineEdit *campo, const QString &testo)
{
    colora(campo, true);
    if (msgCom(testo, QStringLiteral("Sì"), QStringLiteral("No")) == 1)
        colora(campo, false);
}

void frmClienti::ControllaPartitaIva()
{
    QLineEdit *t = txt(1090);
    const QString numero = t->text().trimmed();
    if (numero != t->text())
        t->setText(numero);
    if (VerificaPartitaIvaUE(numero, msStatoCod, msStatoIso, miLungPartIva, miLungPartIva2) == 1) {
        const QString testo = QStringLiteral("Partita Iva Errata. La vuoi confermare?");
        ScriviPannello(QStringLiteral("Messaggio"), testo);
        ChiediConferma(t, testo);
    } else {
        colora(t, false);
    }

    const UtilGlob &u = Globali::Util();
    const QString chiave = txt(10)->text() + txt(20)->text() + txt(30)->text();
    if (numero.isEmpty() || u.ValoreVuoto(chiave))
        return;
    RecDat rs;
    const QString h =
        rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                   QStringLiteral("Select PianoConti.*") + QStringLiteral(" FROM PianoConti ") +
                       QStringLiteral(" WHERE Tipo = '") + QStringLiteral("3") + QStringLiteral("'") +
                       QStringLiteral(" AND PianoConti.PartIva = ") + u.ValoreSql(numero) +
                       QStringLiteral(" and Gruppo & Mastro & Conto <>") + u.ValoreSql(chiave),
                   false, RecDat::TipoSnapshot);
    if (rs.FineDati(h))
        return;
    const auto campo = [&](const char *c) {
        return rs.LeggiCampo(h, QString::fromLatin1(c), UtilGlob::TipoTesto).toString();
    };
    const QString testo =
        QStringLiteral("Attenzione!! Esiste un altro cliente con questa Partita Iva: Cod:") +
        campo("Gruppo") + QStringLiteral("-") + campo("Mastro") + QStringLiteral("-") + campo("Conto");
    ScriviPannello(QStringLiteral("Messaggio"), testo);
    msgCom(testo);
}

void frmClienti::ControllaCodiceFiscale()
{
    QLineEdit *t = txt(1100);
    const QString codice = t->text().trimmed().toUpper();
    if (codice != t->text())
        t->setText(codice);
    // A company's fiscal code is its VAT number.
    if (codice.size() == 11 && UtilGlob::SoloCifre(codice)) {
        if (VerificaPartitaIvaUE(codice, msStatoCod, msStatoIso, miLungPartIva, miLungPartIva2) == 1) {
            ChiediConferma(t, QStringLiteral("Codice fiscale (Partita Iva) Errato. Lo vuoi confermare?"));
            return;
        }
    } else if (VerificaPartitaIva(codice, 0) == 1) {
        ChiediConferma(t, QStringLiteral("Codice Fiscale Errato.  Lo vuoi confermare?"));
        return;
    }
    colora(t, false);
}
