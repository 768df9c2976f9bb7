// The print preview's pages: the arrows, the page files kept while the user
// browses (saved when leaving the newest page, loaded when going back), and
// the layout of the page area with its scroll bars.
#include "printing/FrmVStampa.h"

#include "components/stampa/Stampatore.h"
#include "printing/MessaggiStampa.h"
#include "services/DatiComuni.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTime>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace
{

struct ErrorePagine {
    int numero;
    QString descrizione;
};

// The hourglass for as long as a page is saved or loaded.
struct Clessidra {
    Clessidra() { CursoreAttesa(true); }
    ~Clessidra() { CursoreAttesa(false); }
};

bool entra16(double v)
{
    return v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max();
}

// Large and small steps of a bar over an excess of `d` twips.
void passi(double d, int &grande, int &piccolo)
{
    grande = int(std::abs(std::floor(d / 10))) + 1;
    piccolo = int(std::abs(std::floor(d / 100))) + 1;
}

} // namespace

QString FrmVStampa::FilePagina(int pagina) const
{
    return msNomeBasePagine + QLatin1Char('.') + TestoPagina(pagina);
}

void FrmVStampa::nuovoNomeBase()
{
    // The engine's folder and name, the minutes and seconds, and a part that
    // makes the name this preview's alone: the reserved file holds it for as
    // long as the preview keeps pages under it.
    const QString modello = m_motore->PrefissoPagine() + m_motore->PercorsoPagine().toString() +
                            QTime::currentTime().toString(QStringLiteral("mmss")) + QStringLiteral("-XXXXXX");
    m_segnaposto = std::make_unique<QTemporaryFile>(modello);
    if (m_segnaposto->open()) {
        msNomeBasePagine = m_segnaposto->fileName();
        m_segnaposto->close();
    } else {
        m_segnaposto.reset();
        msNomeBasePagine = QString(modello).replace(QStringLiteral("XXXXXX"),
                                                    QString::number(QCoreApplication::applicationPid()));
    }
}

void FrmVStampa::cancellaPagine(QStringList *nonCancellati)
{
    if (m_salvataggio.valid())
        m_salvataggio.wait();
    m_salvataggio = {};
    if (msNomeBasePagine.isEmpty())
        return;
    const QFileInfo base(msNomeBasePagine);
    const QString prefisso = base.fileName() + QLatin1Char('.');
    QDir cartella = base.dir();
    for (const QString &nome :
         cartella.entryList({prefisso + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        const QString numero = nome.mid(prefisso.size());
        bool cifre = !numero.isEmpty();
        for (QChar c : numero)
            cifre = cifre && c.isDigit();
        if (!cifre)
            continue;
        QFile file(cartella.filePath(nome));
        if (!file.remove() && nonCancellati)
            *nonCancellati << QDir::toNativeSeparators(file.fileName()) + QStringLiteral(": ") +
                                  file.errorString();
    }
}

bool FrmVStampa::AttendiSalvataggi()
{
    if (!m_salvataggio.valid())
        return true;
    return m_salvataggio.get();
}

void FrmVStampa::salvaPagina(int pagina)
{
    // One page at a time is written behind the engine: the copy shares the
    // canvas's pixels, which the engine replaces rather than draws over.
    if (!AttendiSalvataggi())
        throw ErrorePagine{75, QStringLiteral("Impossibile scrivere il file %1").arg(m_fileInSalvataggio)};
    m_fileInSalvataggio = FilePagina(pagina);
    m_salvataggio = std::async(std::launch::async, [immagine = m_tela, file = m_fileInSalvataggio] {
        return ScriviFilePagina(immagine, file);
    });
}

void FrmVStampa::mostraPagina(int pagina)
{
    labPage->setText(QStringLiteral("Pag.") + TestoPagina(pagina));
    Clessidra c;
    if (!AttendiSalvataggi())
        throw ErrorePagine{75, QStringLiteral("Impossibile scrivere il file %1").arg(m_fileInSalvataggio)};
    QImage immagine = LeggiFilePagina(FilePagina(pagina));
    if (immagine.isNull())
        throw ErrorePagine{53, QStringLiteral("Impossibile leggere il file %1").arg(FilePagina(pagina))};
    m_tela = std::move(immagine);
    if (PicSec->size() != m_tela.size())
        PicSec->resize(m_tela.size());
    PicSec->update();
}

void FrmVStampa::imaMuovi_Click(int indice)
{
    if (!m_motore)
        return;
    Stampatore &m = *m_motore;
    hscPosOri->setValue(0);
    vscPosVert->setValue(0);
    int a = m.PaginaCorrente();
    try {
        const int b = m.UltimaPagina();
        const bool k = m.MemorizzaPagine();
        if (a == b && a > m.UltimaPaginaSalvata() && k) {
            salvaPagina(a);
            m.UltimaPaginaSalvata(a);
        }
        switch (indice) {
        case 1:
            if (k && a >= miPaginaDa) {
                a = miPaginaDa > 0 ? miPaginaDa : 1;
                m.PaginaCorrente(a);
                mostraPagina(a);
            }
            break;
        case 2:
            if (a > std::max(1, miPaginaDa) && k) {
                m.PaginaCorrente(--a);
                mostraPagina(a);
            }
            break;
        case 3:
            if (a >= std::numeric_limits<qint16>::max())
                throw ErrorePagine{6, QStringLiteral("Overflow")};
            ++a;
            if (a <= b && k) {
                m.PaginaCorrente(a);
                mostraPagina(a);
            } else if (LabMsg->text().compare(QLatin1String("Stampa Terminata"), Qt::CaseInsensitive) != 0 &&
                       InAttesa()) {
                // The engine, waiting in Continua, goes on and draws page a.
                labPage->setText(QStringLiteral("Pag.") + TestoPagina(a));
                m.PaginaCorrente(a);
                m.UltimaPagina(a);
                m_tela = QImage();
                PicSec->update();
                mbAvanti = true;
                m_ciclo->quit();
            }
            break;
        case 4:
            if (k) {
                a = b;
                m.PaginaCorrente(a);
                mostraPagina(a);
            }
            break;
        default:
            break;
        }
    } catch (const std::bad_alloc &) {
        MessaggiStampa::MsgBox(QStringLiteral("Non c'è abbastanza memoria per memorizzare le pagine:\n"
                                              "Provare con una dimensione di caratteri minore.\n"
                                              "MEMORIZZAZIONE DISABILITATA"),
                               {}, QMessageBox::NoIcon, this);
        m.MemorizzaPagine(false);
        for (int i : {1, 2, 4})
            imaMuovi(i)->setEnabled(false);
        SistImgFrecce();
        m.PaginaCorrente(m.UltimaPagina());
        labPage->setText(QStringLiteral("Pag.") + TestoPagina(m.UltimaPagina()));
    } catch (const ErrorePagine &e) {
        MessaggiStampa::MsgBox(QStringLiteral("Errore ") + e.descrizione +
                                   QStringLiteral(" in gestione pagine a video ( ") +
                                   QString::number(e.numero) + QLatin1Char(')'),
                               {}, QMessageBox::NoIcon, this);
    }
    sistemaFrecce();
}

// The arrows follow the page shown: back only from after the first page,
// forward while there is a stored page after it or the engine can still draw
// one.
void FrmVStampa::sistemaFrecce()
{
    if (!m_motore)
        return;
    const Stampatore &m = *m_motore;
    const int a = m.PaginaCorrente();
    const bool k = m.MemorizzaPagine();
    const bool terminata =
        LabMsg->text().compare(QLatin1String("Stampa Terminata"), Qt::CaseInsensitive) == 0;
    const bool indietro = k && a > std::max(1, miPaginaDa);
    const bool avanti = k && a < m.UltimaPagina();
    imaMuovi(1)->setEnabled(indietro);
    imaMuovi(2)->setEnabled(indietro);
    imaMuovi(3)->setEnabled(avanti || (InAttesa() && !terminata));
    imaMuovi(4)->setEnabled(avanti);
    SistImgFrecce();
}

LayoutAnteprima CalcolaLayoutAnteprima(const MisureAnteprima &m)
{
    LayoutAnteprima r;
    const double t = m.barra;
    double pw = m.larghezza;
    double ph = std::max(0.0, m.altezza - t);
    r.area = QRectF(0, t, pw, ph);
    if (!(ph < m.telaA) && !(pw < m.telaL))
        return r;
    const bool oltreV = ph < m.telaA, oltreH = pw < m.telaL;
    pw = std::max(0.0, m.larghezza - (oltreV ? m.spessoreV : 0));
    ph = std::max(0.0, m.altezza - t - (oltreH ? m.spessoreH : 0));
    r.area = QRectF(0, std::max(0.0, t), pw, ph);
    r.rettH = QRectF(0, t + ph, pw, m.spessoreH);
    r.rettV = QRectF(pw, t, m.spessoreV, ph);
    const double maxH = std::max(0.0, m.telaL - pw + 100);
    const double maxV = m.telaA - ph + 100;
    r.troppoLarga = !entra16(std::round(maxH));
    r.troppoAlta = !entra16(std::round(maxV));
    r.maxH = r.troppoLarga ? 0 : int(std::round(maxH));
    r.maxV = r.troppoAlta ? 0 : int(std::round(maxV));
    r.barraV = m.telaA > ph;
    r.barraH = m.telaL > pw;
    if (r.barraV)
        passi(m.telaA - ph, r.grandeV, r.piccoloV);
    if (r.barraH)
        passi(m.telaL - pw, r.grandeH, r.piccoloH);
    return r;
}

void FrmVStampa::SistControlli()
{
    if (isMinimized())
        return;
    auto twip = [](int px) { return px * TwipPerPixel; };
    auto px = [](const QRectF &r) {
        return QRect(qRound(r.x() / TwipPerPixel), qRound(r.y() / TwipPerPixel),
                     qRound(r.width() / TwipPerPixel), qRound(r.height() / TwipPerPixel));
    };
    PicTasti->setGeometry(0, 0, width(), PicTasti->height());
    MisureAnteprima m;
    m.larghezza = twip(width());
    m.altezza = twip(height());
    m.barra = twip(PicTasti->height());
    m.telaL = twip(PicSec->width());
    m.telaA = twip(PicSec->height());
    m.spessoreV = twip(vscPosVert->sizeHint().width());
    m.spessoreH = twip(hscPosOri->sizeHint().height());
    const LayoutAnteprima r = CalcolaLayoutAnteprima(m);
    PicPrinc->setGeometry(px(r.area));
    if (!r.barraV && !r.barraH) {
        hscPosOri->hide();
        vscPosVert->hide();
        PicSec->move(0, 0);
        return;
    }
    hscPosOri->setGeometry(px(r.rettH));
    vscPosVert->setGeometry(px(r.rettV));
    if (!r.troppoLarga)
        hscPosOri->setRange(r.minimo, r.maxH);
    if (!r.troppoAlta) {
        vscPosVert->setRange(r.minimo, r.maxV);
        m_troppoAltaAvvisata = QSizeF();
    } else if (m_troppoAltaAvvisata != QSizeF(m.telaA, r.area.height())) {
        // Told once for each size: the message box itself activates the
        // window again, and would be shown again without end.
        m_troppoAltaAvvisata = QSizeF(m.telaA, r.area.height());
        MessaggiStampa::MsgBox(
            QStringLiteral("La lunghezza del foglio può essere al massimo di 32.666 mmm. (vedi "
                           "parametri stampante selezionata)"),
            QStringLiteral("Stampa a video"), QMessageBox::NoIcon, this);
    }
    vscPosVert->setVisible(r.barraV);
    vscPosVert->setEnabled(r.barraV);
    hscPosOri->setVisible(r.barraH);
    hscPosOri->setEnabled(r.barraH);
    vscPosVert->setPageStep(r.grandeV);
    vscPosVert->setSingleStep(r.piccoloV);
    hscPosOri->setPageStep(r.grandeH);
    hscPosOri->setSingleStep(r.piccoloH);
    posizionaTela();
}
