// Separated-text export (Excel-compatible and plain text files).
#include "components/stampa/EsportaTesto.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/OpzStampa.h"

namespace {

constexpr qsizetype BloccoScrittura = 256 * 1024;

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
    m_file = std::make_unique<QSaveFile>(percorso);
    if (!m_file->open(QIODevice::WriteOnly)) {
        errore = QStringLiteral("Impossibile creare il file %1: %2").arg(percorso, m_file->errorString());
        m_file.reset();
        return false;
    }
    m_buffer.clear();
    m_buffer.reserve(BloccoScrittura + 64 * 1024);
    if (m_bom)
        m_buffer.append("\xEF\xBB\xBF");
    m_righe = 0;
    m_errore = false;
    return true;
}

void EsportaTesto::accoda(const QString &riga)
{
    // Encoded straight into the buffer: no text of its own per row.
    const qsizetype prima = m_buffer.size();
    m_buffer.resize(prima + riga.size() * 3);
    char *fine = m_codifica.appendToBuffer(m_buffer.data() + prima, riga);
    m_buffer.truncate(fine - m_buffer.constData());
    if (m_buffer.size() >= BloccoScrittura)
        svuota();
}

void EsportaTesto::svuota()
{
    if (m_file && !m_buffer.isEmpty() && m_file->write(m_buffer) != m_buffer.size())
        m_errore = true;
    m_buffer.clear();
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
    if (!m_file) {
        errore = QStringLiteral("Il file di stampa non è aperto");
        return false;
    }
    svuota();
    const QString nome = m_file->fileName();
    if (m_errore || !m_file->commit()) {
        errore = QStringLiteral("Impossibile scrivere il file %1: %2").arg(nome, m_file->errorString());
        m_file.reset();
        return false;
    }
    m_file.reset();
    return true;
}

void EsportaTesto::Annulla()
{
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset();
    }
    m_buffer.clear();
}
