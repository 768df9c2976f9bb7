// The customer form's decoding receivers beside their code fields (ISO codes,
// cadastral codes, agents' commissions, the black-list mark), the IBAN editor
// over its stored field, the running-totals grid and the buttons that fill
// fields for the user (fiscal code, new code, web map).
#include "customer/FormatiCampi.h"
#include "customer/frmClienti.h"

#include "components/forms/AdattatoreEventi.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

// The grid of a page column that holds `w`, and the row `w` stands on.
QGridLayout *grigliaDi(QWidget *w, int &riga)
{
    QLayout *pagina = w->parentWidget() ? w->parentWidget()->layout() : nullptr;
    for (int i = 0; pagina && i < pagina->count(); ++i) {
        auto *g = qobject_cast<QGridLayout *>(pagina->itemAt(i)->layout());
        const int k = g ? g->indexOf(w) : -1;
        if (k >= 0) {
            int colonna = 0, righe = 0, colonne = 0;
            g->getItemPosition(k, &riga, &colonna, &righe, &colonne);
            return g;
        }
    }
    return nullptr;
}

// Puts `w` in the column after the description, on the row of field `campo`.
void accanto(QLineEdit *campo, QWidget *w)
{
    int riga = 0;
    if (QGridLayout *g = grigliaDi(campo, riga))
        g->addWidget(w, riga, 4);
}

QLabel *etichetta(QWidget *pagina, int larghezza)
{
    auto *l = new QLabel(pagina);
    l->setMinimumWidth(larghezza);
    l->setFrameShape(QFrame::StyledPanel);
    return l;
}

} // namespace

void frmClienti::CreaControlliCampi()
{
    QWidget *anagrafica = PicPagine(0);

    // Country: ISO code and the black-list mark.
    auto *statoIso = new QWidget(anagrafica);
    auto *riga = new QHBoxLayout(statoIso);
    riga->setContentsMargins(0, 0, 0, 0);
    riga->addWidget(labIso.Aggiungi(1050, etichetta(statoIso, 28)));
    LabBlackList = new QLabel(QStringLiteral("Stato in Black List"), statoIso);
    LabBlackList->setObjectName(QStringLiteral("LabBlackList"));
    QPalette rosso = LabBlackList->palette();
    rosso.setColor(QPalette::WindowText, QColor(255, 0, 0));
    LabBlackList->setPalette(rosso);
    LabBlackList->hide();
    riga->addWidget(LabBlackList);
    accanto(txt(1050), statoIso);

    // Cadastral codes of the town and of the birth town.
    accanto(txt(1030), Lab.Aggiungi(1032, etichetta(anagrafica, 40)));
    accanto(txt(1160), Lab.Aggiungi(1162, etichetta(anagrafica, 40)));
    Lab(1032)->setToolTip(QStringLiteral("Codice catastale del comune"));
    Lab(1162)->setToolTip(QStringLiteral("Codice catastale del comune di nascita"));

    ComCalcCodFisc = new QPushButton(QStringLiteral("Calcola"), anagrafica);
    ComCalcCodFisc->setObjectName(QStringLiteral("ComCalcCodFisc"));
    ComCalcCodFisc->setToolTip(QStringLiteral("Calcola Codice Fiscale"));
    ComCalcCodFisc->setFocusPolicy(Qt::NoFocus);
    accanto(txt(1100), ComCalcCodFisc);

    comMappa = new QPushButton(QStringLiteral("Mappa"), anagrafica);
    comMappa->setObjectName(QStringLiteral("comMappa"));
    comMappa->setToolTip(QStringLiteral("Mostra l'indirizzo su una mappa"));
    comMappa->setFocusPolicy(Qt::NoFocus);
    accanto(txt(1010), comMappa);

    // New account code, beside the account field of the header.
    ComCreaKey = new QPushButton(QStringLiteral("Genera codice"), picTest);
    ComCreaKey->setObjectName(QStringLiteral("ComCreaKey"));
    ComCreaKey->setFocusPolicy(Qt::NoFocus);
    if (auto *testata = qobject_cast<QHBoxLayout *>(picTest->layout()))
        testata->insertWidget(testata->indexOf(Lab(30)) + 1, ComCreaKey);

    // Agents' commissions; ISO codes of the establishment's and the
    // representative's countries.
    // The single discount equal to the chain typed.
    accanto(txt(5010), Lab.Aggiungi(5010, etichetta(PicPagine(4), 48)));
    Lab(5010)->setToolTip(QStringLiteral("Sconto equivalente"));
    for (int i : {5150, 5160})
        accanto(txt(i), labProv.Aggiungi(i, etichetta(PicPagine(4), 48)));
    for (int i : {8040, 8070})
        accanto(txt(i), labIso.Aggiungi(i, etichetta(PicPagine(10), 48)));

    // The IBAN is typed in groups in an editor that stands where its stored
    // field would; the stored field holds it compact.
    QLineEdit *iban = txt(4074);
    auto *editor = txtAppo.Aggiungi(4074, new QLineEdit(iban->parentWidget()));
    editor->setToolTip(QStringLiteral("IBAN (si può scrivere con o senza spazi)"));
    editor->setMaxLength(42);
    int rigaIban = 0;
    if (QGridLayout *g = grigliaDi(iban, rigaIban)) {
        g->removeWidget(iban);
        g->addWidget(editor, rigaIban, 1, 1, 3);
    }
    iban->hide();
    QWidget::setTabOrder(txt(4010), editor);
    QWidget::setTabOrder(editor, txt(4076));
    // A record read or cleared while the editor is open replaces what it shows.
    connect(iban, &QLineEdit::textChanged, this, [this](const QString &testo) {
        txtAppo(4074)->setText(IndAppoAttuale == 4074 ? QString(testo).remove(u' ') : IbanAGruppi(testo));
    });
    GestoriEventi appo;
    appo.GotFocus = [this](int i) { txtAppo_GotFocus(i); };
    appo.LostFocus = [this](int i) { txtAppo_LostFocus(i); };
    adattatore->Collega(txtAppo, appo);

    // Running totals: one read-only row per year.
    auto *progressivi = qobject_cast<QVBoxLayout *>(PicPagine(6)->layout());
    dbgLista = new QTableView(PicPagine(6));
    dbgLista->setObjectName(QStringLiteral("dbgLista"));
    dbgLista->setModel(new QStandardItemModel(dbgLista));
    dbgLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgLista->verticalHeader()->setDefaultSectionSize(22);
    dbgLista->hide();
    if (progressivi) {
        progressivi->insertWidget(0, new QLabel(QStringLiteral("Progressivi:"), PicPagine(6)));
        progressivi->insertWidget(1, dbgLista, 1);
    }

    connect(ComCalcCodFisc, &QPushButton::clicked, this, [this] { ComCalcCodFisc_Click(); });
    connect(ComCreaKey, &QPushButton::clicked, this, [this] { ComCreaKey_Click(); });
    connect(comMappa, &QPushButton::clicked, this, [this] { comMappa_Click(); });
    connect(ComGesProgr, &QPushButton::clicked, this, [this] { ComGesProgr_Click(); });
    connect(ComGesProgrIVA, &QPushButton::clicked, this, [this] { ComGesProgrIVA_Click(); });
}
