// The record-form engine's save of one changed field of a customer, with the
// optimistic check (the UPDATE also requires the column to hold what was
// read) beside the same save without it, in the same run. Prints the ratio.
//
// bench_pagine_salva_ottimistico [--db PATH] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo.
// The saves go to a copy of the database.
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/GestPagine.h"
#include "customer/CatalogoClienti.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{

QString g_percorso;
std::map<std::string, double> g_tempi;

class FormBench : public QWidget, public ChiamantePagine
{
  public:
    GestPagine pag;
    QLineEdit *telefono = nullptr;
    QVariant PersPagPri(int, QVariant &, QVariantList &) override { return 0; }
    QVariant PersPagDop(int, QVariant &, QVariantList &) override { return 0; }
    void ButtonComando(const QString &k) override { pag.EseguiComando(k); }
    QWidget *Finestra() override { return this; }
};

// The PianoConti columns the customer form shows, the composite split.
QStringList colonneForm()
{
    CatalogoClienti::Condizioni c;
    c.colonnaLivelliXml = false;
    QStringList r;
    for (const CatalogoClienti::Voce *v : CatalogoClienti::VociDaRegistrare(c)) {
        const QString campo = QString::fromLatin1(v->campo);
        for (const QString &col :
             campo.startsWith(QLatin1Char('|')) ? campo.split(QLatin1Char('|')).mid(2) : QStringList{campo})
            if (!r.contains(col, Qt::CaseInsensitive))
                r << col;
    }
    return r;
}

void salva(benchmark::State &state, bool controllo)
{
    DbMotore db;
    db.ApriSqlite(QStringLiteral("Azienda"), g_percorso);
    FormBench form;
    auto *l = new QVBoxLayout(&form);
    form.pag.TabellaPrincipale(QStringLiteral("PianoConti"));
    for (const QString &col : colonneForm()) {
        auto *box = new QLineEdit(&form);
        l->addWidget(box);
        OpzioniCampo o;
        if (col == QLatin1String("Gruppo") || col == QLatin1String("Mastro") || col == QLatin1String("Conto"))
            o.chiave = 1;
        if (col == QLatin1String("Tipo")) {
            o.chiave = 1;
            o.tipoChiave = 2;
            o.predefinito = QStringLiteral("3");
        }
        if (col == QLatin1String("Telefono"))
            form.telefono = box;
        form.pag.RegistraCampo(col, box, o);
    }
    FormListaPagine *lista = nullptr;
    form.pag.Inizializza(&form, &db, QStringLiteral("Azienda"), lista);
    form.pag.ImpostaControlloOttimistico(controllo);
    form.show();
    if (!form.telefono ||
        !form.pag.LeggiDaChiave({QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0003")})) {
        state.SkipWithError("cliente 01/05/0003 non letto");
        return;
    }
    int giro = 0;
    for (auto _ : state) {
        form.telefono->setText(QStringLiteral("06 %1").arg(++giro, 6, 10, QLatin1Char('0')));
        form.pag.CampoModificato();
        if (!form.pag.EseguiComando(QStringLiteral("Salva")).toBool()) {
            state.SkipWithError("salvataggio non riuscito");
            return;
        }
        QCoreApplication::processEvents();
    }
}

void SalvaConControllo(benchmark::State &state)
{
    salva(state, true);
}
void SalvaSenzaControllo(benchmark::State &state)
{
    salva(state, false);
}

} // namespace

BENCHMARK(SalvaSenzaControllo)->Unit(benchmark::kMicrosecond)->Iterations(500)->Repetitions(3);
BENCHMARK(SalvaConControllo)->Unit(benchmark::kMicrosecond)->Iterations(500)->Repetitions(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti a = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    int n = int(a.perBenchmark.size());
    QApplication app(n, a.perBenchmark.data());
    QTemporaryDir cartella;
    QString origine = a.db.isEmpty() ? supporto_bench::CreaDemo(cartella, a.clienti) : a.db;
    if (origine.isEmpty())
        return 1;
    // The saves change the database: they go to a copy of it.
    g_percorso = cartella.filePath(QStringLiteral("salva.db"));
    if (!QFile::copy(origine, g_percorso)) {
        std::fprintf(stderr, "copia di %s non riuscita\n", qPrintable(origine));
        return 1;
    }
    RisposteProgrammate::ImpostaSenzaModali(true);
    supporto_bench::Registratore registro(g_tempi);
    benchmark::Initialize(&n, a.perBenchmark.data());
    benchmark::RunSpecifiedBenchmarks(&registro);
    const double con = g_tempi["SalvaConControllo"], senza = g_tempi["SalvaSenzaControllo"];
    std::printf("Salvataggio di un campo: con controllo %.1f us, senza %.1f us; rapporto %.2f (obiettivo 1.2 "
                "o meno)\n",
                con, senza, senza > 0 ? con / senza : 0.0);
    return 0;
}
