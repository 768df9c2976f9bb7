// The message box window and the msgCom / MsgErrfrm entry points.
#include "services/frmMsgCom.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/VbErrore.h"
#include "services/MsgCom.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

namespace
{

// The notices held back while an AvvisiRinviati lives, in their order.
struct Rinviati {
    int livello = 0;
    QList<frmMsgCom::Richiesta> avvisi;
};

Rinviati &rinvio()
{
    static Rinviati r;
    return r;
}

void mostraRinviati()
{
    // Taken off the list first: a notice on the screen may lead to another.
    const QList<frmMsgCom::Richiesta> avvisi = std::exchange(rinvio().avvisi, {});
    for (const frmMsgCom::Richiesta &r : avvisi)
        frmMsgCom::Istanza().Mostra(r);
}

// Twips to device-independent pixels (1440 twips an inch).
int daTwips(int twips, const QWidget *w)
{
    const QScreen *s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return int(twips * dpi / 1440.0 + 0.5);
}

// The letter after a single "&" of a caption ("&Sì" -> 'S'), or a null QChar.
QChar mnemonico(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return caption.at(i + 1).toUpper();
    }
    return QChar();
}

} // namespace

frmMsgCom::frmMsgCom(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMsgCom"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *colonna = new QVBoxLayout(this);
    m_etichetta = new QLabel(this);
    m_etichetta->setObjectName(QStringLiteral("Label1"));
    m_etichetta->setWordWrap(true);
    m_etichetta->setTextFormat(Qt::PlainText);
    m_etichetta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_testo = new QPlainTextEdit(this);
    m_testo->setObjectName(QStringLiteral("txtMsg"));
    m_testo->setReadOnly(true);
    m_testo->setMinimumHeight(160);
    // A word longer than the box (a web address) wraps where it must.
    m_testo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    colonna->addWidget(m_etichetta, 1);
    colonna->addWidget(m_testo, 1);

    // The system's own words (a driver's, a server's), for whoever looks
    // further: behind a button, never in the sentence the clerk reads.
    m_dettaglio = new QPlainTextEdit(this);
    m_dettaglio->setObjectName(QStringLiteral("txtDettaglio"));
    m_dettaglio->setReadOnly(true);
    m_dettaglio->setMinimumHeight(100);
    m_dettaglio->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_dettaglio->hide();
    colonna->addWidget(m_dettaglio, 1);

    m_rigaPulsanti = new QHBoxLayout;
    m_mostraDettaglio = new QPushButton(this);
    m_mostraDettaglio->setObjectName(QStringLiteral("ComDettaglio"));
    m_mostraDettaglio->setAutoDefault(false);
    m_mostraDettaglio->hide();
    connect(m_mostraDettaglio, &QPushButton::clicked, this, [this] {
        const bool mostra = m_dettaglio->isHidden();
        m_dettaglio->setVisible(mostra);
        m_mostraDettaglio->setText(mostra ? QStringLiteral("Nascondi dettagli")
                                          : QStringLiteral("Dettagli..."));
        adjustSize();
    });
    m_rigaPulsanti->addWidget(m_mostraDettaglio);
    m_rigaPulsanti->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i + 1));
        b->setAutoDefault(true);
        connect(b, &QPushButton::clicked, this, [this, i] { premi(i + 1); });
        m_rigaPulsanti->addWidget(b);
        m_pulsanti.append(b);
    }
    m_rigaPulsanti->addStretch(1);
    colonna->addLayout(m_rigaPulsanti);
}

// The box goes with the window it was last shown over (its parent).
frmMsgCom::~frmMsgCom()
{
    UtilFinestre::StaccaFinestra(this);
}

frmMsgCom &frmMsgCom::Istanza()
{
    static QPointer<frmMsgCom> istanza;
    if (!istanza)
        istanza = new frmMsgCom;
    return *istanza;
}

QPushButton *frmMsgCom::Pulsante(int numero) const
{
    if (numero < 1 || numero > m_pulsanti.size() || m_pulsanti.at(numero - 1)->isHidden())
        return nullptr;
    return m_pulsanti.at(numero - 1);
}

bool frmMsgCom::UsaTesto() const
{
    return !m_testo->isHidden();
}

void frmMsgCom::Prepara(const Richiesta &r)
{
    m_premuto = 0;
    const TestoConDettaglio parti = SeparaDettaglio(NascondiPassword(r.testo));
    const QString &testo = parti.principale;
    m_dettaglio->setPlainText(parti.dettaglio);
    m_dettaglio->hide();
    m_mostraDettaglio->setVisible(!parti.dettaglio.isEmpty());
    m_mostraDettaglio->setText(QStringLiteral("Dettagli..."));
    if (!parti.dettaglio.isEmpty())
        qWarning().noquote() << QStringLiteral("%1 | Dettaglio: %2").arg(testo.simplified(), parti.dettaglio);
    setWindowTitle(r.titolo.isEmpty() ? QApplication::applicationDisplayName() : NascondiPassword(r.titolo));

    QFont f = QApplication::font(this);
    if (r.fontSize > 0)
        f.setPointSize(r.fontSize);
    setFont(f);

    const bool lungo = testo.size() > MaxCaratteriEtichetta || testo.count(u'\n') >= MaxRigheEtichetta;
    const bool usaTesto = r.sempreTxt || lungo || parolaTroppoLunga(r, testo);
    m_etichetta->setVisible(!usaTesto);
    m_testo->setVisible(usaTesto);
    m_etichetta->setText(usaTesto ? QString() : testo);
    m_testo->setPlainText(usaTesto ? testo : QString());

    QStringList captions = r.pulsanti;
    if (captions.isEmpty())
        captions << QStringLiteral("&Ok");
    const int n = int(std::min<qsizetype>(captions.size(), m_pulsanti.size()));
    for (int i = 0; i < m_pulsanti.size(); ++i) {
        QPushButton *b = m_pulsanti.at(i);
        b->setVisible(i < n);
        b->setText(i < n ? captions.at(i) : QString());
        if (r.widthCom > 0)
            b->setFixedWidth(daTwips(r.widthCom, this));
        else {
            b->setMinimumWidth(0);
            b->setMaximumWidth(QWIDGETSIZE_MAX);
        }
    }

    setFixedWidth(larghezzaPer(r, testo, usaTesto));
    adjustSize();

    const int predef = (r.comDefault >= 1 && r.comDefault <= n) ? r.comDefault : 1;
    for (int i = 0; i < n; ++i)
        m_pulsanti.at(i)->setDefault(i + 1 == predef);
    m_pulsanti.at(predef - 1)->setFocus(Qt::OtherFocusReason);
    if (r.suona)
        QApplication::beep();
}

int frmMsgCom::larghezzaMassima(const Richiesta &r) const
{
    // The share of the screen the caller allows (largForm percent plus
    // latiForm), never beyond the screen.
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int schermo = s ? s->availableGeometry().width() : 1024;
    const int massima =
        r.largForm > 0 ? schermo * std::min(r.largForm, 100) / 100 + daTwips(std::max(r.latiForm, 0), this)
                       : schermo * 6 / 10;
    return std::min(massima, schermo);
}

int frmMsgCom::marginiEtichetta() const
{
    const QMargins mf = layout()->contentsMargins();
    const QMargins me = m_etichetta->contentsMargins();
    return mf.left() + mf.right() + me.left() + me.right() + 2 * m_etichetta->margin();
}

bool frmMsgCom::parolaTroppoLunga(const Richiesta &r, const QString &testo) const
{
    // The label wraps at blanks only: a longer word would be cut at the
    // box's edge, so such a text goes into the text box, which breaks it.
    const QFontMetrics fm(font());
    static const QRegularExpression bianchi(QStringLiteral("\\s+"));
    const int spazio = larghezzaMassima(r) - marginiEtichetta();
    for (const QString &parola : testo.split(bianchi, Qt::SkipEmptyParts))
        if (fm.horizontalAdvance(parola) > spazio)
            return true;
    return false;
}

int frmMsgCom::larghezzaPer(const Richiesta &r, const QString &testo, bool usaTesto) const
{
    // The box takes the width its text needs, between a minimum that keeps
    // it a proper window and the share of the screen the caller allows, so
    // a one-line message is not a screen-wide band and a long one wraps at
    // a readable width.
    const int massima = larghezzaMassima(r);
    const QFontMetrics fm(font());
    const int minima = std::min(massima, std::max(fm.averageCharWidth() * 30, 240));
    if (usaTesto)
        return std::max(minima, massima);
    int testoLargo = 0;
    for (const QString &riga : testo.split(u'\n'))
        testoLargo = std::max(testoLargo, fm.horizontalAdvance(riga));
    // A few pixels beyond the text, so that rounding never wraps its last word.
    const int perTesto = testoLargo + marginiEtichetta() + fm.averageCharWidth();
    const QMargins mf = layout()->contentsMargins();
    const int perPulsanti = m_rigaPulsanti->sizeHint().width() + mf.left() + mf.right();
    return std::clamp(std::max(perTesto, perPulsanti), minima, massima);
}

namespace
{

QPointer<QWidget> &finestraRichiesta()
{
    static QPointer<QWidget> w;
    return w;
}

} // namespace

MsgComSopra::MsgComSopra(QWidget *finestra) : m_prima(finestraRichiesta())
{
    finestraRichiesta() = finestra;
}

MsgComSopra::~MsgComSopra()
{
    finestraRichiesta() = m_prima;
}

int frmMsgCom::Mostra(const Richiesta &r)
{
    // Over the window the message is asked for, else over the one in use,
    // so that it opens centred on it and above it.
    QWidget *sopra = finestraRichiesta() ? finestraRichiesta()->window() : nullptr;
    if (!sopra || !sopra->isVisible())
        sopra = QApplication::activeWindow();
    if (RisposteProgrammate::Attivo(RisposteProgrammate::MsgCom)) {
        QVariantMap mostrato;
        mostrato.insert(QStringLiteral("finestra"), QVariant::fromValue<QObject *>(sopra));
        mostrato.insert(QStringLiteral("testo"), NascondiPassword(r.testo));
        mostrato.insert(QStringLiteral("pulsanti"), r.pulsanti);
        mostrato.insert(QStringLiteral("titolo"), NascondiPassword(r.titolo));
        mostrato.insert(QStringLiteral("comDefault"), r.comDefault);
        RisposteProgrammate::Registra(RisposteProgrammate::MsgCom, mostrato);
        const auto risposta = RisposteProgrammate::Prendi(RisposteProgrammate::MsgCom);
        const int n = int(std::max<qsizetype>(1, r.pulsanti.size()));
        int premuto = risposta ? risposta->toInt() : r.comDefault;
        if (premuto < 1 || premuto > n)
            premuto = 1;
        return premuto;
    }
    if (sopra && sopra != this && parentWidget() != sopra)
        setParent(sopra, windowFlags());
    Prepara(r);
    exec();
    return m_premuto > 0 ? m_premuto : int(std::max<qsizetype>(1, r.pulsanti.size()));
}

void frmMsgCom::premi(int numero)
{
    m_premuto = numero;
    done(numero);
}

void frmMsgCom::keyPressEvent(QKeyEvent *e)
{
    // As in a Windows dialog, a button's letter works without Alt.
    if (!(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && !e->text().isEmpty()) {
        const QChar c = e->text().at(0).toUpper();
        for (int i = 0; i < m_pulsanti.size(); ++i) {
            if (!m_pulsanti.at(i)->isHidden() && mnemonico(m_pulsanti.at(i)->text()) == c) {
                m_pulsanti.at(i)->setFocus(Qt::ShortcutFocusReason);
                premi(i + 1);
                return;
            }
        }
    }
    QDialog::keyPressEvent(e);
}

void frmMsgCom::reject()
{
    // Escape and the window's close box both press the last button.
    int ultimo = 1;
    for (int i = 0; i < m_pulsanti.size(); ++i)
        if (!m_pulsanti.at(i)->isHidden())
            ultimo = i + 1;
    premi(ultimo);
}

void frmMsgCom::closeEvent(QCloseEvent *e)
{
    if (m_premuto == 0) {
        e->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(e);
}

int msgCom(const QString &psLabel, const QString &psCom1, const QString &pvCom2, const QString &pvCom3,
           const QString &pvTitolo, int piLargForm, bool pbSuona, int piLatiForm, int pvFontSize,
           int piComDefault, int pvWidthCom, bool pbSempreTxt)
{
    frmMsgCom::Richiesta r;
    r.testo = psLabel;
    r.pulsanti << (psCom1.isEmpty() ? QStringLiteral("&Ok") : psCom1);
    if (!pvCom2.isEmpty())
        r.pulsanti << pvCom2;
    if (!pvCom3.isEmpty())
        r.pulsanti << pvCom3;
    r.titolo = pvTitolo;
    r.largForm = piLargForm;
    r.suona = pbSuona;
    r.latiForm = piLatiForm;
    r.fontSize = pvFontSize;
    r.comDefault = piComDefault;
    r.widthCom = pvWidthCom;
    r.sempreTxt = pbSempreTxt;
    Rinviati &rinviati = rinvio();
    if (rinviati.livello > 0) {
        if (r.pulsanti.size() == 1) {
            rinviati.avvisi << r;
            return 1;
        }
        qWarning() << "msgCom: a question while notices are held back:" << NascondiPassword(r.testo);
        mostraRinviati();
    }
    return frmMsgCom::Istanza().Mostra(r);
}

AvvisiRinviati::AvvisiRinviati()
{
    ++rinvio().livello;
}

AvvisiRinviati::~AvvisiRinviati()
{
    if (--rinvio().livello == 0)
        mostraRinviati();
}

QString TestoMsgErrfrm(int numero, const QString &descrizione, const QString &psMsgAggPri,
                       const QString &psMsgAggDop)
{
    // The system's words of the description go last, after what the program
    // adds, so that the box can keep them apart from the sentence for the user.
    const TestoConDettaglio d = SeparaDettaglio(descrizione);
    const QString spiegazione = VbErrore::spiegazione(numero);
    return psMsgAggPri + QStringLiteral("Errore(") + QString::number(numero) + QStringLiteral("): ") +
           d.principale + (spiegazione.isEmpty() ? QString() : QStringLiteral("\r\n") + spiegazione) +
           psMsgAggDop + (d.dettaglio.isEmpty() ? QString() : QStringLiteral("\nDettaglio: ") + d.dettaglio);
}

TestoConDettaglio SeparaDettaglio(const QString &testo)
{
    static const QString riga = QStringLiteral("\nDettaglio: ");
    static const QRegularExpression chiusa(QStringLiteral(R"(\s*\(Dettaglio: (.*)\)\s*$)"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const qsizetype i = testo.indexOf(riga);
    if (i >= 0) {
        QString principale = testo.left(i);
        while (principale.endsWith(u'\r'))
            principale.chop(1);
        return {principale, testo.mid(i + riga.size()).trimmed()};
    }
    const QRegularExpressionMatch m = chiusa.match(testo);
    if (m.hasMatch())
        return {testo.left(m.capturedStart()), m.captured(1).trimmed()};
    return {testo, QString()};
}

void MsgErrfrm(int numero, const QString &descrizione, const QString &psMsgAggPri, const QString &psMsgAggDop)
{
    msgCom(TestoMsgErrfrm(numero, descrizione, psMsgAggPri, psMsgAggDop), QStringLiteral("&Ok"));
}

void MsgErrfrm(const VbErrore &errore, const QString &psMsgAggPri, const QString &psMsgAggDop)
{
    MsgErrfrm(errore.numero(), errore.descrizione(), psMsgAggPri, psMsgAggDop);
}

void MsgErrfrm(const QString &psMsgAggPri, const QString &psMsgAggDop)
{
    int numero = 0;
    QString descrizione;
    if (std::exception_ptr corrente = std::current_exception()) {
        try {
            std::rethrow_exception(corrente);
        } catch (const VbErrore &e) {
            numero = e.numero();
            descrizione = e.descrizione();
        } catch (const std::exception &e) {
            descrizione = QString::fromLocal8Bit(e.what());
        } catch (...) {
            descrizione = QStringLiteral("Errore sconosciuto");
        }
    }
    MsgErrfrm(numero, descrizione, psMsgAggPri, psMsgAggDop);
}

QString NascondiPassword(const QString &testo)
{
    // Connection attributes whose value is a secret, up to the next ';', ']',
    // blank or quote; ODBC values in braces up to the closing brace ("}}" is
    // an escaped brace inside).
    static const QRegularExpression re(
        QStringLiteral(R"(\b(pwd|password|passwd)(\s*=\s*)(\{(?:[^}]|\}\})*\}?|[^;\]\s'"]*))"),
        QRegularExpression::CaseInsensitiveOption);
    QString r = testo;
    r.replace(re, QStringLiteral("\\1\\2***"));
    return r;
}
