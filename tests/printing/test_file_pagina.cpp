// The preview's page files read back to the very pixels written, whatever
// the mix of stretches of one colour and pixels that all differ, and refused
// when cut short or altered.
#include "printing/FrmVStampa.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QImage pagina(int larghezza, int altezza, QImage::Format formato, const std::function<QRgb(int, int)> &colore)
{
    QImage i(larghezza, altezza, formato);
    for (int y = 0; y < altezza; ++y)
        for (int x = 0; x < larghezza; ++x)
            i.setPixel(x, y, colore(x, y));
    i.setDotsPerMeterX(2835);
    i.setDotsPerMeterY(1417);
    return i;
}

} // namespace

TEST(FilePagina, ReadBackGivesTheSamePixels)
{
    QRandomGenerator caso(7);
    const struct {
        const char *nome;
        QImage immagine;
    } casi[] = {
        {"white", pagina(300, 40, QImage::Format_RGB32, [](int, int) { return qRgb(255, 255, 255); })},
        {"noise",
         pagina(97, 31, QImage::Format_RGB32, [&](int, int) { return caso.generate() | 0xff000000u; })},
        // Stretches of 1, 2, 3 and 4 pixels, each row shifted.
        {"stretches",
         pagina(101, 23, QImage::Format_RGB32,
                [](int x, int y) { return ((x + y) % 10) < 4 ? qRgb(0, 0, 0) : qRgb(x % 3, 9, 9); })},
        {"one column", pagina(1, 9, QImage::Format_RGB32, [](int, int y) { return qRgb(y / 3, 0, 0); })},
        {"rows alike then not",
         pagina(50, 12, QImage::Format_RGB32,
                [](int x, int y) { return y < 5 || y > 9 ? qRgb(1, 2, 3) : qRgb(x, y, 0); })},
        {"alpha", pagina(40, 10, QImage::Format_ARGB32, [](int x, int y) { return qRgba(x, y, 5, x * 6); })},
    };
    QTemporaryDir cartella;
    for (const auto &c : casi) {
        const QString file = cartella.filePath(QString::fromLatin1(c.nome));
        ASSERT_TRUE(FrmVStampa::ScriviFilePagina(c.immagine, file)) << c.nome;
        const QImage letta = FrmVStampa::LeggiFilePagina(file);
        EXPECT_EQ(letta.format(), c.immagine.format()) << c.nome;
        EXPECT_EQ(letta, c.immagine) << c.nome;
        EXPECT_EQ(letta.dotsPerMeterX(), 2835) << c.nome;
        EXPECT_EQ(letta.dotsPerMeterY(), 1417) << c.nome;
    }
}

TEST(FilePagina, AFileCutShortOrAlteredIsRefused)
{
    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("p.001"));
    const QImage immagine = pagina(64, 16, QImage::Format_RGB32,
                                   [](int x, int y) { return x == y ? qRgb(0, 0, 0) : qRgb(255, 255, 255); });
    ASSERT_TRUE(FrmVStampa::ScriviFilePagina(immagine, file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray buono = f.readAll();
    f.close();
    auto prova = [&](const QByteArray &contenuto) {
        QFile g(file);
        EXPECT_TRUE(g.open(QIODevice::WriteOnly | QIODevice::Truncate));
        g.write(contenuto);
        g.close();
        return FrmVStampa::LeggiFilePagina(file);
    };
    EXPECT_TRUE(prova(buono.left(buono.size() - 1)).isNull());
    // The first row's first run (after the 40-byte header and the row's
    // count of runs) made longer than the row.
    QByteArray lungo = buono;
    const qint32 troppi = -1000;
    lungo.replace(44, 4, reinterpret_cast<const char *>(&troppi), 4);
    EXPECT_TRUE(prova(lungo).isNull());
    EXPECT_EQ(prova(buono), immagine);
}
