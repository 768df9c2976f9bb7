// The customer form's look-ups kept from record to record: the group's and
// the ledger's names, the ledger's highest account, and the registry page's
// countries, answered from memory only while the company's change counter
// (and for the countries' black-list mark the menu database's) has not moved
// since they were read (see MemoriaDecodifiche).
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Codici.h"
#include "services/Decodifica.h"
#include "services/Globali.h"

#include <QLabel>
#include <QLineEdit>

void frmClienti::DecodificaGruppoMastro(int Index)
{
    EtichettaGruppoMastro(Index);

    // The ledger's highest account. None read (an empty ledger, or a failed
    // read, which answers the same) is never kept.
    const QString gruppo = txt(10)->text();
    const QString mastro = txt(20)->text();
    const QString chiave = QStringLiteral("Ultimo|") + gruppo + QLatin1Char('|') + mastro;
    MemoriaDecodifiche::Lettura letta;
    if (const std::optional<QVariantList> v = m_memoria.Cerca(chiave, letta)) {
        labMax->setText(v->value(0).toString());
        return;
    }
    const QString ultimo = UltimoConto(gruppo, mastro, true, QString());
    labMax->setText(ultimo);
    if (!ultimo.isEmpty())
        m_memoria.Ricorda(chiave, {ultimo}, letta);
}

void frmClienti::EtichettaGruppoMastro(int Index)
{
    QLineEdit *t = txt(Index);
    // A description label as the decoding writes it, or as it wrote it for
    // the same code before.
    const auto etichetta = [this](const QString &chiave, QLabel *lab,
                                  const std::function<void()> &decodifica) {
        MemoriaDecodifiche::Lettura letta;
        if (const std::optional<QVariantList> v = m_memoria.Cerca(chiave, letta)) {
            lab->setText(v->value(0).toString());
            return;
        }
        decodifica();
        m_memoria.Ricorda(chiave, {lab->text()}, letta);
    };
    if (Index == 10) {
        etichetta(QStringLiteral("Gruppo|") + t->text(), Lab(10),
                  [&] { FiltroDecodifica(QStringLiteral("Gruppo"), t, Lab(10)); });
    } else if (Globali::Util().ValoreVuoto(t->text())) {
        Lab(20)->clear();
    } else {
        etichetta(QStringLiteral("Mastro|") + txt(10)->text() + QLatin1Char('|') + t->text(), Lab(20), [&] {
            QVariant gruppo = txt(10)->text();
            FiltroDecodifica(QStringLiteral("Mastro"), t, Lab(20), &gruppo, true);
        });
    }
}

QString frmClienti::ChiaveStatiLetti() const
{
    if (!m_comPag || m_comPag->StatoPagina() != GestPagine::StatoRecord)
        return {};
    RecDat *rec = m_comPag->RecordsetPagina();
    const QString h = m_comPag->ChiaveRecordset();
    if (!rec || h.isEmpty())
        return {};
    try {
        // A Null country is told apart from an empty one: they join differently.
        const auto campo = [&](const char *nome) {
            const QVariant v = rec->LeggiCampo(h, QLatin1String(nome));
            return v.isNull() ? QStringLiteral("\u0001") : v.toString();
        };
        // Only the row of the account on display stands for it.
        if (QStringList{campo("Gruppo"), campo("Mastro"), campo("Conto")} !=
            QStringList{txt(10)->text(), txt(20)->text(), txt(30)->text()})
            return {};
        return QStringLiteral("Stati|") + campo("Stato") + QLatin1Char('|') + campo("StatoNascita");
    } catch (const VbErrore &) {
        return {};
    }
}
