// The print-choice dialog's automatic PDF name, its browse buttons and the
// PDF and e-mail panel: loading the host's settings into the panel, checking
// and storing them back, and the request for a print's e-mail data.
#include "printing/FrmSceltaStam.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/Tasti.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <algorithm>

namespace
{
// The text boxes of an e-mail configuration (box number after the
// configuration's base) and their keys; from 17 on they hold numbers and the
// subject, written apart.
constexpr std::pair<int, const char *> ChiaviTestoConfig[] = {
    {8, "EmailInd"},          {9, "EmailCentro"},   {10, "EmailSMTPtipo"}, {11, "EmailServerSMTP"},
    {12, "EmailReplay"},      {14, "EmailLogin"},   {15, "EmailPwd"},      {17, "EmailNumTesto"},
    {18, "EmailPersOggetto"}, {19, "EmailNumPorta"}};

bool eSi(const QString &v)
{
    return v.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

bool conferma(const QString &domanda)
{
    return msgCom(domanda, QStringLiteral("&Sì"), QStringLiteral("&No"), {}, {}, 80, false, 600, 0, 1) == 1;
}

double numero(const QVariant &v)
{
    return Globali::Util().ValoreNumerico(v, true, true);
}

// A stored recipient or configuration number as a list position: 1 to 3.
int numeroElenco(const QVariant &v, int minimo)
{
    return int(std::clamp(numero(v), double(minimo), 3.0));
}

// The folder of a PDF path that is not there ("" when it is, or when no
// folder is named): a path ending in a separator, or without ".pdf", is a
// folder; otherwise the file's folder.
QString CartellaPdfMancante(const QString &percorso)
{
    const QString p = percorso.trimmed();
    if (p.isEmpty())
        return {};
    const bool file = !p.endsWith(u'/') && !p.endsWith(u'\\') &&
                      (p.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) || QFileInfo(p).isFile());
    const QString cartella = file ? QFileInfo(p).absolutePath() : p;
    return QFileInfo(cartella).isDir() ? QString() : cartella;
}

void spunta(QCheckBox *c, bool si)
{
    if (c)
        c->setChecked(si);
}

} // namespace

QString FrmSceltaStam::NomeChiavePE(const char *chiave, int c) const
{
    const QString nome = QString::fromLatin1(chiave);
    return mbPiuConfigEmail ? nome + QString::number(c + 1) : nome;
}

// ---- Automatic PDF ----

void FrmSceltaStam::ChePdfAutom_Click()
{
    if (!m_opz || InImpostazione)
        return;
    if (!ChePdfAutom->isChecked()) {
        CheInviaEmail->setChecked(false);
        CheInviaEmail->setEnabled(false);
        m_opz->ImpostaParStampa(QStringLiteral("EmailInvia"), false);
        m_opz->ImpostaParStampa(QStringLiteral("PdfAutomAbil"), false);
    }
    try {
        ImpostaPdfAutom();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::ImpostaPdfAutom()
{
    if (!m_opz)
        return;
    OpzStampa &o = *m_opz;
    const bool acceso = ChePdfAutom->isChecked();
    QString driver;
    if (eSi(LeggiParEmail(QStringLiteral("UsaPdfCreator"))))
        driver = QStringLiteral("PDFCreator");
    else if (eSi(LeggiParEmail(QStringLiteral("UsaPdf995"))))
        driver = QStringLiteral("PDF995");
    if (!driver.isEmpty() && ImpostaStampante(driver, o, !acceso)) {
        // Another printer: its own trays and papers, none for a PDF printer.
        ImpostaCboCassetti();
        ImpostaCboTipoCarta();
        VisStaAttuale();
    }
    if (!acceso)
        return;
    CheInviaEmail->setEnabled(true);
    o.ImpostaParStampa(QStringLiteral("PdfNomeFile"), LeggiParEmail(QStringLiteral("PdfNomeFile")));
    o.ImpostaParStampa(QStringLiteral("PdfAutomImpPar"),
                       QVariantList{Globali::PathIni, Globali::PathIniComune,
                                    LeggiParEmail(QStringLiteral("UsaPdfCreator")),
                                    LeggiParEmail(QStringLiteral("CreatorAutosaveStart")),
                                    LeggiParEmail(QStringLiteral("UsaPdf995"))});
    // The engine names the PDF itself only with this switch on; the box shows
    // it again each time the dialog is activated.
    o.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    VisStaAttuale();
    const QString cartella = CartellaPdfMancante(o.ParStampa(QStringLiteral("PdfNomeFile")).toString());
    if (!cartella.isEmpty())
        MessaggiStampa::Avviso(
            QStringLiteral("La cartella dei pdf %1 non esiste: crearla, oppure correggere il "
                           "\"Percorso file per pdf\" in \"Par ini Pdf/Email\", prima di "
                           "stampare.")
                .arg(QDir::toNativeSeparators(cartella)));
}

void FrmSceltaStam::AggiornaPdfAutom()
{
    // The settings just stored apply at once: the two boxes appear or go, and
    // a ticked automatic PDF takes the new path without ticking it again.
    MostraOpzioniPdf();
    if (m_opz && ChePdfAutom->isChecked())
        ImpostaPdfAutom();
}

void FrmSceltaStam::MostraOpzioniPdf()
{
    // With the settings unreadable neither can work.
    bool pdf = false, email = false;
    try {
        pdf = eSi(LeggiParEmail(QStringLiteral("UsaPdfCreator"))) ||
              eSi(LeggiParEmail(QStringLiteral("UsaPdf995")));
        email = pdf && eSi(LeggiParEmail(QStringLiteral("StampeEmail")));
    } catch (...) {
    }
    const auto spegni = [](QCheckBox *c) {
        c->blockSignals(true);
        c->setChecked(false);
        c->blockSignals(false);
    };
    if (!pdf && ChePdfAutom->isChecked()) {
        spegni(ChePdfAutom);
        if (m_opz)
            m_opz->ImpostaParStampa(QStringLiteral("PdfAutomAbil"), false);
    }
    if (!email && CheInviaEmail->isChecked()) {
        spegni(CheInviaEmail);
        if (m_opz)
            m_opz->ImpostaParStampa(QStringLiteral("EmailInvia"), false);
    }
    ChePdfAutom->setVisible(pdf);
    CheInviaEmail->setVisible(email);
}

void FrmSceltaStam::ComCerca_Click(int Index)
{
    QLineEdit *t = txt.Trova(Index);
    if (!t)
        return;
    if (Index == 1021 || Index == 1121 || Index == 1221) {
        const QString scelta =
            UtilFinestre::ScegliCartella(this, QStringLiteral("Directory per stunnel"), t->text());
        if (!scelta.isEmpty())
            t->setText(QDir::toNativeSeparators(scelta));
        return;
    }
    const bool pdf = Index == 1003;
    const QString scelta = UtilFinestre::ScegliFileDaSalvare(
        this, pdf ? QStringLiteral("Nome del file per pdf") : QStringLiteral("Nome del file per log"),
        t->text(), pdf ? QString() : QStringLiteral("Testo (*.txt)"));
    if (!scelta.isEmpty())
        t->setText(scelta);
}

void FrmSceltaStam::ComHlp_Click(int Index)
{
    RipetiKeyUp(this, Index, 113, 0);
}

// ---- The panel ----

void FrmSceltaStam::NascondiPannelloPE()
{
    MostraFoglio(m_principale);
}

void FrmSceltaStam::ComParIniPE_Click()
{
    MostraFoglio(PicPdfEmail);
    PESelDeselSalOpz(true);
    try {
        MostraIniPE();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::MostraIniPE()
{
    const UtilGlob &u = Globali::Util();
    const auto leggi = [](const QString &nome) { return LeggiParEmail(nome); };
    spunta(ChePdfEmailVal(1), eSi(leggi(QStringLiteral("UsaPdfCreator"))));
    spunta(ChePdfEmailVal(2), eSi(leggi(QStringLiteral("UsaPdf995"))));
    txt(1003)->setText(leggi(QStringLiteral("PdfNomeFile")));
    spunta(ChePdfEmailVal(4), eSi(leggi(QStringLiteral("CreatorAutosaveStart"))));
    txt(1005)->setText(leggi(QStringLiteral("EmailTo1")));
    txt(1505)->setText(leggi(QStringLiteral("EmailTo2")));
    txt(1515)->setText(leggi(QStringLiteral("EmailTo3")));
    // Numbers beyond the three entries of the lists are held to them.
    miEmailToCor = numeroElenco(leggi(QStringLiteral("EmailToNum")), 1);
    MostraEmailToCor(true);
    // No configuration chosen yet: the plain key names of one configuration,
    // until "Ok" or a save stores the number. Nothing else is written here,
    // so the recipient choice stays as stored.
    miEmailTipoCor = numeroElenco(leggi(QStringLiteral("EmailTipoNum")), 0);
    if (miEmailTipoCor == 0) {
        miEmailTipoCor = 1;
        mbPiuConfigEmail = 0;
    } else {
        mbPiuConfigEmail = -1;
    }
    MostraEmailTipoCor(true);

    for (int c = 0; c < 3; ++c) {
        if (!mbPiuConfigEmail && c > 0)
            break;
        const int b = 100 * c;
        const QString tipo = leggi(NomeChiavePE("EmailTipoInvio", c)).trimmed().toUpper();
        int opzione = 0;
        if (tipo == QLatin1String("C"))
            opzione = 1;
        else if (tipo == QLatin1String("O"))
            opzione = 2;
        else if (tipo == QLatin1String("E"))
            opzione = 3;
        else if (tipo.isEmpty() && c > 0)
            opzione = 4;
        OptPETipoInvio(5 * c + opzione)->setChecked(true);
        for (const auto &[k, chiave] : ChiaviTestoConfig) {
            const QString nome = NomeChiavePE(chiave, c);
            QString valore = k == 8 || k == 12 ? LeggiParMenu(nome).toString() : leggi(nome);
            if (k == 17 || k == 19)
                valore = u.Formatta(valore, QStringLiteral("#"));
            txt(1000 + b + k)->setText(valore);
        }
        spunta(ChePdfEmailVal(20 + b), eSi(leggi(NomeChiavePE("EmailUsaSSL", c))));
        txt(1021 + b)->setText(leggi(NomeChiavePE("EmailDirStunnel", c)));
    }
    txt(1007)->setText(leggi(QStringLiteral("EmailFileLog")));
    const QString notifica = leggi(QStringLiteral("EmailFlagNotifica")).trimmed();
    spunta(ChePdfEmailVal(13), notifica.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                   notifica == QLatin1String("-1"));
    spunta(ChePdfEmailVal(16), eSi(leggi(QStringLiteral("StampeEmail"))));
    ColoriVb::ImpostaBackColor(txt(1017), Globali::ColBackNormale);
    txt(1520)->setText(m_opz ? m_opz->ParStampa(QStringLiteral("EmailToTemp")).toString() : QString());
}

void FrmSceltaStam::AggIniPE()
{
    const UtilGlob &u = Globali::Util();
    // With one configuration the plain names are written, and the names of
    // configuration 1 too: the configuration number is stored below, and the
    // next opening reads the numbered names.
    const auto scriviConfig = [this](const char *chiave, int c, const QVariant &valore) {
        ScriviParMenu(NomeChiavePE(chiave, c), valore);
        if (!mbPiuConfigEmail)
            ScriviParMenu(QString::fromLatin1(chiave) + QLatin1Char('1'), valore);
    };
    const auto sn = [](QCheckBox *c) { return c->isChecked() ? QStringLiteral("S") : QStringLiteral("N"); };
    ScriviParMenu(QStringLiteral("UsaPdfCreator"), sn(ChePdfEmailVal(1)));
    ScriviParMenu(QStringLiteral("UsaPdf995"), sn(ChePdfEmailVal(2)));
    ScriviParMenu(QStringLiteral("PdfNomeFile"), txt(1003)->text());
    ScriviParMenu(QStringLiteral("CreatorAutosaveStart"), sn(ChePdfEmailVal(4)));
    ScriviParMenu(QStringLiteral("EmailTo1"), txt(1005)->text());
    ScriviParMenu(QStringLiteral("EmailTo2"), txt(1505)->text());
    ScriviParMenu(QStringLiteral("EmailTo3"), txt(1515)->text());
    ScriviParMenu(QStringLiteral("EmailToNum"), miEmailToCor);
    const int destinatario[] = {0, 1005, 1505, 1515};
    if (miEmailToCor >= 1 && miEmailToCor <= 3)
        ScriviParMenu(QStringLiteral("EmailTo"), txt(destinatario[miEmailToCor])->text());
    for (int c = 0; c < 3; ++c) {
        if (!mbPiuConfigEmail && c > 0)
            break;
        const int b = 100 * c;
        QString tipo = QStringLiteral("S");
        if (OptPETipoInvio(5 * c + 1)->isChecked())
            tipo = QStringLiteral("C");
        else if (OptPETipoInvio(5 * c + 2)->isChecked())
            tipo = QStringLiteral("O");
        else if (OptPETipoInvio(5 * c + 3)->isChecked())
            tipo = QStringLiteral("E");
        else if (c > 0 && OptPETipoInvio(5 * c + 4)->isChecked())
            tipo.clear();
        scriviConfig("EmailTipoInvio", c, tipo);
        for (const auto &[k, chiave] : ChiaviTestoConfig)
            if (k < 17)
                scriviConfig(chiave, c, txt(1000 + b + k)->text());
        scriviConfig("EmailNumTesto", c, u.ValoreNumerico(txt(1017 + b)->text(), true, true));
        scriviConfig("EmailPersOggetto", c, txt(1018 + b)->text());
        scriviConfig("EmailNumPorta", c, u.ValoreNumerico(txt(1019 + b)->text(), true, true));
        scriviConfig("EmailUsaSSL", c, ChePdfEmailVal(20 + b)->isChecked() ? QStringLiteral("S") : QString());
        scriviConfig("EmailDirStunnel", c, txt(1021 + b)->text());
    }
    ScriviParMenu(QStringLiteral("EmailFileLog"), txt(1007)->text());
    ScriviParMenu(QStringLiteral("EmailFlagNotifica"), ChePdfEmailVal(13)->isChecked());
    ScriviParMenu(QStringLiteral("StampeEmail"), sn(ChePdfEmailVal(16)));
    if (m_opz)
        m_opz->ImpostaParStampa(QStringLiteral("EmailToTemp"), txt(1520)->text());
    ScriviParMenu(QStringLiteral("EmailTipoNum"), miEmailTipoCor);
}

QVariant FrmSceltaStam::CtrlTxtValidi()
{
    QString nome;
    int indice = -1;
    if (UtilFinestre::CercaCampoInErrore(this, Globali::ColBackErrore, nome, indice)) {
        MessaggiStampa::Avviso(QStringLiteral("ci sono dei dati non validi"));
        if (nome == QLatin1String("txt"))
            UtilFinestre::ImpostaFocus(txt.Trova(indice), true);
        return false;
    }
    for (int c = 0; c < 3; ++c) {
        if (!ChePdfEmailVal(20 + 100 * c)->isChecked())
            continue;
        if (!OptPETipoInvio(5 * c + 3)->isChecked()) {
            MessaggiStampa::Avviso(QStringLiteral("L'uso di SSL è possibile solo usando tipo invio 'See'"));
            return false;
        }
        const QString cartella = txt(1021 + 100 * c)->text();
        if (Globali::Util().ValoreVuoto(cartella)) {
            MessaggiStampa::Avviso(
                QStringLiteral("Con l'uso di SSL è obbligatorio inserire la directory stunnel"));
            return false;
        }
        if (!QFileInfo(cartella).isDir()) {
            MessaggiStampa::Avviso(QStringLiteral("La directory stunnel è inesistente"));
            return false;
        }
    }
    return true;
}

void FrmSceltaStam::ComPEOk_Click()
{
    try {
        if (!CtrlTxtValidi().toBool())
            return;
        AggIniPE();
        AggiornaPdfAutom();
        if (oiRichDatiEmail != 1000) {
            NascondiPannelloPE();
            return;
        }
        const int b = mbPiuConfigEmail ? 100 * (miEmailTipoCor - 1) : 0;
        const UtilGlob &u = Globali::Util();
        const bool mancano =
            u.ValoreVuoto(txt(1014 + b)->text()) || u.ValoreVuoto(txt(1015 + b)->text()) ||
            u.ValoreVuoto(txt(1011 + b)->text()) ||
            (u.ValoreVuoto(LeggiParMenu(QStringLiteral("EmailTo"))) && u.ValoreVuoto(txt(1520)->text()));
        if (mancano) {
            MessaggiStampa::Avviso(QStringLiteral("mancano dati obbligatori per l'invio dell'email"));
            return;
        }
        hide();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::ComPEAnnulla_Click()
{
    if (oiRichDatiEmail != 1000) {
        if (conferma(QStringLiteral("Confermi uscita senza salvataggio")))
            NascondiPannelloPE();
        return;
    }
    if (conferma(QStringLiteral("Confermi annullamento invio email"))) {
        oiRichDatiEmail = 200;
        hide();
    }
}

void FrmSceltaStam::ComPeDatiCor_Click()
{
    try {
        MostraIniPE();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

QVariant FrmSceltaStam::RichDatiEmail()
{
    ComParIniPE_Click();
    // Data that are not there (the password is typed at each session) are
    // asked for as missing, not as wrong.
    const int b = mbPiuConfigEmail ? 100 * (miEmailTipoCor - 1) : 0;
    QStringList mancano;
    for (const auto &[k, campo] : {std::pair{14, "Login Email"}, {15, "Pwd Email"}, {11, "Server SMTP"}})
        if (Globali::Util().ValoreVuoto(txt(1000 + b + k)->text()))
            mancano << QString::fromLatin1(campo);
    const int destinatario[] = {1005, 1505, 1515};
    if (Globali::Util().ValoreVuoto(txt(destinatario[miEmailToCor - 1])->text()) &&
        Globali::Util().ValoreVuoto(txt(1520)->text()))
        mancano << QStringLiteral("Indir. Email a cui si invia");
    // The field asked for first is in sight and has the keyboard: the
    // password when it is missing or refused.
    int campo = 1015 + b;
    if (mancano.contains(QStringLiteral("Login Email")))
        campo = 1014 + b;
    else if (mancano.contains(QStringLiteral("Server SMTP")))
        campo = 1011 + b;
    else if (!mancano.isEmpty() && !mancano.contains(QStringLiteral("Pwd Email")))
        campo = 1520;
    if (mancano == QStringList{QStringLiteral("Pwd Email")})
        MessaggiStampa::Avviso(QStringLiteral("Manca la password per la spedizione email: scriverla in \"Pwd "
                                              "Email\" e confermare con Ok."));
    else if (!mancano.isEmpty())
        MessaggiStampa::Avviso(
            QStringLiteral("Mancano dati per la spedizione email (%1): completarli e confermare "
                           "con Ok.")
                .arg(mancano.join(QStringLiteral(", "))));
    else
        MessaggiStampa::Avviso(QStringLiteral("Login o password non valida per spedizione email"));
    DimensionaRichiesta(txt(campo));
    UtilFinestre::MostraForm(this, 1);
    const bool ok = oiRichDatiEmail != 200;
    oiRichDatiEmail = 0;
    return ok;
}

void FrmSceltaStam::DimensionaRichiesta(QWidget *campo)
{
    // Once shown: as tall as the panel's fields need, within the screen,
    // then the field asked for in sight and given the keyboard.
    const QPointer<QWidget> c(campo);
    UtilFinestre::UnoShot(this, [this, c] {
        auto *scorri = PicPdfEmail->findChild<QScrollArea *>();
        if (!scorri || !scorri->widget() || !isVisible())
            return;
        const QScreen *schermo = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect area = schermo ? schermo->availableGeometry() : QRect(0, 0, 1024, 768);
        // The window manager's frame, or room for a title bar while it is
        // not known yet (a move then places the window's inside).
        const int frame = frameGeometry().height() - height();
        const int cornice = frame > 0 ? frame : 2 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int manca = scorri->widget()->sizeHint().height() - scorri->viewport()->height();
        resize(width(), std::max(height(), std::min(height() + manca, area.height() - cornice)));
        const int cima = std::clamp(frameGeometry().top(), area.top(),
                                    std::max(area.top(), area.bottom() + 1 - height() - cornice));
        move(x(), frame > 0 ? cima : cima + cornice);
        UtilFinestre::UnoShot(this, [scorri, c] {
            if (!c)
                return;
            scorri->ensureWidgetVisible(c);
            c->setFocus(Qt::OtherFocusReason);
        });
    });
}

void FrmSceltaStam::MostraEmailToCor(bool pbAggCob)
{
    if (miEmailToCor < 1 || miEmailToCor > 3)
        return;
    const int caselle[] = {1005, 1505, 1515};
    auto *pila = qobject_cast<QStackedWidget *>(txt(1005)->parentWidget());
    if (pila)
        pila->setCurrentWidget(txt(caselle[miEmailToCor - 1]));
    if (pbAggCob)
        CboEmailToNum->setCurrentIndex(miEmailToCor - 1);
}

void FrmSceltaStam::MostraEmailTipoCor(bool pbAggCob)
{
    if (miEmailTipoCor < 1 || miEmailTipoCor > 3)
        return;
    auto *pila = qobject_cast<QStackedWidget *>(PicEmailAttiva(0)->parentWidget());
    if (pila)
        pila->setCurrentWidget(PicEmailAttiva(miEmailTipoCor - 1));
    if (pbAggCob)
        CboEmailTipoNum->setCurrentIndex(miEmailTipoCor - 1);
}

void FrmSceltaStam::CboEmailToNum_Click()
{
    miEmailToCor = CboEmailToNum->currentIndex() + 1;
    MostraEmailToCor(false);
}

void FrmSceltaStam::CboEmailTipoNum_Click()
{
    miEmailTipoCor = CboEmailTipoNum->currentIndex() + 1;
    MostraEmailTipoCor(false);
}
