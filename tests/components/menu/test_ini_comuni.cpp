// Which host parameters a save/delete selection of the INI-file commands names.
#include "components/menu/IniComuniLocali.h"
#include "components/util/VbErrore.h"

#include <gtest/gtest.h>

namespace
{

QString Selezione(const QString &testa, QString c1, QString c2, QString c3)
{
    return testa + c1 + c2 + c3 + QStringLiteral("V");
}

const QString Nessuna1(22, u'N');
const QString Nessuna2 = QStringLiteral("XXXXXNXNNNNNXNNXNNNNNX");

TEST(IniComuniLocali, FlagPositionsNameTheirParameters)
{
    struct Caso {
        int posizione; // 1-based position in the selection text
        QStringList attesi;
    };
    const Caso casi[] = {
        {3, {"UsaPdfCreator"}},
        {7, {"EmailTo1", "EmailTo2", "EmailTo3", "EmailToNum", "EmailTo"}},
        {13, {"EmailServerSMTP1", "EmailServerSMTP"}},
        {24, {"EmailTipoNum"}},
        {25 + 14, {"EmailPwd2"}}, // password of configuration 2
        {47 + 18, {"EmailNumPorta3"}},
        {25 + 5, {"EmailTipoInvio2"}},
    };
    for (const Caso &k : casi) {
        QString t = Selezione(QStringLiteral("+p"), Nessuna1, Nessuna2, Nessuna2);
        t[k.posizione - 1] = u'S';
        const auto s = IniComuniLocali::LeggiSelezione(t);
        EXPECT_TRUE(s.salva);
        EXPECT_FALSE(s.comune);
        EXPECT_EQ(s.nomi, k.attesi) << k.posizione;
    }
    const auto s =
        IniComuniLocali::LeggiSelezione(Selezione(QStringLiteral("-g"), Nessuna1, Nessuna2, Nessuna2));
    EXPECT_FALSE(s.salva);
    EXPECT_TRUE(s.comune);
    EXPECT_TRUE(s.nomi.isEmpty());
}

TEST(IniComuniLocali, MalformedSelectionsAreRefused)
{
    const QString buona = Selezione(QStringLiteral("+p"), Nessuna1, Nessuna2, Nessuna2);
    QString segno = buona, livello = buona, fine = buona, flag = buona;
    segno[0] = u'*';
    livello[1] = u'x';
    fine[68] = u'W';
    flag[10] = u'?';
    for (const QString &t : {segno, livello, fine, flag, buona.left(67), QString()})
        EXPECT_THROW(IniComuniLocali::LeggiSelezione(t), VbErrore) << t.toStdString();
}

} // namespace
