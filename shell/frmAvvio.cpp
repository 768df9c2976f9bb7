// The launcher window.
#include "shell/frmAvvio.h"

#include "components/forms/UtilFinestre.h"
#include "services/FormLanciabile.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"
#include "shell/ApriForm.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmAvvio::frmAvvio(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAvvio"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Clienti"));

    LabAzienda = new QLabel(this);
    LabStato = new QLabel(this);
    LabStato->setWordWrap(true);
    LisForm = new QListWidget(this);
    ComApri = new QPushButton(QStringLiteral("&Apri"), this);
    ComEsci = new QPushButton(QStringLiteral("&Esci"), this);

    const QString azienda = Globali::DescAzienda.isEmpty() ? QStringLiteral("Azienda") : Globali::DescAzienda;
    LabAzienda->setText(QStringLiteral("<b>%1</b>").arg(azienda.toHtmlEscaped()));
    const QString db = TipoConnOdbc(Globali::NomeDbAzienda) ? QStringLiteral("ODBC")
                                                            : QFileInfo(Globali::NomeDbAzienda).fileName();
    QString stato = QStringLiteral("Collegato al database: %1").arg(NascondiPassword(db));
    for (const QString &nome : RegistroForm::Nomi()) {
        auto *voce = new QListWidgetItem(RegistroForm::Descrizione(nome), LisForm);
        voce->setData(Qt::UserRole, nome);
    }
    if (LisForm->count() == 0) {
        stato += QStringLiteral("\nNessuna maschera disponibile in questa versione del programma.");
        ComApri->setEnabled(false);
    } else {
        LisForm->setCurrentRow(0);
    }
    LabStato->setText(stato);

    auto *lay = new QVBoxLayout(this);
    lay->addWidget(LabAzienda);
    lay->addWidget(LabStato);
    lay->addWidget(LisForm);
    auto *bottoni = new QHBoxLayout;
    bottoni->addStretch();
    bottoni->addWidget(ComApri);
    bottoni->addWidget(ComEsci);
    lay->addLayout(bottoni);
    resize(420, 300);

    connect(ComApri, &QPushButton::clicked, this, &frmAvvio::ComApri_Click);
    connect(LisForm, &QListWidget::itemActivated, this, &frmAvvio::ComApri_Click);
    connect(ComEsci, &QPushButton::clicked, this, &QWidget::close);
}

frmAvvio::~frmAvvio()
{
    UtilFinestre::StaccaFinestra(this);
}

void frmAvvio::ComApri_Click()
{
    const QListWidgetItem *voce = LisForm->currentItem();
    if (voce)
        ApriFormPerNome(voce->data(Qt::UserRole).toString(), ChiaviLancio{});
}

void frmAvvio::closeEvent(QCloseEvent *event)
{
    event->accept();
    AvviaTimerChiusura(0);
}
