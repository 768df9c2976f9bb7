// The customer form when the PostgreSQL server goes away and comes back:
// the save that fails says the connection was lost and keeps the edits in
// the form, and the same save succeeds once the server is back, without
// restarting the program.
#include "ClientiPostgres.h"

#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"

#include <QLineEdit>

namespace {

class ClientiServerPerso : public ClientiPostgres
{
  protected:
    // A server of these tests' own, which they stop and start again.
    PgServer *Server(QString *motivo) override
    {
        static QString perche;
        static std::unique_ptr<PgServer> s = PgServer::Privato(&perche);
        if (motivo)
            *motivo = perche;
        return s.get();
    }
};

} // namespace

TEST_F(ClientiServerPerso, ASaveWhileTheServerIsDownKeepsTheEditsAndWorksOnceItIsBack)
{
    PgServer *pg = Server(nullptr);
    m_form->txt(50)->setText(QStringLiteral("Bianchi Luca"));
    DimenticaMessaggi();
    ASSERT_TRUE(pg->Ferma());
    Rispondi(2);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    ASSERT_TRUE(pg->Riavvia());
    // After the history question, one message: the connection was lost.
    const QStringList detti = Messaggi().filter(QStringLiteral("Errore("));
    ASSERT_EQ(detti.size(), 1) << Messaggi().join('|').toStdString();
    EXPECT_TRUE(detti.first().contains(QStringLiteral("collegamento con il database è stato perso")))
        << detti.first().toStdString();
    EXPECT_FALSE(detti.first().contains(QStringLiteral("Function sequence error")));
    EXPECT_EQ(m_form->txt(50)->text(), QStringLiteral("Bianchi Luca"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    DimenticaMessaggi();
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(), "Bianchi Luca");
}
