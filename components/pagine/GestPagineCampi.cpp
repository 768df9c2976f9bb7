// Record-form engine: fields between their boxes and their columns (display
// formats, numbers, dates, composite fields), the engine's own field checks,
// enabling by state and the field events the form forwards.
#include "components/pagine/GestPagineInterni.h"

#include "components/forms/ColoriVb.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QAction>
#include <QDate>
#include <QRegularExpression>

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

bool vuoto(const QString &s)
{
    return s.trimmed().isEmpty();
}

// A number typed the Italian way ("1.234,5", "-3", "12.5") as plain decimal
// text ("1234.5"); empty when it is not a number.
QString numeroNormalizzato(const QString &testo)
{
    QString t = testo.trimmed();
    t.remove(QLatin1Char(' '));
    if (t.contains(QLatin1Char(','))) {
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (t.contains(QLatin1Char('.'))) {
        // Compiled once: this runs for every value a record form shows.
        static const QRegularExpression migliaia(QStringLiteral("^-?\\d{1,3}(\\.\\d{3})+$"));
        if (t.count(QLatin1Char('.')) > 1 || migliaia.match(t).hasMatch())
            t.remove(QLatin1Char('.'));
    }
    static const QRegularExpression numero(QStringLiteral("^[-+]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    return numero.match(t).hasMatch() ? t : QString();
}

bool tipoNumerico(Risultato::Tipo t)
{
    return t == Risultato::Tipo::Intero || t == Risultato::Tipo::Reale || t == Risultato::Tipo::Decimale;
}

} // namespace

GestPagine::Campo *GestPagine::campo(const QString &nome) const
{
    return d->perNome.value(nome.trimmed().toLower(), nullptr);
}

QString GestPagine::NomeCampoControllo(const QWidget *controllo) const
{
    const Campo *c = d->perControllo.value(controllo, nullptr);
    return c ? c->nome : QString();
}

QLineEdit *GestPagine::ControlloCampo(const QString &nomeCampo) const
{
    const Campo *c = campo(nomeCampo);
    return c ? c->controllo.data() : nullptr;
}

QString GestPagine::testoDaRecord(const Campo &c, const QString &handle) const
{
    // Every record set of the form is read with the column list of
    // elencoColonne, where each column of the field has its fixed place; a
    // field registered after the read has no column in it and reads empty.
    elencoColonne();
    const int lette = d->rec.NumCampi(handle);
    auto valore = [&](size_t k) {
        const int i = c.indici[k];
        return i < lette ? d->rec.ValoreCampoIdx(handle, i) : QVariant();
    };
    if (c.indici.size() == 1)
        return testoDaValore(c, valore(0));
    QStringList testi;
    bool pieno = false;
    for (size_t k = 0; k < c.indici.size(); ++k) {
        const QString t = testoDaValore(c, valore(k));
        pieno = pieno || !t.isEmpty();
        testi << t;
    }
    return pieno ? testi.join(c.unione) : QString();
}

QString GestPagine::testoDaValore(const Campo &c, const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    const QString &formato = c.formato;
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
        const QDate data = v.toDate();
        return formato.isEmpty() ? data.toString(QStringLiteral("dd/MM/yyyy"))
                                 : util().Formatta(data, formato);
    }
    if (c.generazioneTipo != d->generazioneTipi) {
        c.colonnaNumerica = tipoNumerico(d->tipi.value(c.colonne.value(0).toLower(), Risultato::Tipo::Testo));
        c.generazioneTipo = d->generazioneTipi;
    }
    const bool colonnaNumerica = c.colonnaNumerica;
    // A text is tried as a number only for a numeric field or column.
    if ((c.numerico || colonnaNumerica) &&
        (v.typeId() != QMetaType::QString || !numeroNormalizzato(v.toString()).isEmpty())) {
        const double x =
            v.typeId() == QMetaType::QString ? numeroNormalizzato(v.toString()).toDouble() : v.toDouble();
        if (!formato.isEmpty())
            return util().Formatta(x, formato);
        if (c.decimali > 0)
            return util().Formatta(x, QStringLiteral("0.") + QString(c.decimali, QLatin1Char('^')));
        QString t = QString::number(x, 'f', x == std::floor(x) ? 0 : 4);
        if (t.contains(QLatin1Char('.'))) {
            while (t.endsWith(QLatin1Char('0')))
                t.chop(1);
            t.replace(QLatin1Char('.'), QLatin1Char(','));
        }
        return t;
    }
    if (!formato.isEmpty() && c.colonne.size() == 1)
        return util().Formatta(v, formato);
    return v.toString();
}

QVariantList GestPagine::valoriDaTesto(const Campo &c, QString &errore) const
{
    errore.clear();
    const QString testo = c.controllo ? c.controllo->text() : QString();
    QStringList parti;
    if (c.colonne.size() == 1) {
        parti << testo;
    } else if (!vuoto(testo)) {
        QString t = testo.trimmed();
        if (!c.unione.isEmpty() && !t.contains(c.unione))
            t = util().FormattaMaschera(t, QStringLiteral("Conto"));
        parti = c.unione.isEmpty() ? QStringList{t} : t.split(c.unione);
        if (parti.size() != c.colonne.size()) {
            errore = QStringLiteral("il valore va scritto in %1 parti separate da \"%2\"")
                         .arg(c.colonne.size())
                         .arg(c.unione);
            return {};
        }
    } else {
        for (int i = 0; i < c.colonne.size(); ++i)
            parti << QString();
    }

    QVariantList valori;
    for (int i = 0; i < c.colonne.size(); ++i) {
        const QString parte = parti.value(i);
        const auto tipo = d->tipi.value(c.colonne[i].toLower(), Risultato::Tipo::Testo);
        if (vuoto(parte)) {
            valori << QVariant();
            continue;
        }
        if (c.numerico || tipoNumerico(tipo)) {
            const QString n = numeroNormalizzato(parte);
            if (n.isEmpty()) {
                errore = QStringLiteral("\"%1\" non è un numero").arg(parte.trimmed());
                return {};
            }
            if (c.numerico) {
                const bool negativo = n.startsWith(QLatin1Char('-'));
                const QString cifre = QString(n).remove(QLatin1Char('-')).remove(QLatin1Char('+'));
                const QString intera = cifre.section(QLatin1Char('.'), 0, 0);
                const QString decimali = cifre.section(QLatin1Char('.'), 1);
                QString interaSenzaZeri = intera;
                while (interaSenzaZeri.size() > 1 && interaSenzaZeri.startsWith(QLatin1Char('0')))
                    interaSenzaZeri.remove(0, 1);
                if (negativo && !c.negativi) {
                    errore = QStringLiteral("non sono ammessi valori negativi");
                    return {};
                }
                const int maxIntere = c.decimali > 0 ? c.cifre - c.decimali : c.cifre;
                if (c.cifre > 0 && interaSenzaZeri.size() > std::max(1, maxIntere)) {
                    errore = QStringLiteral("troppe cifre (al massimo %1)").arg(std::max(1, maxIntere));
                    return {};
                }
                QString dec = decimali;
                while (dec.endsWith(QLatin1Char('0')))
                    dec.chop(1);
                if (dec.size() > c.decimali) {
                    errore = c.decimali == 0 ? QStringLiteral("non sono ammessi decimali")
                                             : QStringLiteral("al massimo %1 decimali").arg(c.decimali);
                    return {};
                }
            }
            valori << n;
        } else if (tipo == Risultato::Tipo::Data || tipo == Risultato::Tipo::DataOra) {
            const QDate data = UtilGlob::LeggiData(parte.trimmed());
            if (!data.isValid()) {
                errore = QStringLiteral("\"%1\" non è una data valida").arg(parte.trimmed());
                return {};
            }
            valori << data;
        } else {
            valori << parte;
        }
    }
    return valori;
}

bool GestPagine::controllaCampi(Campo *&errato, QString &messaggio) const
{
    for (const auto &c : d->campi) {
        if (!c->controllo)
            continue;
        const QString testo = c->controllo->text();
        if ((c->chiave || c->chiaveFissa || c->opzioni.opzione.toBool()) && vuoto(testo)) {
            errato = c.get();
            messaggio = QStringLiteral("Il campo \"%1\" è obbligatorio.").arg(c->descrizione());
            return false;
        }
        QString errore;
        valoriDaTesto(*c, errore);
        if (!errore.isEmpty()) {
            errato = c.get();
            messaggio =
                QStringLiteral("Valore non valido nel campo \"%1\": %2.").arg(c->descrizione(), errore);
            return false;
        }
    }
    return true;
}

void GestPagine::coloraCampo(Campo &c, bool errore)
{
    if (!c.controllo)
        return;
    if (errore) {
        ColoriVb::ImpostaBackColor(c.controllo, d->backErrore);
        c.errore = true;
    } else if (c.errore) {
        // Only the colour the engine put on goes back: the form's own marks stay.
        ColoriVb::ImpostaBackColor(c.controllo, d->backNormale);
        c.errore = false;
    }
}

QString GestPagine::valoreSqlCampo(const QString &colonna, const QString &testo) const
{
    const auto tipo = d->tipi.value(colonna.toLower(), Risultato::Tipo::Testo);
    if (tipoNumerico(tipo)) {
        const QString n = numeroNormalizzato(testo);
        if (!n.isEmpty())
            return util().ValoreSql(n.toDouble(), UtilGlob::TipoDoppio);
    } else if (tipo == Risultato::Tipo::Data || tipo == Risultato::Tipo::DataOra) {
        const QDate data = UtilGlob::LeggiData(testo.trimmed());
        if (data.isValid())
            return util().ValoreSql(data, UtilGlob::TipoData);
    }
    return util().ValoreSql(testo, UtilGlob::TipoTesto);
}

void GestPagine::aggiornaAbilitazioni()
{
    const bool rw = m_abilRW == 1;
    for (const auto &c : d->campi) {
        if (!c->controllo)
            continue;
        const bool chiave = c->chiave || c->chiaveFissa;
        const bool sola = chiave ? m_stato == StatoRecord : (!rw && m_stato != StatoRicerca);
        c->controllo->setReadOnly(sola);
        ColoriVb::ImpostaForeColor(c->controllo, sola ? d->foreDisabil : d->foreNormale);
    }
    if (d->dettaglio)
        d->dettaglio->setEnabled(m_stato != StatoVariaChiave);
    for (const auto &w : d->noRicerca)
        if (w)
            w->setEnabled(m_stato != StatoRicerca);

    const bool scrivibile = rw && m_stato != StatoRicerca;
    auto abilita = [this](const char *chiave, bool si) {
        if (QAction *a = Bottone(QString::fromLatin1(chiave)))
            a->setEnabled(si);
    };
    const bool navigazione = m_stato != StatoVariaChiave;
    abilita("Ricerca", navigazione);
    abilita("Salva", scrivibile);
    abilita("Cancella", rw && m_stato == StatoRecord);
    abilita("Annulla", true);
    abilita("Duplica", rw && m_stato == StatoRecord);
    abilita("VarKey", rw && m_stato == StatoRecord);
    abilita("Lista", navigazione && d->lista);
    abilita("ListaInd", navigazione && d->lista);
    abilita("ListaAvanti", navigazione && d->lista);
    for (const char *k : {"Inizio", "Precedente", "Successivo", "Fine"})
        abilita(k, navigazione);
}

void GestPagine::oiAbilRW(int livello)
{
    m_abilRW = livello == 1 ? 1 : 0;
    aggiornaAbilitazioni();
}

void GestPagine::CampoEntrato(const QString &nomeCampo)
{
    (void)nomeCampo;
}

void GestPagine::CampoModificato()
{
    if (m_bloccoModifiche > 0 || m_stato == StatoRicerca)
        return;
    m_modificato = true;
}

bool GestPagine::CampoUscito(const QString &nomeCampo)
{
    Campo *c = campo(nomeCampo);
    if (!c || !c->controllo || d->inOperazione)
        return true;
    if (m_stato != StatoRicerca && (c->numerico || c->opzioni.formato.isValid())) {
        QString errore;
        const QVariantList valori = valoriDaTesto(*c, errore);
        coloraCampo(*c, !errore.isEmpty());
        if (errore.isEmpty() && c->colonne.size() == 1 && !valori.value(0).isNull()) {
            const QString formattato = testoDaValore(*c, valori.value(0));
            if (formattato != c->controllo->text()) {
                BloccoModifiche blocco(*this);
                c->controllo->setText(formattato);
            }
        }
    }
    if (c->controllo != d->controlloChiave || (m_stato != StatoNuovo && m_stato != StatoVariaChiave))
        return true;
    // Called from a focus event: a failed read is reported here, never thrown
    // into Qt; the caller learns that the check failed, so as not to say it again.
    try {
        controllaChiave();
    } catch (const VbErrore &e) {
        ricordaErrore(e.numero(), e.descrizione());
        SegnalaErrore(d->ultimoRisultato);
        return false;
    }
    return true;
}

void GestPagine::ScriviCampo(const QString &nomeCampo, const QString &testo)
{
    Campo *c = campo(nomeCampo);
    if (!c || !c->controllo)
        throw VbErrore(VbErrore::ElementoNonTrovato,
                       QStringLiteral("Campo non registrato: %1").arg(nomeCampo));
    BloccoModifiche blocco(*this);
    c->controllo->setText(testo);
}
