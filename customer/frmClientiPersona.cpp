// Person fields and the company-name check: the birth fields follow the legal
// status, and a name already used by another customer is reported.
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/util/UtilGlob.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

void frmClienti::AbilDisabPersFis()
{
    const bool giuridica = txt(1120)->text().compare(QLatin1String("G"), Qt::CaseInsensitive) == 0;
    const int campi[] = {1140, 1150, 1160, 1170, 1180};
    if (giuridica) {
        // A company's sex code is "M", written by the option's own click
        // handler when the option was not chosen yet: a stored "M" stays.
        Fra(1130)->setEnabled(false);
        OptSesso(0)->setChecked(true);
        for (int i : campi) {
            txt(i)->setEnabled(false);
            txt(i)->clear();
        }
        Lab(1180)->setText(QString());
        ComHlp(1180)->setEnabled(false);
        ComHlp(1160)->setEnabled(false);
        return;
    }
    Fra(1130)->setEnabled(true);
    for (int i : campi)
        txt(i)->setEnabled(true);
    ComHlp(1180)->setEnabled(true);
    ComHlp(1160)->setEnabled(true);
}

void frmClienti::VerifRagSocUsata(const QString &psNome, const QString &psChiave)
{
    const UtilGlob &u = Globali::Util();
    if (!m_rsForm)
        m_rsForm = std::make_unique<RecDat>();
    const QString h = m_rsForm->ApriRec(
        Globali::DbComp(), Globali::DbAzienda, QStringLiteral("RagSocUsata"),
        QStringLiteral("Select PianoConti.* From PianoConti") + QStringLiteral(" Where Descrizione= ") +
            u.ValoreSql(psNome) + QStringLiteral(" and Tipo= ") + u.ValoreSql(QStringLiteral("3")) +
            QStringLiteral(" and Gruppo & Mastro & Conto <> ") + u.ValoreSql(psChiave),
        false, RecDat::TipoSnapshot);
    if (!m_rsForm->FineDati(h)) {
        const auto campo = [&](const char *c) {
            return m_rsForm->LeggiCampo(h, QString::fromLatin1(c), UtilGlob::TipoTesto).toString();
        };
        msgCom(QStringLiteral("La ragione sociale ") + psNome + QString::fromUtf8(" è in uso dal codice: ") +
                   campo("Gruppo") + QStringLiteral("-") + campo("Mastro") + QStringLiteral("-") +
                   campo("Conto"),
               QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
    }
    m_rsForm->ChiudiRec(h);
}
