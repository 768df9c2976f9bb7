// Separated-text export (Excel-compatible and plain text files).
#include "components/stampa/EsportaTesto.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/FormatoVb.h"

#include <charconv>
#include <cstring>

namespace
{

// `testo` as UTF-8 at the end of `destinazione`, encoded in place.
void accodaUtf8(QByteArray &destinazione, QStringEncoder &codifica, QStringView testo)
{
    const qsizetype prima = destinazione.size();
    destinazione.resize(prima + testo.size() * 3);
    char *fine = codifica.appendToBuffer(destinazione.data() + prima, testo);
    destinazione.truncate(fine - destinazione.constData());
}

// Bytes at the end of `destinazione`: a plain copy into its room, which
// QByteArray::append, taking every append for an insertion, is not.
void aggiungi(QByteArray &destinazione, QByteArrayView byte)
{
    const qsizetype prima = destinazione.size();
    destinazione.resize(prima + byte.size());
    std::memcpy(destinazione.data() + prima, byte.data(), size_t(byte.size()));
}

qsizetype trova(QByteArrayView testo, QByteArrayView cosa, qsizetype da)
{
    return cosa.size() == 1 ? testo.indexOf(cosa.front(), da) : testo.indexOf(cosa, da);
}

bool aCapo(const QString &testo)
{
    return testo.contains(u'\r') || testo.contains(u'\n');
}

// The qualifier readers of separated text take when the file names none, as
// spreadsheet programs open it by default: a field that begins with it is
// read as a text between double quotes.
constexpr char VirgoletteLettore = '"';

} // namespace

bool SeparatoriUtilizzabili(const QString &separatore, const QString &delimitatore)
{
    return !aCapo(separatore) && !aCapo(delimitatore) &&
           !separatore.contains(delimitatore.isEmpty() ? QString(QLatin1Char(VirgoletteLettore))
                                                       : delimitatore);
}

QString NomeSeparatore(const QString &carattere)
{
    if (carattere.isEmpty())
        return QStringLiteral("nessuno");
    if (carattere == QLatin1String("\t"))
        return QStringLiteral("tabulatore");
    if (carattere == QLatin1String(" "))
        return QStringLiteral("spazio");
    if (carattere == QLatin1String("\n"))
        return QStringLiteral("a capo");
    if (carattere == QLatin1String("\r"))
        return QStringLiteral("ritorno a capo");
    return QStringLiteral("\"%1\"").arg(carattere);
}

EsportaTesto::EsportaTesto(const OpzStampa &opz, const QList<ColonnaStampa> &colonne) : m_colonne(colonne)
{
    const bool excel = opz.FileForm() != OpzStampa::FormatoTesto;
    m_separatore = opz.SepCampi();
    if (m_separatore.isEmpty())
        m_separatore = excel ? QStringLiteral(";") : QStringLiteral("\t");
    m_delimitatore = opz.DelimStr().left(1);
    m_separatoreUtf8 = m_codifica.encode(m_separatore);
    m_delimitatoreUtf8 = m_codifica.encode(m_delimitatore);
    m_numeriSemplici = excel || opz.NumNoForm() != 0;
    // Excel reads a UTF-8 file as such only when it starts with the mark.
    m_bom = excel;
    if (SeparatoriUtilizzabili(m_separatore, m_delimitatore))
        return;
    QString perche;
    if (aCapo(m_separatore) || aCapo(m_delimitatore))
        perche = QStringLiteral("%1 (%2) spezzerebbe le righe")
                     .arg(aCapo(m_separatore) ? QStringLiteral("il separatore dei campi")
                                              : QStringLiteral("il qualificatore testo"),
                          NomeSeparatore(aCapo(m_separatore) ? m_separatore : m_delimitatore));
    else if (m_delimitatore.isEmpty())
        perche = QStringLiteral("il separatore dei campi è il doppio apice e, senza qualificatore testo, chi "
                                "legge il file lo prenderebbe per l'inizio di un testo tra virgolette");
    else
        perche = QStringLiteral("il separatore dei campi e il qualificatore testo sono lo stesso carattere "
                                "(%1) e i campi non si potrebbero distinguere")
                     .arg(NomeSeparatore(m_delimitatore));
    m_erroreSeparatori = QStringLiteral("Il file non è stato scritto: %1. Scegliere nella scelta della "
                                        "stampa un altro separatore dei campi o qualificatore testo e "
                                        "ripetere la stampa.")
                             .arg(perche);
}

EsportaTesto::~EsportaTesto()
{
    Annulla();
}

bool EsportaTesto::campoTesto(QByteArray &riga, QByteArrayView testo) const
{
    const QByteArrayView delimitatore(m_delimitatoreUtf8);
    if (!delimitatore.isEmpty()) {
        // Between delimiters, each delimiter inside doubled.
        aggiungi(riga, delimitatore);
        qsizetype da = 0;
        for (qsizetype i; (i = trova(testo, delimitatore, da)) >= 0; da = i + delimitatore.size()) {
            aggiungi(riga, testo.sliced(da, i + delimitatore.size() - da));
            aggiungi(riga, delimitatore);
        }
        aggiungi(riga, testo.sliced(da));
        aggiungi(riga, delimitatore);
        return true;
    }
    // No delimiter: a line break inside a value would start a new row (it
    // becomes a blank, CR LF a single one), the separator a new field, and
    // a double quote at the start a text between quotes, read without them.
    const qsizetype inizio = riga.size();
    if (testo.indexOf('\n') < 0 && testo.indexOf('\r') < 0) {
        aggiungi(riga, testo);
    } else {
        for (qsizetype i = 0; i < testo.size(); ++i) {
            const char c = testo[i];
            if (c == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n')
                ++i;
            riga.append(c == '\r' || c == '\n' ? ' ' : c);
        }
    }
    const QByteArrayView scritto = QByteArrayView(riga).sliced(inizio);
    return !scritto.contains(QByteArrayView(m_separatoreUtf8)) &&
           (scritto.isEmpty() || scritto.front() != VirgoletteLettore);
}

bool EsportaTesto::campoTesto(QByteArray &riga, const QString &testo) const
{
    m_cella.resize(0);
    accodaUtf8(m_cella, m_codifica, testo);
    return campoTesto(riga, QByteArrayView(m_cella));
}

QString EsportaTesto::campoAmbiguo(const QString &dove, int colonna, const QString &testo, bool numero) const
{
    if (!numero && testo.startsWith(QLatin1Char(VirgoletteLettore)) && !testo.contains(m_separatore))
        return QStringLiteral(
                   "Il file non è stato scritto: %1, colonna \"%2\", il testo «%3» comincia con il "
                   "doppio apice e senza qualificatore testo sarebbe riletto come un testo tra "
                   "virgolette, senza di esse. Scegliere un qualificatore testo (doppio apice) e "
                   "ripetere la stampa.")
            .arg(dove, m_colonne.value(colonna).didascalia, testo);
    return QStringLiteral(
               "Il file non è stato scritto: %1, colonna \"%2\", %5 \"%3\" contiene il separatore "
               "dei campi (%4) e senza qualificatore testo quella riga avrebbe un campo in più. Scegliere "
               "un qualificatore testo (doppio apice) o un altro separatore e ripetere la stampa.")
        .arg(dove, m_colonne.value(colonna).didascalia, testo, NomeSeparatore(m_separatore),
             numero ? QStringLiteral("il numero") : QStringLiteral("il testo"));
}

bool EsportaTesto::componiIntestazione(QByteArray &riga, int *colonna) const
{
    const qsizetype inizio = riga.size();
    bool intera = true;
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            aggiungi(riga, m_separatoreUtf8);
        if (!campoTesto(riga, m_colonne[i].didascalia) && intera) {
            intera = false;
            if (colonna)
                *colonna = i;
        }
    }
    campoUnicoVuoto(riga, inizio);
    aggiungi(riga, "\r\n");
    return intera;
}

void EsportaTesto::campoUnicoVuoto(QByteArray &riga, qsizetype inizio) const
{
    // An empty line reads as a row without fields; without a qualifier of
    // its own the file's value is put between double quotes, as readers of
    // separated text expect by default.
    if (m_colonne.size() != 1 || riga.size() != inizio)
        return;
    const QByteArrayView delimitatore =
        m_delimitatoreUtf8.isEmpty() ? QByteArrayView("\"") : QByteArrayView(m_delimitatoreUtf8);
    aggiungi(riga, delimitatore);
    aggiungi(riga, delimitatore);
}

QString EsportaTesto::TestoIntestazione() const
{
    QByteArray riga;
    componiIntestazione(riga);
    return QString::fromUtf8(riga);
}

void EsportaTesto::numero(QByteArray &riga, const CellaStampa &c, bool semplice, QChar decimale) const
{
    if (!semplice) {
        accodaUtf8(riga, m_codifica, c.testo);
        return;
    }
    char cifre[24];
    std::to_chars_result r{};
    switch (c.valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        r = std::to_chars(cifre, cifre + sizeof cifre, c.valore.toLongLong());
        aggiungi(riga, QByteArrayView(cifre, r.ptr - cifre));
        return;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        r = std::to_chars(cifre, cifre + sizeof cifre, c.valore.toULongLong());
        aggiungi(riga, QByteArrayView(cifre, r.ptr - cifre));
        return;
    default:
        m_numero.resize(0);
        colonne_stampa::AccodaNumeroSemplice(m_numero, c, decimale);
        accodaUtf8(riga, m_codifica, m_numero);
    }
}

bool EsportaTesto::componiRiga(QByteArray &riga, const QList<CellaStampa> &celle, int *colonna) const
{
    const qsizetype inizio = riga.size();
    bool intera = true;
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            aggiungi(riga, m_separatoreUtf8);
        if (i >= celle.size())
            continue;
        const CellaStampa &c = celle[i];
        bool ok = true;
        if (const QByteArrayView b = m_sorgente ? m_sorgente->TestoUtf8(i) : QByteArrayView(); !b.isNull()) {
            ok = campoTesto(riga, b);
        } else if (!c.valore.isValid() && c.testo.isEmpty()) {
            continue;
        } else if (!colonne_stampa::EValoreNumerico(c.valore)) {
            ok = campoTesto(riga, c.testo);
        } else {
            ok = campoNumero(riga, c);
        }
        if (!ok && intera) {
            intera = false;
            if (colonna)
                *colonna = i;
        }
    }
    campoUnicoVuoto(riga, inizio);
    aggiungi(riga, "\r\n");
    return intera;
}

bool EsportaTesto::campoNumero(QByteArray &riga, const CellaStampa &c) const
{
    const qsizetype inizio = riga.size();
    numero(riga, c, m_numeriSemplici, QLatin1Char(','));
    const auto libero = [&] {
        const QByteArrayView scritto = QByteArrayView(riga).sliced(inizio);
        return !scritto.contains(QByteArrayView(m_separatoreUtf8)) &&
               (m_delimitatoreUtf8.isEmpty() || !scritto.contains(QByteArrayView(m_delimitatoreUtf8)));
    };
    if (libero())
        return true;
    // The number as shown holds the separator (a decimal comma with a comma
    // separator, a thousands point with a point, a minus with a "-") or the
    // delimiter: between delimiters when there are; else without grouping,
    // with a decimal comma or point, whichever the separator leaves whole;
    // else the row would have a field too many, and is refused.
    if (!m_delimitatoreUtf8.isEmpty()) {
        m_cella.resize(0);
        m_cella.append(QByteArrayView(riga).sliced(inizio));
        riga.truncate(inizio);
        return campoTesto(riga, QByteArrayView(m_cella));
    }
    for (const QChar decimale : {QLatin1Char(','), QLatin1Char('.')}) {
        riga.truncate(inizio);
        numero(riga, c, true, decimale);
        if (libero())
            return true;
    }
    return false;
}

QString EsportaTesto::TestoRiga(const QList<CellaStampa> &celle) const
{
    QByteArray riga;
    componiRiga(riga, celle);
    return QString::fromUtf8(riga);
}

bool EsportaTesto::Apri(const QString &percorso, QString &errore)
{
    m_errore.clear();
    if (!m_erroreSeparatori.isEmpty()) {
        errore = m_erroreSeparatori;
        return false;
    }
    if (!m_file.Apri(percorso, errore))
        return false;
    if (m_bom)
        m_file.Buffer().append("\xEF\xBB\xBF");
    m_righe = 0;
    return true;
}

void EsportaTesto::ScriviIntestazione()
{
    if (!m_errore.isEmpty())
        return;
    QByteArray &buffer = m_file.Buffer();
    const qsizetype prima = buffer.size();
    int colonna = -1;
    if (!componiIntestazione(buffer, &colonna)) {
        buffer.truncate(prima);
        m_errore = campoAmbiguo(QStringLiteral("nella riga delle intestazioni"), colonna,
                                m_colonne[colonna].didascalia);
        return;
    }
    m_file.Aggiunto();
}

void EsportaTesto::ScriviRiga(const QList<CellaStampa> &celle)
{
    ++m_righe;
    if (!m_errore.isEmpty())
        return;
    // Composed straight into the file's buffer, taken back when refused.
    QByteArray &buffer = m_file.Buffer();
    const qsizetype prima = buffer.size();
    int colonna = -1;
    if (!componiRiga(buffer, celle, &colonna)) {
        buffer.truncate(prima);
        const QByteArrayView b = m_sorgente ? m_sorgente->TestoUtf8(colonna) : QByteArrayView();
        m_errore = campoAmbiguo(QStringLiteral("nella riga %1").arg(FormatoVb::Intero(m_righe)), colonna,
                                b.isNull() ? celle.value(colonna).testo : QString::fromUtf8(b),
                                b.isNull() && colonne_stampa::EValoreNumerico(celle.value(colonna).valore));
        return;
    }
    m_file.Aggiunto();
}

bool EsportaTesto::Chiudi(QString &errore)
{
    if (!m_errore.isEmpty()) {
        errore = m_errore;
        Annulla();
        return false;
    }
    return m_file.Conferma(errore);
}

void EsportaTesto::Annulla()
{
    m_file.Scarta();
}
