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

void EsportaTesto::campoTesto(QString &riga, const QString &testo) const
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
        return;
    }
    // No delimiter: a line break inside a value would start a new row.
    if (contieneFineRiga(testo)) {
        QString t = testo;
        t.replace(QLatin1String("\r\n"), QLatin1String(" "));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        riga += t;
    } else {
        riga += testo;
    }
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

void EsportaTesto::componiRiga(QString &riga, const QList<CellaStampa> &celle) const
{
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (i > 0)
            riga += m_separatore;
        if (i >= celle.size())
            continue;
        const CellaStampa &c = celle[i];
        if (!c.valore.isValid() && c.testo.isEmpty())
            continue;
        if (!colonne_stampa::EValoreNumerico(c.valore)) {
            campoTesto(riga, c.testo);
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
}

QString EsportaTesto::TestoRiga(const QList<CellaStampa> &celle) const
{
    QString riga;
    componiRiga(riga, celle);
    return riga;
}

bool EsportaTesto::Apri(const QString &percorso, QString &errore)
{
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
    accoda(TestoIntestazione());
}

void EsportaTesto::ScriviRiga(const QList<CellaStampa> &celle)
{
    m_riga.clear();
    componiRiga(m_riga, celle);
    accoda(m_riga);
    ++m_righe;
}

bool EsportaTesto::Chiudi(QString &errore)
{
    return m_file.Conferma(errore);
}

void EsportaTesto::Annulla()
{
    m_file.Scarta();
}
