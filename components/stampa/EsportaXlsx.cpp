// Excel workbook export (libxlsxwriter, constant-memory mode).
#include "components/stampa/EsportaXlsx.h"

#include "components/stampa/ColonneStampa.h"
#include "components/stampa/MessaggiStampa.h"
#include "components/stampa/OpzStampa.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <xlsxwriter.h>

namespace
{

// Excel keeps at most this many characters in a cell.
constexpr int CaratteriCella = 32767;

// A spreadsheet reads "_xHHHH_" in a cell's text as the character of code
// HHHH (some read it with fewer or more hex digits, "_x4_" among them):
// where a text holds one as it is, its underscore is written as "_x005F_"
// (the underscore's own code), so the cell reads back as written.
bool codiceLetterale(QByteArrayView t, qsizetype i)
{
    if (i + 3 >= t.size() || t[i] != '_' || t[i + 1] != 'x')
        return false;
    qsizetype k = i + 2;
    while (k < t.size() && std::isxdigit(static_cast<unsigned char>(t[k])))
        ++k;
    return k > i + 2 && k < t.size() && t[k] == '_';
}

// `t` with every literal "_xHHHH_" kept literal, into `r` (NUL-ended).
void testoCella(QByteArrayView t, QByteArray &r)
{
    r.resize(0);
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (codiceLetterale(t, i))
            r.append("_x005F_");
        else
            r.append(t[i]);
    }
}

lxw_datetime dataExcel(const QDate &d, const QTime &t = QTime(0, 0))
{
    lxw_datetime r{};
    r.year = d.year();
    r.month = d.month();
    r.day = d.day();
    r.hour = t.hour();
    r.min = t.minute();
    r.sec = t.second() + t.msec() / 1000.0;
    return r;
}

} // namespace

EsportaXlsx::EsportaXlsx(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo)
    : m_colonne(colonne), m_titolo(titolo), m_numeriSemplici(opz.NumNoForm() != 0)
{
}

EsportaXlsx::~EsportaXlsx()
{
    Annulla();
}

QString EsportaXlsx::NomeFoglio(const QString &titolo)
{
    QString nome;
    for (const QChar c : titolo) {
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 32)
            nome += QLatin1Char(' ');
        else
            nome += c;
    }
    nome = nome.simplified();
    // Excel refuses a name that starts or ends with an apostrophe.
    while (nome.startsWith(QLatin1Char('\'')))
        nome.remove(0, 1);
    nome = nome.left(31);
    while (nome.endsWith(QLatin1Char('\'')))
        nome.chop(1);
    return nome.trimmed().isEmpty() ? QStringLiteral("Foglio1") : nome.trimmed();
}

bool EsportaXlsx::Apri(const QString &percorso, QString &errore)
{
    Annulla();
    m_percorso = percorso;
    const QFileInfo info(percorso);
    // The library creates the file only when it closes it: a folder that
    // cannot take it is said now, before any row is read.
    errore = messaggi_stampa::ControllaCartella(percorso);
    if (!errore.isEmpty())
        return false;
    // The workbook is written beside its final name and renamed at the end
    // (created by the library, so it gets the usual permissions).
    do {
        m_temporaneo = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2.%3.tmp")
                .arg(info.fileName())
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    } while (QFileInfo::exists(m_temporaneo));
    lxw_workbook_options opzioni{};
    opzioni.constant_memory = LXW_TRUE;
    opzioni.use_zip64 = LXW_TRUE;
    errno = 0;
    m_libro = workbook_new_opt(QFile::encodeName(m_temporaneo).constData(), &opzioni);
    if (!m_libro) {
        const int numero = errno;
        QFile::remove(m_temporaneo);
        errore = messaggi_stampa::FileNonScrivibile(percorso, numero);
        return false;
    }
    m_foglioUtf8 = NomeFoglio(m_titolo).toUtf8();
    m_foglio = workbook_add_worksheet(m_libro, m_foglioUtf8.constData());
    if (!m_foglio) {
        Annulla();
        errore =
            QStringLiteral("Non è stato possibile preparare il foglio di lavoro del file %1. Ripetere la "
                           "stampa; se l'errore si ripete, scegliere un altro formato di file.")
                .arg(QDir::toNativeSeparators(percorso));
        return false;
    }
    if (!m_titolo.isEmpty()) {
        m_titoloUtf8 = m_titolo.toUtf8();
        lxw_doc_properties proprieta{};
        proprieta.title = m_titoloUtf8.data();
        workbook_set_properties(m_libro, &proprieta);
    }
    m_grassetto = workbook_add_format(m_libro);
    format_set_bold(m_grassetto);
    m_data = workbook_add_format(m_libro);
    format_set_num_format(m_data, "dd/mm/yyyy");
    m_dataOra = workbook_add_format(m_libro);
    format_set_num_format(m_dataOra, "dd/mm/yyyy hh:mm");
    // Column widths in characters of the default font (about 105 twips each).
    for (int c = 0; c < m_colonne.size(); ++c) {
        const double caratteri = qBound(4.0, colonne_stampa::LarghezzaTwip(m_colonne[c]) / 105.0, 120.0);
        worksheet_set_column(m_foglio, lxw_col_t(c), lxw_col_t(c), caratteri, nullptr);
    }
    m_righe = 0;
    m_errore.clear();
    return true;
}

lxw_format *EsportaXlsx::formatoNumero(int decimali)
{
    if (m_numeriSemplici)
        return nullptr;
    decimali = qBound(0, decimali, 10);
    auto it = m_formatiNumero.constFind(decimali);
    if (it != m_formatiNumero.constEnd())
        return *it;
    QByteArray modello("#,##0");
    if (decimali > 0)
        modello += '.' + QByteArray(decimali, '0');
    lxw_format *f = workbook_add_format(m_libro);
    format_set_num_format(f, modello.constData());
    m_formatiNumero.insert(decimali, f);
    return f;
}

void EsportaXlsx::scriviTesto(int riga, int col, const QString &testo, lxw_format *formato)
{
    QByteArray utf8 = (testo.size() > CaratteriCella ? testo.left(CaratteriCella) : testo).toUtf8();
    if (utf8.contains("_x")) {
        QByteArray protetto;
        testoCella(utf8, protetto);
        utf8 = protetto;
    }
    worksheet_write_string(m_foglio, lxw_row_t(riga), lxw_col_t(col), utf8.constData(), formato);
}

void EsportaXlsx::scriviUtf8(int riga, int col, QByteArrayView testo)
{
    // No more bytes than a cell's characters: no more characters either.
    if (testo.size() > CaratteriCella) {
        scriviTesto(riga, col, QString::fromUtf8(testo), nullptr);
        return;
    }
    if (testo.indexOf("_x") >= 0) {
        testoCella(testo, m_cella);
    } else {
        m_cella.resize(0);
        m_cella.append(testo.data(), testo.size());
    }
    worksheet_write_string(m_foglio, lxw_row_t(riga), lxw_col_t(col), m_cella.constData(), nullptr);
}

void EsportaXlsx::ScriviIntestazione()
{
    if (!m_foglio)
        return;
    for (int c = 0; c < m_colonne.size(); ++c)
        scriviTesto(0, c, m_colonne[c].didascalia, m_grassetto);
    worksheet_freeze_panes(m_foglio, 1, 0);
}

void EsportaXlsx::ScriviRiga(const QList<CellaStampa> &celle)
{
    if (!m_foglio || !m_errore.isEmpty())
        return;
    if (m_righe >= RigheMassime) {
        m_errore = QStringLiteral("Un foglio Excel contiene al massimo %1 righe: la lista è troppo lunga per "
                                  "questo formato. Scegliere il formato \"Compatibile Excel\" o \"Testo\".")
                       .arg(QLocale(QLocale::Italian).toString(RigheMassime));
        return;
    }
    const int riga = int(m_righe + 1);
    for (int c = 0; c < m_colonne.size() && c < celle.size(); ++c) {
        if (const QByteArrayView b = m_sorgente ? m_sorgente->TestoUtf8(c) : QByteArrayView(); !b.isNull()) {
            if (!b.isEmpty())
                scriviUtf8(riga, c, b);
            continue;
        }
        const CellaStampa &cella = celle[c];
        const QVariant &v = cella.valore;
        double numero = 0;
        if (colonne_stampa::Numero(v, numero)) {
            worksheet_write_number(m_foglio, lxw_row_t(riga), lxw_col_t(c), numero,
                                   formatoNumero(colonne_stampa::DecimaliMostrati(cella.testo)));
        } else if (v.typeId() == QMetaType::QDate && v.toDate().isValid() && v.toDate().year() >= 1900) {
            lxw_datetime d = dataExcel(v.toDate());
            worksheet_write_datetime(m_foglio, lxw_row_t(riga), lxw_col_t(c), &d, m_data);
        } else if (v.typeId() == QMetaType::QDateTime && v.toDateTime().isValid() &&
                   v.toDateTime().date().year() >= 1900) {
            const QDateTime dt = v.toDateTime();
            lxw_datetime d = dataExcel(dt.date(), dt.time());
            worksheet_write_datetime(m_foglio, lxw_row_t(riga), lxw_col_t(c), &d, m_dataOra);
        } else if (!cella.testo.isEmpty()) {
            scriviTesto(riga, c, cella.testo, nullptr);
        }
    }
    ++m_righe;
}

bool EsportaXlsx::Chiudi(QString &errore)
{
    if (!m_libro) {
        errore = QStringLiteral("Il file di stampa non è aperto");
        return false;
    }
    if (!m_errore.isEmpty()) {
        errore = m_errore;
        Annulla();
        return false;
    }
    errno = 0;
    const lxw_error esito = workbook_close(m_libro);
    const int numero = errno;
    m_libro = nullptr;
    m_foglio = nullptr;
    m_formatiNumero.clear();
    if (esito != LXW_NO_ERROR) {
        QFile::remove(m_temporaneo);
        errore =
            messaggi_stampa::FileNonScrivibile(m_percorso, numero, QString::fromUtf8(lxw_strerror(esito)));
        return false;
    }
    // rename() puts the finished workbook in place of any earlier file at once.
    if (std::rename(QFile::encodeName(m_temporaneo).constData(), QFile::encodeName(m_percorso).constData()) !=
        0) {
        const int numero = errno;
        QFile::remove(m_temporaneo);
        errore = messaggi_stampa::FileNonScrivibile(m_percorso, numero,
                                                    QString::fromLocal8Bit(std::strerror(numero)));
        return false;
    }
    m_temporaneo.clear();
    return true;
}

void EsportaXlsx::Annulla()
{
    if (m_libro) {
        // Closing is the only way to release the library's buffers; the
        // half-written file goes with the temporary name.
        workbook_close(m_libro);
        m_libro = nullptr;
        m_foglio = nullptr;
        m_formatiNumero.clear();
    }
    if (!m_temporaneo.isEmpty()) {
        QFile::remove(m_temporaneo);
        m_temporaneo.clear();
    }
}
