// Test bench of two desks on one customer, on SQLite and on PostgreSQL: the
// form, and another connection of its own that writes the same account.
#pragma once

#include "BancoClienti.h"

#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QLineEdit>

inline const QString kModificati = QStringLiteral("Dati modificati da un altro utente nello stesso momento.");

inline bool Contiene(const QStringList &messaggi, const QString &testo)
{
    for (const QString &m : messaggi)
        if (m.contains(testo))
            return true;
    return false;
}

// Every conflict with another desk is told in one style: what it concerns
// named first, what became of the edits, the error's number only in the
// detail the message box keeps behind "Dettagli...".
inline ::testing::AssertionResult StileConflitto(const QString &messaggio, const QString &nome, int numero,
                                                 const QString &esito)
{
    const qsizetype d = messaggio.indexOf(QStringLiteral("\nDettaglio: "));
    const QString testo = messaggio.left(d), dettaglio = d < 0 ? QString() : messaggio.mid(d);
    if (!testo.startsWith(nome) || !testo.contains(esito) || testo.contains(QString::number(numero)) ||
        testo.contains(QStringLiteral("Errore(")) ||
        !dettaglio.startsWith(QStringLiteral("\nDettaglio: errore %1, ").arg(numero)) ||
        dettaglio.contains(QStringLiteral("%1 - ").arg(numero)))
        return ::testing::AssertionFailure() << messaggio.toStdString();
    return ::testing::AssertionSuccess();
}

template <class Base> class DueScrivanie : public Base
{
  protected:
    void SetUp() override
    {
        Base::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->ApriSulPrimo(QStringLiteral("P.PartIva Is Not Null And P.RagSoc Is Not Null"));
        if (this->HasFatalFailure())
            return;
        m_dove = QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'")
                     .arg(txt(10)->text(), txt(20)->text(), txt(30)->text());
        m_altro.ApriConnessione(Globali::DbAzienda, Globali::NomeDbAzienda);
        this->DimenticaMessaggi();
    }
    void TearDown() override
    {
        m_altro.ChiudiTutto();
        Base::TearDown();
    }
    QLineEdit *txt(int i) { return this->m_form->txt(i); }
    GestPagine *pag() { return this->m_form->ogComPag(); }
    // The other desk writes the account.
    void Altro(const QString &set)
    {
        m_altro.EseguiSql(Globali::DbAzienda, QStringLiteral("Update PianoConti Set ") + set + m_dove);
    }
    QString Memorizzato(const QString &colonna)
    {
        return this->Valore(QStringLiteral("Select ") + colonna + QStringLiteral(" From PianoConti") + m_dove)
            .toString();
    }
    // The customer as the messages name it: its code and its accounting name.
    QString Cliente()
    {
        return QStringLiteral("Il cliente %1 (%2)")
            .arg(txt(30)->text(), Memorizzato(QStringLiteral("Descrizione")));
    }
    // Reads a customer the form may delete (no ledger totals, no entries; a
    // VAT number, so that a save asks nothing first) with documents 10 and 20.
    void LeggiCancellabile()
    {
        const QStringList k =
            this->Clienti(
                    QStringLiteral("P.PartIva Is Not Null And Not Exists (Select 1 From PdcProg R Where "
                                   "R.CoPartConto = P.Conto And R.CoPartMastro = P.Mastro) And Not "
                                   "Exists (Select 1 From MovPnDett M Where (M.ContoPartita = P.Conto "
                                   "And M.MastroPartita = P.Mastro) Or (M.ContoCPartita = P.Conto And "
                                   "M.MastroCPartita = P.Mastro))"))
                .value(0)
                .split(u'|');
        ASSERT_EQ(k.size(), 3);
        m_dove =
            QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'").arg(k[0], k[1], k[2]);
        this->Esegui(QStringLiteral("Delete From PianoContiDoc") + m_dove);
        for (int ordine : {10, 20})
            this->Esegui(
                QStringLiteral("Insert Into PianoContiDoc (Gruppo, Mastro, Conto, Ordine, Descrizione) "
                               "Values ('%1', '%2', '%3', %4, 'Documento %4')")
                    .arg(k[0], k[1], k[2])
                    .arg(ordine));
        ASSERT_TRUE(this->Leggi(k[0], k[1], k[2]));
        this->DimenticaMessaggi();
    }
    int Righe(const QString &tabella)
    {
        return this->Conta(QStringLiteral("Select Count(*) From ") + tabella + m_dove);
    }
    bool Salva()
    {
        const bool ok = pag()->EseguiComando(QStringLiteral("Salva")).toBool();
        this->Attendi();
        return ok;
    }

    DbMotore m_altro;
    QString m_dove;
};
