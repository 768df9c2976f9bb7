// The preview's page files: a small header, then each row of the page's
// pixels in runs. A page of a list is mostly white background, whole rows of
// it between the lines of text: a row equal to the one above is one word, a
// stretch of one colour is a count and the colour, and only the pixels of the
// glyphs' edges are written as they are. Writing a page so costs a pass over
// its pixels and about a seventh of its raw size on disk, far less than drawing it,
// and reading it back gives the very same pixels.
#include "printing/FrmVStampa.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace
{

constexpr char FirmaPagina[4] = {'C', 'L', 'V', 'R'};
struct TestataPagina {
    char firma[4];
    qint32 larghezza, altezza, formato, byteRiga;
    qint32 puntiMetroX, puntiMetroY;
    qint64 byteDati; // the runs that follow
};

// Each row starts with a word: RigaUguale, or the count of runs that make it.
// A run is a word n and then, for n > 0, n pixels as they are, for n < 0 one
// pixel repeated -n times.
constexpr qint32 RigaUguale = -1;
constexpr int RipetizioneMinima = 3; // shorter stretches stay literal

// Writes into a buffer sized for the worst case (see codificaRiga).
struct Scrittore {
    char *p;
    void parola(qint32 v)
    {
        std::memcpy(p, &v, sizeof v);
        p += sizeof v;
    }
    void pixel(const quint32 *px, qint32 n)
    {
        std::memcpy(p, px, size_t(n) * 4);
        p += size_t(n) * 4;
    }
};

// At most 4 bytes a pixel and two words a row: a run of one colour (three
// pixels or more, 8 bytes) or a stretch written as it is (a word and 4 bytes
// a pixel) never take more than 4 bytes a pixel plus one word each.
qsizetype massimoRiga(qint32 larghezza)
{
    return 8 + qsizetype(larghezza) * 8;
}

void codificaRiga(const quint32 *px, qint32 larghezza, Scrittore &w)
{
    char *inizioRiga = w.p;
    qint32 runs = 0;
    w.parola(0);
    qint32 letterali = 0; // pixels before px + i not written yet
    auto chiudiLetterali = [&](qint32 fine) {
        if (letterali == 0)
            return;
        w.parola(letterali);
        w.pixel(px + fine - letterali, letterali);
        ++runs;
        letterali = 0;
    };
    for (qint32 i = 0; i < larghezza;) {
        const quint32 colore = px[i];
        qint32 j = i + 1;
        while (j < larghezza && px[j] == colore)
            ++j;
        if (j - i >= RipetizioneMinima) {
            chiudiLetterali(i);
            w.parola(-(j - i));
            w.pixel(px + i, 1);
            ++runs;
        } else {
            letterali += j - i;
        }
        i = j;
    }
    chiudiLetterali(larghezza);
    std::memcpy(inizioRiga, &runs, sizeof runs);
}

// Reads what Scrittore wrote, never past the end.
struct Lettore {
    const char *p, *fine;
    bool parola(qint32 &v)
    {
        if (fine - p < qptrdiff(sizeof v))
            return false;
        std::memcpy(&v, p, sizeof v);
        p += sizeof v;
        return true;
    }
    bool pixel(quint32 *px, qint32 n)
    {
        if ((fine - p) / 4 < n)
            return false;
        std::memcpy(px, p, size_t(n) * 4);
        p += size_t(n) * 4;
        return true;
    }
};

bool decodificaRiga(Lettore &r, quint32 *px, const quint32 *sopra, qint32 larghezza)
{
    qint32 runs = 0;
    if (!r.parola(runs))
        return false;
    if (runs == RigaUguale) {
        if (!sopra)
            return false;
        std::memcpy(px, sopra, size_t(larghezza) * 4);
        return true;
    }
    qint32 x = 0;
    for (qint32 i = 0; i < runs; ++i) {
        qint32 n = 0;
        if (!r.parola(n) || n == 0 || n == std::numeric_limits<qint32>::min())
            return false;
        const qint32 quanti = n > 0 ? n : -n;
        if (quanti > larghezza - x)
            return false;
        if (n > 0) {
            if (!r.pixel(px + x, n))
                return false;
        } else {
            quint32 colore = 0;
            if (!r.pixel(&colore, 1))
                return false;
            std::fill_n(px + x, quanti, colore);
        }
        x += quanti;
    }
    return x == larghezza;
}

} // namespace

bool FrmVStampa::ScriviFilePagina(const QImage &origine, const QString &file)
{
    // The runs are of 32-bit pixels: the canvas is drawn in such a format.
    const QImage immagine =
        origine.depth() == 32 ? origine : origine.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (immagine.isNull())
        return false;
    TestataPagina t{};
    std::copy(std::begin(FirmaPagina), std::end(FirmaPagina), t.firma);
    t.larghezza = immagine.width();
    t.altezza = immagine.height();
    t.formato = immagine.format();
    t.byteRiga = qint32(immagine.bytesPerLine());
    t.puntiMetroX = immagine.dotsPerMeterX();
    t.puntiMetroY = immagine.dotsPerMeterY();
    QByteArray dati(qsizetype(t.altezza) * massimoRiga(t.larghezza), Qt::Uninitialized);
    Scrittore w{dati.data()};
    const size_t byteRiga = size_t(t.larghezza) * 4;
    for (int y = 0; y < t.altezza; ++y) {
        const auto *riga = reinterpret_cast<const quint32 *>(immagine.constScanLine(y));
        if (y > 0 && std::memcmp(riga, immagine.constScanLine(y - 1), byteRiga) == 0)
            w.parola(RigaUguale);
        else
            codificaRiga(riga, t.larghezza, w);
    }
    dati.truncate(w.p - dati.constData());
    t.byteDati = dati.size();
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(reinterpret_cast<const char *>(&t), sizeof t) == qint64(sizeof t) &&
           f.write(dati) == dati.size();
}

QImage FrmVStampa::LeggiFilePagina(const QString &file)
{
    QFile f(file);
    TestataPagina t{};
    if (!f.open(QIODevice::ReadOnly) || f.read(reinterpret_cast<char *>(&t), sizeof t) != qint64(sizeof t) ||
        !std::equal(std::begin(FirmaPagina), std::end(FirmaPagina), t.firma) || t.larghezza <= 0 ||
        t.altezza <= 0 || t.formato <= QImage::Format_Invalid || t.formato >= QImage::NImageFormats ||
        f.size() != qint64(sizeof t) + t.byteDati)
        return {};
    QImage immagine(t.larghezza, t.altezza, QImage::Format(t.formato));
    if (immagine.isNull())
        throw std::bad_alloc();
    if (immagine.depth() != 32 || immagine.bytesPerLine() != t.byteRiga)
        return {};
    const QByteArray dati = f.readAll();
    if (dati.size() != t.byteDati)
        return {};
    Lettore r{dati.constData(), dati.constData() + dati.size()};
    for (int y = 0; y < t.altezza; ++y) {
        const auto *sopra =
            y > 0 ? reinterpret_cast<const quint32 *>(immagine.constScanLine(y - 1)) : nullptr;
        if (!decodificaRiga(r, reinterpret_cast<quint32 *>(immagine.scanLine(y)), sopra, t.larghezza))
            return {};
    }
    if (r.p != r.fine)
        return {};
    immagine.setDotsPerMeterX(t.puntiMetroX);
    immagine.setDotsPerMeterY(t.puntiMetroY);
    return immagine;
}
