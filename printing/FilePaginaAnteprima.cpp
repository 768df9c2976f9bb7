// The preview's page files: a small header, then each row of the page's
// pixels in runs. A page of a list is mostly white background, whole rows of
// it between the lines of text: a row equal to the one above is one word, a
// stretch of one colour is a count and the colour, and only the pixels of the
// glyphs' edges are written as they are. Writing a page so costs a pass over
// its pixels and a tenth of its raw size on disk, far less than drawing it,
// and reading it back gives the very same pixels.
#include "printing/FrmVStampa.h"

#include <QFile>
#include <algorithm>
#include <cstring>
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

void aggiungi(QByteArray &dati, const void *p, qsizetype n)
{
    dati.append(static_cast<const char *>(p), n);
}

void codificaRiga(const quint32 *px, qint32 larghezza, QByteArray &dati)
{
    const qsizetype inizioRiga = dati.size();
    qint32 runs = 0;
    aggiungi(dati, &runs, sizeof runs);
    qint32 letterali = 0; // pixels from px + i - letterali not written yet
    auto chiudiLetterali = [&](qint32 fine) {
        if (letterali == 0)
            return;
        aggiungi(dati, &letterali, sizeof letterali);
        aggiungi(dati, px + fine - letterali, qsizetype(letterali) * 4);
        ++runs;
        letterali = 0;
    };
    for (qint32 i = 0; i < larghezza;) {
        qint32 j = i + 1;
        while (j < larghezza && px[j] == px[i])
            ++j;
        if (j - i >= RipetizioneMinima) {
            chiudiLetterali(i);
            const qint32 n = -(j - i);
            aggiungi(dati, &n, sizeof n);
            aggiungi(dati, px + i, 4);
            ++runs;
        } else {
            letterali += j - i;
        }
        i = j;
    }
    chiudiLetterali(larghezza);
    std::memcpy(dati.data() + inizioRiga, &runs, sizeof runs);
}

// Reads `n` bytes at `pos` of `dati` into `dove`; false past the end.
bool leggi(const QByteArray &dati, qsizetype &pos, void *dove, qsizetype n)
{
    if (n < 0 || dati.size() - pos < n)
        return false;
    std::memcpy(dove, dati.constData() + pos, size_t(n));
    pos += n;
    return true;
}

bool decodificaRiga(const QByteArray &dati, qsizetype &pos, quint32 *px, const quint32 *sopra,
                    qint32 larghezza)
{
    qint32 runs = 0;
    if (!leggi(dati, pos, &runs, sizeof runs))
        return false;
    if (runs == RigaUguale) {
        if (!sopra)
            return false;
        std::memcpy(px, sopra, size_t(larghezza) * 4);
        return true;
    }
    qint32 x = 0;
    for (qint32 r = 0; r < runs; ++r) {
        qint32 n = 0;
        if (!leggi(dati, pos, &n, sizeof n) || n == 0 || n == std::numeric_limits<qint32>::min())
            return false;
        const qint32 quanti = n > 0 ? n : -n;
        if (quanti > larghezza - x)
            return false;
        if (n > 0) {
            if (!leggi(dati, pos, px + x, qsizetype(n) * 4))
                return false;
        } else {
            quint32 colore = 0;
            if (!leggi(dati, pos, &colore, 4))
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
    QByteArray dati;
    dati.reserve(immagine.sizeInBytes() / 8);
    const size_t byteRiga = size_t(t.larghezza) * 4;
    for (int y = 0; y < t.altezza; ++y) {
        const auto *riga = reinterpret_cast<const quint32 *>(immagine.constScanLine(y));
        if (y > 0 && std::memcmp(riga, immagine.constScanLine(y - 1), byteRiga) == 0)
            aggiungi(dati, &RigaUguale, sizeof RigaUguale);
        else
            codificaRiga(riga, t.larghezza, dati);
    }
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
    qsizetype pos = 0;
    for (int y = 0; y < t.altezza; ++y) {
        const auto *sopra =
            y > 0 ? reinterpret_cast<const quint32 *>(immagine.constScanLine(y - 1)) : nullptr;
        if (!decodificaRiga(dati, pos, reinterpret_cast<quint32 *>(immagine.scanLine(y)), sopra, t.larghezza))
            return {};
    }
    if (pos != dati.size())
        return {};
    immagine.setDotsPerMeterX(t.puntiMetroX);
    immagine.setDotsPerMeterY(t.puntiMetroY);
    return immagine;
}
