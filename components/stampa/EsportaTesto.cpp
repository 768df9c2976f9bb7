// Separated-text export (Excel-compatible and plain text files).
#include "components/stampa/EsportaTesto.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/OpzStampa.h"

namespace {

bool contieneFineRiga(const QString &t)
{
    return t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r'));
}

} // namespace

EsportaTesto::EsportaTesto(const OpzStampa &opz, const QList<ColonnaStampa> &colonne) : m_colonne(colonne)
{
    const bool excel = opz.FileForm() != OpzStampa::FormatoTesto;
    m_separatore = opz.SepCampi();
    if (m_separatore.isEmpty())
        m_separatore = excel ? QStringLiteral(";") : QStringLiteral("\t");
    m_delimitatore = opz.DelimStr().left(1);
    m_numeriSemplici = excel || opz.NumNoForm() != 0;
    // Excel reads a UTF-8 file as such only when it starts with the mark.
    m_bom = excel;
}

EsportaTesto::~EsportaTesto()
{
    Annulla();
}

bool EsportaTesto::campoTesto(QString &riga, const QString &testo) const
{
    if (!m_delimitatore.isEmpty()) {
        riga += m_delimitatore;
        if (testo.contains(m_delimitatore)) {
            QString t = testo;
            t.replace(m_delimitatore, m_delimitatore + m_delimitatore);
            riga += t;
        } else {
            riga += testo;
        }
        riga += m_delimitatore;
        return true;
    }
    // No delimiter: a line break inside a value would start a new row, the
    // separator a new field.
    if (contieneFineRiga(testo)) {
        QString t = testo;
        t.replace(QLatin1String("\r\n"), QLatin1String(" "));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        riga += t;
        return !t.contains(m_separatore);
    }
    riga += testo;
    return !testo.contains(m_separatore);
}

QString EsportaTesto::separatoreNelTesto(const QString &dove, int colonna, const QString &testo) const
{
    QString separatore = m_separatore;
    if (separatore == QLatin1String("\t"))
        separatore = QStringLiteral("tabulatore");
    else if (separatore == QLatin1String(" "))
        separatore = QStringLiteral("spazio");
    else
        separatore = QStringLiteral("\"%1\"").arg(separatore);
    return QStringLiteral(
               "Il file non è stato scritto: %1, colonna \"%2\", il testo \"%3\" contiene il separatore "
               "dei campi (%4) e senza qualificatore testo quella riga avrebbe un campo in più. Scegliere "
               "un qualificatore testo (doppio apice) o un altro separatore e ripetere la stampa.")
        .arg(dove, m_colonne.value(colonna).didascalia, testo, separatore);
}

QString EsportaTesto::TestoIntestazione() const
{
    QString riga;
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            riga += m_separatore;
        campoTesto(riga, m_colonne[i].didascalia);
    }
    riga += QLatin1String("\r\n");
    return riga;
}

bool EsportaTesto::componiRiga(QString &riga, const QList<CellaStampa> &celle, int *colonna) const
{
    bool intera = true;
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            riga += m_separatore;
        if (i >= celle.size())
            continue;
        const CellaStampa &c = celle[i];
        if (!c.valore.isValid() && c.testo.isEmpty())
            continue;
        if (!colonne_stampa::EValoreNumerico(c.valore)) {
            if (!campoTesto(riga, c.testo) && intera) {
                intera = false;
                if (colonna)
                    *colonna = i;
            }
            continue;
        }
        const qsizetype inizio = riga.size();
        if (m_numeriSemplici)
            colonne_stampa::AccodaNumeroSemplice(riga, c);
        else
            riga += c.testo;
        if (QStringView(riga).mid(inizio).contains(m_separatore)) {
            // A decimal comma with a comma separator: between delimiters, or
            // with a decimal point when there are none.
            const QString numero = riga.mid(inizio);
            riga.truncate(inizio);
            if (!m_delimitatore.isEmpty())
                campoTesto(riga, numero);
            else
                colonne_stampa::AccodaNumeroSemplice(riga, c, QLatin1Char('.'));
        }
    }
    riga += QLatin1String("\r\n");
    return intera;
}

QString EsportaTesto::TestoRiga(const QList<CellaStampa> &celle) const
{
    QString riga;
    componiRiga(riga, celle);
    return riga;
}

bool EsportaTesto::Apri(const QString &percorso, QString &errore)
{
    m_errore.clear();
    if (!m_file.Apri(percorso, errore))
        return false;
    if (m_bom)
        m_file.Buffer().append("\xEF\xBB\xBF");
    m_righe = 0;
    return true;
}

void EsportaTesto::accoda(const QString &riga)
{
    // Encoded straight into the buffer: no text of its own per row.
    QByteArray &buffer = m_file.Buffer();
    const qsizetype prima = buffer.size();
    buffer.resize(prima + riga.size() * 3);
    char *fine = m_codifica.appendToBuffer(buffer.data() + prima, riga);
    buffer.truncate(fine - buffer.constData());
    m_file.Aggiunto();
}

void EsportaTesto::ScriviIntestazione()
{
    if (!m_errore.isEmpty())
        return;
    QString riga;
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            riga += m_separatore;
        if (!campoTesto(riga, m_colonne[i].didascalia)) {
            m_errore = separatoreNelTesto(QStringLiteral("nella riga delle intestazioni"), i,
                                          m_colonne[i].didascalia);
            return;
        }
    }
    riga += QLatin1String("\r\n");
    accoda(riga);
}

void EsportaTesto::ScriviRiga(const QList<CellaStampa> &celle)
{
    ++m_righe;
    if (!m_errore.isEmpty())
        return;
    m_riga.clear();
    int colonna = -1;
    if (!componiRiga(m_riga, celle, &colonna)) {
        m_errore = separatoreNelTesto(QStringLiteral("nella riga %1").arg(m_righe), colonna,
                                      celle.value(colonna).testo);
        return;
    }
    accoda(m_riga);
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
