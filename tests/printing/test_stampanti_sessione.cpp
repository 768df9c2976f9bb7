// Printers of terminal sessions over the profile's template: names saved
// without the session number and read back, other sessions' printers kept
// out of the list, session numbers never matched inside longer numbers.
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/ProfiloStampanti.h"
#include "components/util/ProfiloIni.h"
#include "printing/AziendaUtilStampe.h"
#include "services/Globali.h"
#include "support/StampaQt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Sessioni : public ::testing::Test
{
  public:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        for (const char *n : {"Laser S3", "Laser S4", "Laser S31", "Comune"})
            c->Aggiungi({QString::fromUtf8(n), QStringLiteral("socket://h/") + QString::fromUtf8(n).right(2),
                         QStringLiteral("drv"), 9, false});
        ImpostaCatalogo(std::move(c));
        ProfiloStampanti::ImpostaPercorso(dir.filePath(QStringLiteral("stampanti.ini")));
        sessioneEnv = qgetenv("XDG_SESSION_ID");
    }
    void TearDown() override
    {
        ImpostaCatalogo(nullptr);
        ProfiloStampanti::ImpostaPercorso({});
        Globali::SessioneTS = 0;
        qputenv("XDG_SESSION_ID", sessioneEnv);
    }
    void modello(const QString &m)
    {
        ProfiloIni(ProfiloStampanti::Percorso())
            .ScriviStringa(QStringLiteral("Sessioni"), QStringLiteral("ModelloStampante"), m);
    }

    QTemporaryDir dir;
    QByteArray sessioneEnv;
};

} // namespace

TEST_F(Sessioni, WithoutTemplateEverythingStaysAsItIs)
{
    Globali::SessioneTS = 3;
    EXPECT_EQ(LeggiStampanteSessione(QStringLiteral("Laser S3")), QStringLiteral("Laser S3"));
    EXPECT_FALSE(CercaStampanteAltraSessione(QStringLiteral("Laser S4"), 3));
    QStringList nomi, porte;
    ElencoStampantiPorte(nomi, porte);
    EXPECT_EQ(nomi.size(), 6) << "four queues and the two PDF printers";
}

TEST_F(Sessioni, SessionNumbersMatchWhole)
{
    modello(QStringLiteral("S%§"));
    struct Caso {
        const char *nome;
        long sessione;
        bool altra;
    } const casi[] = {
        {"Laser S3", 4, true},  {"Laser S3", 3, false}, {"Laser S31", 3, true},  {"Laser S31", 31, false},
        {"Laser S3", 1, false}, {"Comune", 4, false},   {"", 4, false},          {"laser s3", 4, true},
        {"Laser S3x", 4, true}, {"Laser S1", 4, false}, {"Laser S120", 4, true},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(CercaStampanteAltraSessione(QString::fromUtf8(c.nome), c.sessione), c.altra)
            << c.nome << " from session " << c.sessione;

    Globali::SessioneTS = 3;
    EXPECT_EQ(LeggiStampanteSessione(QStringLiteral("Laser S3")), QStringLiteral("Laser S%§"));
    EXPECT_EQ(LeggiStampanteSessione(QStringLiteral("Laser S31")), QStringLiteral("Laser S31"))
        << "session 31's printer is not session 3's";
    Globali::SessioneTS = 4;
    EXPECT_EQ(StampanteDaSessione(QStringLiteral("Laser S%§")), QStringLiteral("Laser S4"));
    Globali::SessioneTS = 1;
    EXPECT_EQ(StampanteDaSessione(QStringLiteral("Laser S%§")), QStringLiteral("Laser S%§"));

    // A template starting with the number: "3-" is not inside "13-".
    modello(QStringLiteral("%§-Ufficio"));
    EXPECT_TRUE(CercaStampanteAltraSessione(QStringLiteral("13-Ufficio"), 3));
    EXPECT_FALSE(CercaStampanteAltraSessione(QStringLiteral("13-Ufficio"), 13));
    Globali::SessioneTS = 3;
    EXPECT_EQ(LeggiStampanteSessione(QStringLiteral("13-Ufficio")), QStringLiteral("13-Ufficio"));
    EXPECT_EQ(LeggiStampanteSessione(QStringLiteral("3-Ufficio")), QStringLiteral("%§-Ufficio"));
}

TEST_F(Sessioni, ListLeavesOutOtherSessionsPrinters)
{
    modello(QStringLiteral("S%§"));
    qputenv("XDG_SESSION_ID", "4");
    QStringList nomi, porte;
    ElencoStampantiPorte(nomi, porte);
    EXPECT_EQ(nomi, (QStringList{QStringLiteral("Laser S4"), QStringLiteral("Comune"),
                                 QStringLiteral("PDFCreator"), QStringLiteral("PDF995")}));
    EXPECT_EQ(porte, (QStringList{QStringLiteral("socket://h/S4"), QStringLiteral("socket://h/ne"),
                                  QStringLiteral("PDF:"), QStringLiteral("PDF:")}));
}
