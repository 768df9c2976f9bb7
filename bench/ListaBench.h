// The customer list window of the benchmarks, open on a company database as
// the program shows it: loaded, at a fixed size, its first page shown; or
// owned by a customer form that opens it with its "Lista" command.
#pragma once

#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/ChiamantePagine.h"
#include "components/pagine/GestPagine.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QWidget>
#include <memory>

namespace supporto_bench
{

// The window on the company already open, loaded and shown at a fixed
// size; with `mostra` its first page shown too.
inline std::unique_ptr<frmClientiLis> FinestraListaClienti(bool mostra = true)
{
    Globali::DescAzienda = QStringLiteral("Benchmark");
    auto lista = std::make_unique<frmClientiLis>();
    lista->Form_Load();
    lista->resize(1000, 620);
    lista->show();
    if (mostra)
        lista->MostraLista(QString());
    QCoreApplication::processEvents();
    return lista;
}

// The connection becomes the program's company connection and lives to the
// end of the process, as the program's does.
inline std::unique_ptr<frmClientiLis> ApriListaClienti(const QString &percorso)
{
    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    supporto_bench::ApriAzienda(*db, Globali::DbAzienda, percorso);
    return FinestraListaClienti();
}

// The customer form as its list window sees it: a page manager over the
// customers (PianoConti) with their key (group, ledger, account), the record
// it shows and its "Lista" command, which shows the list on that record. Its
// list window is a window of its own, loaded and handed to the page manager
// as the customer form does; the company is the program's.
class SchedaClienti : public QWidget, public ChiamantePagine
{
  public:
    SchedaClienti()
    {
        Globali::DescAzienda = QStringLiteral("Benchmark");
        auto *l = new QFormLayout(this);
        QLineEdit *gruppo, *mastro, *conto, *tipo, *descrizione;
        for (QLineEdit **c : {&gruppo, &mastro, &conto, &tipo, &descrizione})
            l->addRow(*c = new QLineEdit(this));
        pagine = new GestPagine(this);
        pagine->TabellaPrincipale(QStringLiteral("PianoConti"));
        pagine->RegistraCampo(QStringLiteral("Gruppo"), gruppo, OpzioniCampo{.chiave = 1});
        pagine->RegistraCampo(QStringLiteral("Mastro"), mastro, OpzioniCampo{.chiave = 1});
        pagine->RegistraCampo(QStringLiteral("Conto"), conto, OpzioniCampo{.chiave = 1});
        pagine->RegistraCampo(QStringLiteral("Tipo"), tipo,
                              OpzioniCampo{.tipoChiave = 2, .predefinito = "3"});
        pagine->RegistraCampo(QStringLiteral("Descrizione"), descrizione, OpzioniCampo{.ricerca = "like*"});
        pagine->ImpostaControlloChiave(conto);
        lista = std::make_unique<frmClientiLis>();
        lista->Form_Load();
        FormListaPagine *finestra = lista.get();
        pagine->Inizializza(this, Globali::DbComp(), Globali::DbAzienda, finestra);
        show();
    }
    ~SchedaClienti() override
    {
        lista.reset();
        delete pagine;
    }
    SchedaClienti(const SchedaClienti &) = delete;
    SchedaClienti &operator=(const SchedaClienti &) = delete;

    QVariant PersPagPri(int, QVariant &, QVariantList &) override { return 0; }
    QVariant PersPagDop(int, QVariant &, QVariantList &) override { return 0; }
    void ButtonComando(const QString &psKey) override { pagine->EseguiComando(psKey); }
    QWidget *Finestra() override { return this; }

    GestPagine *pagine = nullptr;
    std::unique_ptr<frmClientiLis> lista;
};

} // namespace supporto_bench
