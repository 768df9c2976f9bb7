// Test bench of the customer form's line grids.
#include "BancoGriglie.h"

#include "components/linee/GestLinee.h"
#include "customer/frmClienti.h"
#include "totals/DichIntenti.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

void BancoGriglie::SetUp()
{
    BancoClienti::SetUp();
    // The totals cache lives as long as the program: each test starts anew.
    DichIntenti::AzzeraCache();
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    m_gruppo = k[0];
    m_mastro = k[1];
    m_conto = k[2];
    for (const char *t : {"PianoContiDoc", "PdcDicIntenti"})
        Esegui(QStringLiteral("Delete From ") + QString::fromLatin1(t) + DelConto());
}

void BancoGriglie::ApriConto(const QString &osParam)
{
    Chiudi();
    ASSERT_NE(Apri(osParam), nullptr);
    ASSERT_TRUE(Leggi(m_gruppo, m_mastro, m_conto));
    DimenticaMessaggi();
}

QString BancoGriglie::DelConto() const
{
    return QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'")
        .arg(m_gruppo, m_mastro, m_conto);
}

int BancoGriglie::Righe(const QString &tabella) const
{
    return Conta(QStringLiteral("Select Count(*) From ") + tabella + DelConto());
}

void BancoGriglie::Pagina(int g)
{
    m_form->SelezionaTab(g == 0 ? 8 : 10);
    Attendi();
}

GestLinee *BancoGriglie::Griglia(int g) const
{
    return m_form->GestLin(g);
}

QTableView *BancoGriglie::Vista(int g) const
{
    return m_form->dbgRiga(g);
}

void BancoGriglie::Cella(int g, int riga, const QString &campo)
{
    QTableView *v = Vista(g);
    v->setFocus();
    v->setCurrentIndex(v->model()->index(riga, Griglia(g)->IndiceColonna(campo)));
    Attendi();
}

void BancoGriglie::Scrivi(int g, const QString &testo, bool invio)
{
    QTableView *v = Vista(g);
    QTest::keyClick(v, Qt::Key_F2);
    auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr) << "no cell editor";
    le->selectAll();
    if (testo.isEmpty())
        QTest::keyClick(le, Qt::Key_Backspace); // Delete on a whole cell would delete the line
    QTest::keyClicks(le, testo);
    if (invio) {
        QTest::keyClick(le, Qt::Key_Return);
        Attendi();
    }
}

void BancoGriglie::Comando(int g, const QString &chiave)
{
    m_form->ButtonComandoLin(*Griglia(g), chiave);
    Attendi();
}

void BancoGriglie::Lettera(int codice, const QVariantMap &campi)
{
    QStringList colonne{QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto"),
                        QStringLiteral("PdcDicIntenti")};
    QStringList valori{QLatin1Char('\'') + m_gruppo + QLatin1Char('\''),
                       QLatin1Char('\'') + m_mastro + QLatin1Char('\''),
                       QLatin1Char('\'') + m_conto + QLatin1Char('\''), QString::number(codice)};
    for (auto it = campi.constBegin(); it != campi.constEnd(); ++it) {
        colonne << it.key();
        valori << (it.value().typeId() == QMetaType::QString
                       ? QLatin1Char('\'') + it.value().toString() + QLatin1Char('\'')
                       : it.value().toString());
    }
    Esegui(QStringLiteral("Insert Into PdcDicIntenti (%1) Values (%2)")
               .arg(colonne.join(u','), valori.join(u',')));
}

void BancoGriglie::Documento(int ordine, const QString &descrizione, const QString &percorso)
{
    Esegui(QStringLiteral(
               "Insert Into PianoContiDoc (Gruppo, Mastro, Conto, Ordine, Descrizione, Percorso) Values "
               "('%1','%2','%3',%4,'%5','%6')")
               .arg(m_gruppo, m_mastro, m_conto)
               .arg(ordine)
               .arg(descrizione, percorso));
}

QString BancoGriglie::UltimoMessaggio() const
{
    return Messaggi().value(Messaggi().size() - 1);
}
