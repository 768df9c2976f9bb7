// Find and replace in a text field.
#include "services/frmTrova.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/FormatoVb.h"
#include "services/MsgCom.h"
#include "services/TestoControlli.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

namespace RP = RisposteProgrammate;

namespace
{

QString ultima;
bool ultimeMaiuscole = false;

// Cursor and selection of a text field as (start, length); the cursor has length 0.
void selezione(QWidget *campo, int &inizio, int &lunghezza)
{
    inizio = 0;
    lunghezza = 0;
    if (auto *t = qobject_cast<QLineEdit *>(campo)) {
        inizio = t->hasSelectedText() ? t->selectionStart() : t->cursorPosition();
        lunghezza = int(t->selectedText().size());
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(campo)) {
        inizio = p->textCursor().selectionStart();
        lunghezza = p->textCursor().selectionEnd() - inizio;
    } else if (auto *e = qobject_cast<QTextEdit *>(campo)) {
        inizio = e->textCursor().selectionStart();
        lunghezza = e->textCursor().selectionEnd() - inizio;
    }
}

void seleziona(QWidget *campo, int inizio, int lunghezza)
{
    if (auto *t = qobject_cast<QLineEdit *>(campo)) {
        t->setSelection(inizio, lunghezza);
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(campo)) {
        QTextCursor c = p->textCursor();
        c.setPosition(inizio);
        c.setPosition(inizio + lunghezza, QTextCursor::KeepAnchor);
        p->setTextCursor(c);
    } else if (auto *e = qobject_cast<QTextEdit *>(campo)) {
        QTextCursor c = e->textCursor();
        c.setPosition(inizio);
        c.setPosition(inizio + lunghezza, QTextCursor::KeepAnchor);
        e->setTextCursor(c);
    }
}

bool solaLettura(const QWidget *campo)
{
    if (auto *t = qobject_cast<const QLineEdit *>(campo))
        return t->isReadOnly();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(campo))
        return p->isReadOnly();
    if (auto *e = qobject_cast<const QTextEdit *>(campo))
        return e->isReadOnly();
    return true;
}

// Writes the new text the way a user edit would, so the field's Change follows.
void scrivi(QWidget *campo, const QString &testo)
{
    if (auto *t = qobject_cast<QLineEdit *>(campo)) {
        t->selectAll();
        t->insert(testo);
    } else {
        ImpostaTestoControllo(campo, testo);
    }
}

Qt::CaseSensitivity cs(bool maiuscole)
{
    return maiuscole ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

namespace Trova
{

int Posizione(const QString &testo, const QString &cerca, int da, bool maiuscole)
{
    if (cerca.isEmpty())
        return -1;
    const int p = int(testo.indexOf(cerca, qBound(0, da, int(testo.size())), cs(maiuscole)));
    return p >= 0 ? p : int(testo.indexOf(cerca, 0, cs(maiuscole)));
}

bool TrovaSuccessivo(QWidget *campo, const QString &cerca, bool maiuscole, bool avvisa)
{
    ultima = cerca;
    ultimeMaiuscole = maiuscole;
    int inizio, lunghezza;
    selezione(campo, inizio, lunghezza);
    const int p = Posizione(TestoControllo(campo), cerca, inizio + (lunghezza > 0 ? 1 : 0), maiuscole);
    if (p < 0) {
        if (avvisa)
            msgCom(QStringLiteral("Testo non trovato: ") + cerca);
        return false;
    }
    seleziona(campo, p, int(cerca.size()));
    return true;
}

bool Sostituisci(QWidget *campo, const QString &cerca, const QString &con, bool maiuscole)
{
    if (solaLettura(campo) || cerca.isEmpty())
        return false;
    int inizio, lunghezza;
    selezione(campo, inizio, lunghezza);
    QString testo = TestoControllo(campo);
    if (lunghezza == cerca.size() && testo.mid(inizio, lunghezza).compare(cerca, cs(maiuscole)) == 0) {
        testo.replace(inizio, lunghezza, con);
        scrivi(campo, testo);
        seleziona(campo, inizio + int(con.size()), 0);
    }
    return TrovaSuccessivo(campo, cerca, maiuscole);
}

int SostituisciTutto(QWidget *campo, const QString &cerca, const QString &con, bool maiuscole)
{
    ultima = cerca;
    ultimeMaiuscole = maiuscole;
    if (solaLettura(campo) || cerca.isEmpty())
        return 0;
    QString testo = TestoControllo(campo);
    const int n = int(testo.count(cerca, cs(maiuscole)));
    if (n > 0) {
        testo.replace(cerca, con, cs(maiuscole));
        scrivi(campo, testo);
    }
    return n;
}

QString UltimaRicerca()
{
    return ultima;
}

bool UltimeMaiuscole()
{
    return ultimeMaiuscole;
}

void Apri(QWidget *campo, bool sostituire)
{
    if (!campo)
        return;
    const QString tipo = QStringLiteral("trova");
    if (RP::Attivo(tipo)) {
        RP::Registra(tipo, {{QStringLiteral("sostituire"), sostituire},
                            {QStringLiteral("testo"), TestoControllo(campo)}});
        const QVariantMap r = RP::Prendi(tipo).value_or(QVariant()).toMap();
        const QString cerca = r.value(QStringLiteral("cerca")).toString();
        const QString con = r.value(QStringLiteral("sostituisci")).toString();
        const bool mai = r.value(QStringLiteral("maiuscole")).toBool();
        const QString azione = r.value(QStringLiteral("azione"), QStringLiteral("trova")).toString();
        if (cerca.isEmpty())
            return;
        if (azione == QLatin1String("tutto") && sostituire)
            SostituisciTutto(campo, cerca, con, mai);
        else if (azione == QLatin1String("sostituisci") && sostituire)
            Sostituisci(campo, cerca, con, mai);
        else
            TrovaSuccessivo(campo, cerca, mai);
        return;
    }
    frmTrova f(campo, sostituire, campo->window());
    UtilFinestre::MostraForm(&f, 1);
}

} // namespace Trova

frmTrova::frmTrova(QWidget *campo, bool sostituire, QWidget *parent) : QDialog(parent), m_campo(campo)
{
    setObjectName(QStringLiteral("frmTrova"));
    setWindowTitle(sostituire ? QStringLiteral("Sostituisci") : QStringLiteral("Trova"));
    m_cerca = new QLineEdit(Trova::UltimaRicerca(), this);
    m_con = new QLineEdit(this);
    m_maiuscole = new QCheckBox(QStringLiteral("&Maiuscole/minuscole"), this);
    m_maiuscole->setChecked(Trova::UltimeMaiuscole());
    m_trova = new QPushButton(QStringLiteral("&Trova successivo"), this);
    m_sostituisci = new QPushButton(QStringLiteral("&Sostituisci"), this);
    m_tutto = new QPushButton(QStringLiteral("Sostituisci t&utto"), this);
    m_chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    m_trova->setDefault(true);

    auto *l = new QGridLayout(this);
    auto *labCerca = new QLabel(QStringLiteral("T&rova:"), this);
    labCerca->setBuddy(m_cerca);
    auto *labCon = new QLabel(QStringLiteral("Sostituisci c&on:"), this);
    labCon->setBuddy(m_con);
    l->addWidget(labCerca, 0, 0);
    l->addWidget(m_cerca, 0, 1);
    l->addWidget(m_trova, 0, 2);
    l->addWidget(labCon, 1, 0);
    l->addWidget(m_con, 1, 1);
    l->addWidget(m_sostituisci, 1, 2);
    l->addWidget(m_maiuscole, 2, 1);
    l->addWidget(m_tutto, 2, 2);
    l->addWidget(m_chiudi, 3, 2);
    const bool modificabile = sostituire && !solaLettura(campo);
    for (QWidget *w : {static_cast<QWidget *>(labCon), static_cast<QWidget *>(m_con),
                       static_cast<QWidget *>(m_sostituisci), static_cast<QWidget *>(m_tutto)})
        w->setVisible(modificabile);

    QPointer<QWidget> bersaglio(campo);
    connect(m_trova, &QPushButton::clicked, this, [this, bersaglio] {
        if (bersaglio)
            Trova::TrovaSuccessivo(bersaglio, m_cerca->text(), m_maiuscole->isChecked());
    });
    connect(m_sostituisci, &QPushButton::clicked, this, [this, bersaglio] {
        if (bersaglio)
            Trova::Sostituisci(bersaglio, m_cerca->text(), m_con->text(), m_maiuscole->isChecked());
    });
    connect(m_tutto, &QPushButton::clicked, this, [this, bersaglio] {
        if (!bersaglio)
            return;
        const int n =
            Trova::SostituisciTutto(bersaglio, m_cerca->text(), m_con->text(), m_maiuscole->isChecked());
        msgCom(n == 0 ? QStringLiteral("Testo non trovato: ") + m_cerca->text()
                      : QStringLiteral("Sostituzioni eseguite: %1").arg(FormatoVb::Intero(n)));
    });
    connect(m_chiudi, &QPushButton::clicked, this, &QDialog::accept);
    m_cerca->selectAll();
    m_cerca->setFocus();
}

frmTrova::~frmTrova()
{
    UtilFinestre::StaccaFinestra(this);
}
