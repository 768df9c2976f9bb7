// Personal and named parameters through a fake menu host.
#include "components/menu/ClienteMenu.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QHash>
#include <QStringList>
#include <gtest/gtest.h>

namespace
{

// A menu host that holds a few parameters.
class HostFinto : public ClienteMenu
{
  public:
    QHash<QString, QVariant> par;
    QStringList letti;
    bool guasto = false;
    QVariant LeggiPar(const QString &nome, const QVariant &predef) override
    {
        if (guasto)
            throw VbErrore(ErroreHostAssente, "Host assente");
        letti << nome;
        if (par.contains(nome))
            return par.value(nome);
        return NomePersonale(nome) ? QVariant(NonTrovato) : predef;
    }
    void ScriviPar(const QString &nome, const QVariant &valore) override
    {
        if (guasto)
            throw VbErrore(ErroreHostAssente, "Host assente");
        par.insert(nome, valore);
    }
    void ImpostaValore(const QString &, int, bool, const QVariant &) override {}
    void Richiesta(const QString &, const QString &) override {}
    void PassaAProgramma(const QString &, const QString &, const QString &) override {}
    void Attiva(const QString &, const QVariant &) override {}
    void ParametroHost(const QString &, const QString &, const QVariant &) override {}
    void NomeTerminale(QString &v) override { v = "T1"; }
};

class ParametriHost : public ::testing::Test
{
  protected:
    void SetUp() override { Globali::MenuClient = &host; }
    void TearDown() override { Globali::MenuClient = nullptr; }
    HostFinto host;
};

} // namespace

TEST_F(ParametriHost, LeggiParPersonaleERipieghi)
{
    host.par.insert("Personal.Clienti.§CodStatoDef", "IT");
    host.par.insert("Personal.Tutti.§DataMinima", "01/01/2000");

    EXPECT_EQ(LeggiParPersonale("Clienti", "CodStatoDef", "XX").toString(), "IT");
    EXPECT_EQ(host.letti, QStringList{"Personal.Clienti.§CodStatoDef"});

    // Missing: the second name, then the default.
    EXPECT_EQ(
        LeggiParPersonale("Clienti", "DataMinima", "01/01/1900", nullptr, "Tutti", "DataMinima").toString(),
        "01/01/2000");
    QVariant grezzo;
    EXPECT_EQ(LeggiParPersonale("Clienti", "Manca", "D", &grezzo, "Tutti", "Manca").toString(), "D");
    EXPECT_EQ(grezzo.toString(), NonTrovatoMenu);
    // Without a second key only the first name is asked.
    host.letti.clear();
    EXPECT_EQ(LeggiParPersonale("Clienti", "Manca", "", nullptr, "Tutti", "").toString(), "");
    EXPECT_EQ(host.letti.size(), 1);
    // The default is given back even when it is empty: the marker never escapes.
    EXPECT_EQ(LeggiParPersonale("Clienti", "Manca", QVariant()).toString(), "");
}

TEST_F(ParametriHost, SenzaHostIlPredefinito)
{
    Globali::MenuClient = nullptr;
    EXPECT_EQ(LeggiParPersonale("Tutti", "X", "D").toString(), "D");
    EXPECT_THROW(LeggiParMenu("OSPlatform"), VbErrore);
    EXPECT_THROW(ScriviParMenu("X", 1), VbErrore);
}

TEST_F(ParametriHost, LeggiEScriviParMenu)
{
    host.par.insert("OSPlatform", 2);
    EXPECT_EQ(LeggiParMenu("OSPlatform").toInt(), 2);
    EXPECT_EQ(LeggiParMenu("Manca").toString(), "");
    EXPECT_EQ(LeggiParMenu("Personal.Tutti.§Manca").toString(), "");

    ScriviParMenu("EmailToNum", 3);
    ScriviParMenu("EmailFlagNotifica", true);
    EXPECT_EQ(host.par.value("EmailToNum").typeId(), QMetaType::Int);
    EXPECT_EQ(host.par.value("EmailFlagNotifica").typeId(), QMetaType::Bool);

    host.guasto = true;
    EXPECT_THROW(LeggiParMenu("OSPlatform"), VbErrore);
    EXPECT_THROW(ScriviParMenu("X", 1), VbErrore);
}
