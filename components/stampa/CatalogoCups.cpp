// Printer catalogue over Qt's printer information and libcups.
#include "components/stampa/CatalogoCups.h"

#include "components/stampa/MessaggiStampa.h"
#include "components/stampa/NomiCodaCups.h"

#include <QFile>
#include <QHash>
#include <QPageSize>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSet>
#include <cups/cups.h>
#include <cups/pwg.h>
#include <memory>

namespace
{

struct LiberaDest {
    void operator()(cups_dest_t *d) const { cupsFreeDests(1, d); }
};
struct LiberaInfo {
    void operator()(cups_dinfo_t *i) const { cupsFreeDestInfo(i); }
};
struct ChiudiHttp {
    void operator()(http_t *h) const { httpClose(h); }
};
using Dest = std::unique_ptr<cups_dest_t, LiberaDest>;
using InfoDest = std::unique_ptr<cups_dinfo_t, LiberaInfo>;
using Http = std::unique_ptr<http_t, ChiudiHttp>;

// The named queue; the default one for an empty name.
Dest destinazione(const QString &nome)
{
    const QByteArray n = nome.toUtf8();
    return Dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nome.isEmpty() ? nullptr : n.constData(), nullptr));
}

// A queue with what it supports, over a connection of its own (libcups
// names the queue's media only over one); empty when the server does not
// know the queue.
struct CodaConInfo {
    Http http;
    Dest dest;
    InfoDest info;
    explicit operator bool() const { return http && dest && info; }
};

CodaConInfo codaConInfo(const QString &nome)
{
    CodaConInfo c;
    c.http.reset(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
    if (!c.http)
        return c;
    const QByteArray n = nome.toUtf8();
    c.dest.reset(cupsGetNamedDest(c.http.get(), nome.isEmpty() ? nullptr : n.constData(), nullptr));
    if (c.dest)
        c.info.reset(cupsCopyDestInfo(c.http.get(), c.dest.get()));
    return c;
}

struct AttributiCoda {
    QString nome;
    QString indirizzo; // device address (the printer's own for a forwarded queue)
    QString modello;   // make and model
    QSizeF cartaMm;    // the paper the queue uses by default
};

// Every queue with its device address, make and default paper, in one
// request, in the server's order (by name).
QList<AttributiCoda> attributiCode()
{
    QList<AttributiCoda> r;
    ipp_t *richiesta = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char *const nomi[] = {"printer-name", "device-uri", "printer-uri-supported", "media-default",
                                       "printer-make-and-model"};
    ippAddStrings(richiesta, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 5, nullptr, nomi);
    ipp_t *risposta = cupsDoRequest(CUPS_HTTP_DEFAULT, richiesta, "/");
    if (!risposta)
        return r;
    AttributiCoda a;
    auto chiudi = [&] {
        if (!a.nome.isEmpty())
            r << a;
        a = AttributiCoda{};
    };
    for (ipp_attribute_t *attr = ippFirstAttribute(risposta); attr; attr = ippNextAttribute(risposta)) {
        const char *n = ippGetName(attr);
        if (!n) { // the separator between two printers
            chiudi();
            continue;
        }
        const QByteArray campo(n);
        const char *valore = ippGetString(attr, 0, nullptr);
        if (!valore)
            continue;
        if (campo == "printer-name") {
            a.nome = QString::fromUtf8(valore);
        } else if (campo == "printer-make-and-model") {
            a.modello = QString::fromUtf8(valore);
        } else if (campo == "device-uri") {
            a.indirizzo = QString::fromUtf8(valore);
        } else if (campo == "printer-uri-supported" && a.indirizzo.isEmpty()) {
            a.indirizzo = QString::fromUtf8(valore);
        } else if (campo == "media-default") {
            if (const pwg_media_t *m = pwgMediaForPWG(valore))
                a.cartaMm = QSizeF(m->width / 100.0, m->length / 100.0);
        }
    }
    chiudi();
    ippDelete(risposta);
    return r;
}

// The attributes asked of one printer or one job (IPP Get-*-Attributes).
struct Risposta {
    ipp_t *r = nullptr;
    ~Risposta() { ippDelete(r); }
    int intero(const char *nome, int predefinito) const
    {
        ipp_attribute_t *a = r ? ippFindAttribute(r, nome, IPP_TAG_ZERO) : nullptr;
        return a ? ippGetInteger(a, 0) : predefinito;
    }
    // Every value of a text or keyword attribute, joined.
    QString testo(const char *nome) const
    {
        ipp_attribute_t *a = r ? ippFindAttribute(r, nome, IPP_TAG_ZERO) : nullptr;
        QStringList v;
        for (int i = 0, n = a ? ippGetCount(a) : 0; i < n; ++i)
            if (const char *t = ippGetString(a, i, nullptr); t && *t && qstrcmp(t, "none") != 0)
                v << QString::fromUtf8(t);
        return v.join(QStringLiteral(", "));
    }
};

QByteArray uriStampante(const QByteArray &coda)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", coda.constData());
    return QByteArray(uri);
}

void chiedi(Risposta &risposta, ipp_op_t operazione, const QByteArray &coda, int lavoro,
            std::initializer_list<const char *> attributi)
{
    ipp_t *richiesta = ippNewRequest(operazione);
    ippAddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 uriStampante(coda).constData());
    if (lavoro > 0)
        ippAddInteger(richiesta, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", lavoro);
    ippAddString(richiesta, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(richiesta, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(attributi.size()), nullptr, attributi.begin());
    risposta.r = cupsDoRequest(CUPS_HTTP_DEFAULT, richiesta, "/");
}

// A job the queue took: printed, or waiting unseen in a stopped queue or
// held, or already stopped by the printer.
EsitoInvio statoDopoInvio(const QString &stampante, const QByteArray &coda, int lavoro, QString &messaggio)
{
    Risposta statoCoda;
    chiedi(statoCoda, IPP_OP_GET_PRINTER_ATTRIBUTES, coda, 0, {"printer-state", "printer-state-message"});
    Risposta job;
    chiedi(job, IPP_OP_GET_JOB_ATTRIBUTES, coda, lavoro,
           {"job-state", "job-state-reasons", "job-printer-state-message"});
    const int statoLavoro = job.intero("job-state", IPP_JSTATE_PENDING);
    if (statoLavoro == IPP_JSTATE_HELD) {
        messaggio = messaggi_stampa::LavoroTrattenuto(stampante, lavoro, job.testo("job-state-reasons"));
        return EsitoInvio::InAttesa;
    }
    if (statoLavoro == IPP_JSTATE_STOPPED || statoLavoro == IPP_JSTATE_CANCELED ||
        statoLavoro == IPP_JSTATE_ABORTED) {
        QString dettaglio = job.testo("job-printer-state-message");
        if (dettaglio.isEmpty())
            dettaglio = job.testo("job-state-reasons");
        messaggio = messaggi_stampa::LavoroInterrotto(stampante, lavoro, dettaglio);
        return EsitoInvio::Rifiutato;
    }
    const bool ferma = statoCoda.intero("printer-state", IPP_PSTATE_IDLE) == IPP_PSTATE_STOPPED;
    if (statoLavoro != IPP_JSTATE_COMPLETED && ferma) {
        messaggio =
            messaggi_stampa::StampanteFerma(stampante, lavoro, statoCoda.testo("printer-state-message"));
        return EsitoInvio::InAttesa;
    }
    return EsitoInvio::Accettato;
}

// A paper's number: the Windows number of its standard size, else 256 up.
int numeroCarta(const QSizeF &mm, int &prossimaLibera)
{
    const QPageSize::PageSizeId id = QPageSize::id(mm, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    const int w = id == QPageSize::Custom ? 0 : QPageSize::windowsId(id);
    return w > 0 ? w : prossimaLibera++;
}

} // namespace

int CatalogoCups::NumeroCassetto(const QString &chiave, int posizione)
{
    static const QHash<QString, int> noti = {
        {QStringLiteral("top"), 1},      {QStringLiteral("upper"), 1},
        {QStringLiteral("bottom"), 2},   {QStringLiteral("lower"), 2},
        {QStringLiteral("middle"), 3},   {QStringLiteral("manual"), 4},
        {QStringLiteral("envelope"), 5}, {QStringLiteral("auto"), 7},
        {QStringLiteral("tractor"), 8},  {QStringLiteral("large-capacity"), 11},
    };
    const QString k = chiave.trimmed().toLower();
    const auto it = noti.constFind(k);
    if (it != noti.constEnd())
        return *it;
    static const QRegularExpression vassoio(QStringLiteral("^tray-(\\d{1,3})$"));
    const QRegularExpressionMatch m = vassoio.match(k);
    if (m.hasMatch())
        return 256 + m.captured(1).toInt();
    return 300 + posizione;
}

// Qt's printer list would open every queue's driver description: one
// request to the server gives what the catalogue needs.
QList<Stampante> CatalogoCups::LeggiStampanti()
{
    QList<Stampante> r;
    for (const AttributiCoda &a : attributiCode()) {
        Stampante s;
        s.DeviceName = a.nome;
        s.Port = a.indirizzo;
        s.DriverName = a.modello;
        // The paper CUPS gives the queue; Qt's own guess when it gives none.
        int libera = 256;
        if (!a.cartaMm.isEmpty()) {
            s.PaperSize = numeroCarta(a.cartaMm, libera);
        } else {
            const QPageSize carta = QPrinterInfo::printerInfo(a.nome).defaultPageSize();
            if (carta.isValid())
                s.PaperSize = carta.windowsId();
        }
        r << s;
    }
    AggiungiStampantiPdf(r);
    return r;
}

// The user's default (lpoptions, PRINTER), else the server's.
QString CatalogoCups::LeggiPredefinita()
{
    const Dest d = destinazione(QString());
    return d ? QString::fromUtf8(d->name) : QString();
}

QList<VoceCarta> CatalogoCups::Cassetti(const QString &stampante)
{
    QList<VoceCarta> r;
    const CodaConInfo coda = codaConInfo(stampante);
    if (!coda)
        return r;
    http_t *http = coda.http.get();
    cups_dest_t *dest = coda.dest.get();
    cups_dinfo_t *info = coda.info.get();
    const NomiCodaCups nomi(http, dest->name);
    ipp_attribute_t *attr = cupsFindDestSupported(http, dest, info, "media-source");
    const int n = attr ? ippGetCount(attr) : 0;
    QSet<int> usati;
    int libere = 0;
    for (int i = 0; i < n; ++i) {
        const char *chiave = ippGetString(attr, i, nullptr);
        if (!chiave)
            continue;
        VoceCarta v;
        v.chiave = QString::fromUtf8(chiave);
        v.numero = NumeroCassetto(v.chiave, libere);
        if (v.numero >= 300)
            ++libere;
        // Two names for one Windows bin: the second gets a number of its own.
        while (usati.contains(v.numero))
            v.numero = 300 + libere++;
        usati.insert(v.numero);
        v.nome = nomi.Cassetto(v.chiave);
        if (v.nome.isEmpty()) {
            const char *testo = cupsLocalizeDestValue(http, dest, info, "media-source", chiave);
            v.nome = testo ? QString::fromUtf8(testo) : v.chiave;
        }
        r << v;
    }
    return r;
}

QList<VoceCarta> CatalogoCups::Carte(const QString &stampante)
{
    QList<VoceCarta> r;
    LeggiCarte(stampante, r);
    return r;
}

bool CatalogoCups::LeggiCarte(const QString &stampante, QList<VoceCarta> &r)
{
    r.clear();
    const CodaConInfo coda = codaConInfo(stampante);
    if (!coda)
        return true;
    http_t *http = coda.http.get();
    cups_dest_t *dest = coda.dest.get();
    cups_dinfo_t *info = coda.info.get();
    const NomiCodaCups nomi(http, dest->name);
    const int n = cupsGetDestMediaCount(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
    QSet<int> usati;
    int libera = 256;
    // A size the queue counts but cannot give is a queue whose papers are
    // not to be trusted: the caller says so instead of listing them.
    bool completo = true;
    for (int i = 0; i < n; ++i) {
        cups_size_t misura{};
        if (!cupsGetDestMediaByIndex(http, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &misura)) {
            completo = false;
            continue;
        }
        VoceCarta v;
        v.chiave = QString::fromUtf8(misura.media);
        v.millimetri = QSizeF(misura.width / 100.0, misura.length / 100.0);
        v.numero = numeroCarta(v.millimetri, libera);
        // Sizes listed twice (margins, borderless) are one paper.
        if (usati.contains(v.numero))
            continue;
        usati.insert(v.numero);
        // Shown by the name the queue gives it; the keyword is what the job
        // asks for.
        v.nome = nomi.Carta(misura.width, misura.length);
        const QPageSize::PageSizeId id = QPageSize::id(v.numero);
        if (v.nome.isEmpty() && id != QPageSize::Custom)
            v.nome = QPageSize::name(id);
        if (v.nome.isEmpty()) {
            const char *testo = cupsLocalizeDestMedia(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &misura);
            v.nome = testo ? QString::fromUtf8(testo) : v.chiave;
        }
        r << v;
    }
    return completo;
}

EsitoInvio CatalogoCups::Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                               QString &messaggio)
{
    Dest dest = destinazione(stampante);
    if (!dest) {
        messaggio = messaggi_stampa::StampanteNonInstallata(stampante);
        return EsitoInvio::Rifiutato;
    }
    int numOpzioni = 0;
    cups_option_t *opz = nullptr;
    if (opzioni.grezzo) {
        numOpzioni = cupsAddOption("raw", "true", numOpzioni, &opz);
    } else {
        if (opzioni.carta > 0)
            for (const VoceCarta &c : Carte(stampante))
                if (c.numero == opzioni.carta) {
                    numOpzioni = cupsAddOption("media", c.chiave.toUtf8().constData(), numOpzioni, &opz);
                    break;
                }
        if (opzioni.cassetto > 0)
            for (const VoceCarta &c : Cassetti(stampante))
                if (c.numero == opzioni.cassetto) {
                    const QByteArray col = "{media-source=" + c.chiave.toUtf8() + '}';
                    numOpzioni = cupsAddOption("media-col", col.constData(), numOpzioni, &opz);
                    break;
                }
    }
    if (opzioni.copie > 1)
        numOpzioni = cupsAddOption("copies", QByteArray::number(opzioni.copie).constData(), numOpzioni, &opz);
    const int lavoro = cupsPrintFile2(CUPS_HTTP_DEFAULT, dest->name, QFile::encodeName(file).constData(),
                                      opzioni.titolo.toUtf8().constData(), numOpzioni, opz);
    cupsFreeOptions(numOpzioni, opz);
    if (lavoro <= 0) {
        const QString sistema = QString::fromUtf8(cupsLastErrorString());
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
            messaggio = messaggi_stampa::CodaNonAccetta(stampante, sistema);
        else
            messaggio = messaggi_stampa::CodaRifiuta(stampante, sistema);
        return EsitoInvio::Rifiutato;
    }
    return statoDopoInvio(stampante, QByteArray(dest->name), lavoro, messaggio);
}
