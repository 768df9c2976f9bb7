// Focus, modal windows, the field in error, dialogs and one-shot timers.
#include "components/forms/UtilFinestre.h"

#include "components/forms/AdattatoreEventi.h"
#include "components/forms/ColoriVb.h"
#include "components/forms/ControlArray.h"
#include "components/forms/DialogoFile.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/util/VbErrore.h"

#include <QDesktopServices>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace RP = RisposteProgrammate;

namespace
{

// Watches a window shown modally and ends the loop when it hides. A close
// request alone does not count: the window's close handler may refuse it and
// stay open; an accepted close hides the window.
class FineModale : public QObject
{
  public:
    FineModale(QWidget *w, QEventLoop *loop) : QObject(w), m_loop(loop) { w->installEventFilter(this); }

  protected:
    bool eventFilter(QObject *, QEvent *ev) override
    {
        if (ev->type() == QEvent::Hide)
            QTimer::singleShot(0, m_loop, &QEventLoop::quit);
        return false;
    }

  private:
    QEventLoop *m_loop;
};

// Refuses the closes a window receives from the window system.
class RifiutaChiusure : public QObject
{
  public:
    explicit RifiutaChiusure(QWindow *w) : QObject(w) { w->installEventFilter(this); }

  protected:
    bool eventFilter(QObject *, QEvent *ev) override
    {
        if (ev->type() != QEvent::Close)
            return false;
        ev->ignore();
        return true;
    }
};

QString Percorso(const QString &tipo, const QVariantMap &mostrato, const std::function<QString()> &dialogo)
{
    if (RP::Attivo(tipo)) {
        RP::Registra(tipo, mostrato);
        return RP::Prendi(tipo).value_or(QVariant(QString())).toString();
    }
    return dialogo();
}

// The file or folder chosen in one of the program's file dialogs; "" when
// cancelled.
QString sceltaDialogo(QFileDialog &dialogo)
{
    UtilFinestre::PreparaDialogoFile(dialogo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    return dialogo.selectedFiles().constFirst();
}

} // namespace

namespace UtilFinestre
{

void StaccaFinestra(QWidget *finestra)
{
    if (!finestra)
        return;
    for (AdattatoreEventi *a : finestra->findChildren<AdattatoreEventi *>())
        a->Spegni();
    for (QObject *figlio : finestra->findChildren<QObject *>()) {
        QObject::disconnect(figlio, nullptr, finestra, nullptr);
        figlio->removeEventFilter(finestra);
    }
}

GuardiaChiusura::GuardiaChiusura(QWidget *finestra)
{
    // Every close of a shown window passes through its window-system window
    // (QWidget::close() too), which destroys itself when the close is granted:
    // the refusal goes there. A window never shown cannot be closed twice.
    QWindow *w = finestra ? finestra->window()->windowHandle() : nullptr;
    if (w && !w->findChild<RifiutaChiusure *>(QString(), Qt::FindDirectChildrenOnly))
        m_filtro = new RifiutaChiusure(w);
}

GuardiaChiusura::~GuardiaChiusura()
{
    delete m_filtro.data();
}

void NumeraTabIndex(QWidget *form)
{
    if (!form)
        return;
    int n = 0;
    for (QWidget *w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain())
        if (form->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            w->setProperty("TabIndex", n++);
}

bool ImpostaFocus(QWidget *controllo, bool ignoraErrori)
{
    if (!controllo || !controllo->isEnabled() || controllo->isHidden() ||
        controllo->focusPolicy() == Qt::NoFocus ||
        (controllo->window()->isVisible() && !controllo->isVisible())) {
        if (ignoraErrori)
            return false;
        throw VbErrore(5, QStringLiteral("Impossibile spostare lo stato attivo sul controllo: il controllo è "
                                         "invisibile, disattivato o non accetta lo stato attivo"));
    }
    controllo->setFocus(Qt::OtherFocusReason);
    return true;
}

int MostraForm(QWidget *form, int modo)
{
    if (modo == 0) {
        form->show();
        form->raise();
        form->activateWindow();
        return 0;
    }
    const auto azione = RP::AzioneModale();
    if (auto *d = qobject_cast<QDialog *>(form)) {
        if (azione)
            QTimer::singleShot(0, d, [d, azione] { azione(d); });
        return d->exec();
    }
    QPointer<QWidget> w(form);
    const Qt::WindowModality prima = form->windowModality();
    form->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    auto *fine = new FineModale(form, &loop);
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form->show();
    form->raise();
    form->activateWindow();
    if (azione)
        QTimer::singleShot(0, form, [form, azione] { azione(form); });
    if (form->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (w) {
        delete fine;
        w->setWindowModality(prima);
    }
    return 0;
}

bool CercaCampoInErrore(QWidget *form, long colore, QString &nome, int &indice)
{
    nome.clear();
    indice = -1;
    if (!form)
        return false;
    const auto figli = form->findChildren<QWidget *>();
    for (QWidget *w : figli) {
        // Only colours set through BackColor count: a palette that merely looks red is no verdict.
        if (w->property("vbBackColor").isValid() && ColoriVb::BackColor(w) == colore) {
            nome = NomeControllo(w);
            indice = IndiceControllo(w);
            return true;
        }
    }
    return false;
}

QFont FontDaDialogo(QWidget *parent, const QFont &iniziale, const QString &titolo, bool &scelto)
{
    if (RP::Attivo(RP::Font)) {
        RP::Registra(RP::Font, {{QStringLiteral("titolo"), titolo}, {QStringLiteral("font"), iniziale}});
        const QVariant v = RP::Prendi(RP::Font).value_or(QVariant());
        scelto = v.canConvert<QFont>() && v.typeId() == QMetaType::QFont;
        return scelto ? v.value<QFont>() : iniziale;
    }
    return QFontDialog::getFont(&scelto, iniziale, parent, titolo);
}

QString ScegliFileDaAprire(QWidget *parent, const QString &titolo, const QString &cartella,
                           const QString &filtro)
{
    return Percorso(RP::FileApri,
                    {{QStringLiteral("titolo"), titolo},
                     {QStringLiteral("cartella"), cartella},
                     {QStringLiteral("filtro"), filtro}},
                    [&] {
                        QFileDialog dialogo(parent, titolo, cartella, filtro);
                        dialogo.setFileMode(QFileDialog::ExistingFile);
                        return sceltaDialogo(dialogo);
                    });
}

QString ScegliFileDaSalvare(QWidget *parent, const QString &titolo, const QString &cartella,
                            const QString &filtro)
{
    return Percorso(RP::FileSalva,
                    {{QStringLiteral("titolo"), titolo},
                     {QStringLiteral("cartella"), cartella},
                     {QStringLiteral("filtro"), filtro}},
                    [&] {
                        QFileDialog dialogo(parent, titolo, cartella, filtro);
                        dialogo.setAcceptMode(QFileDialog::AcceptSave);
                        dialogo.setFileMode(QFileDialog::AnyFile);
                        return sceltaDialogo(dialogo);
                    });
}

QString ScegliFileDaSalvare(QWidget *parent, const QString &titolo, const QString &cartella,
                            const QString &filtro, QString &filtroScelto)
{
    if (RP::Attivo(RP::FileSalva)) {
        RP::Registra(RP::FileSalva, {{QStringLiteral("titolo"), titolo},
                                     {QStringLiteral("cartella"), cartella},
                                     {QStringLiteral("filtro"), filtro},
                                     {QStringLiteral("filtroScelto"), filtroScelto}});
        const QVariant risposta = RP::Prendi(RP::FileSalva).value_or(QVariant(QString()));
        if (risposta.typeId() != QMetaType::QStringList && risposta.typeId() != QMetaType::QVariantList)
            return risposta.toString();
        const QStringList parti = risposta.toStringList();
        if (!parti.value(0).isEmpty() && parti.size() > 1)
            filtroScelto = parti[1];
        return parti.value(0);
    }
    // A name typed without extension takes the chosen filter's, before the
    // dialog checks whether the file exists: its question about replacing
    // it is then about the file that will be written.
    QFileDialog dialogo(parent, titolo, cartella, filtro);
    PreparaDialogoFile(dialogo);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    const auto suffisso = [](const QString &filtroDialogo) {
        static const QRegularExpression primo(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
        return primo.match(filtroDialogo).captured(1);
    };
    if (!filtroScelto.isEmpty())
        dialogo.selectNameFilter(filtroScelto);
    dialogo.setDefaultSuffix(suffisso(dialogo.selectedNameFilter()));
    QObject::connect(
        &dialogo, &QFileDialog::filterSelected, &dialogo,
        [&dialogo, suffisso](const QString &scelto) { dialogo.setDefaultSuffix(suffisso(scelto)); });
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    filtroScelto = dialogo.selectedNameFilter();
    return dialogo.selectedFiles().constFirst();
}

QString ScegliCartella(QWidget *parent, const QString &titolo, const QString &cartella)
{
    return Percorso(RP::Cartella,
                    {{QStringLiteral("titolo"), titolo}, {QStringLiteral("cartella"), cartella}}, [&] {
                        QFileDialog dialogo(parent, titolo, cartella);
                        dialogo.setFileMode(QFileDialog::Directory);
                        dialogo.setOption(QFileDialog::ShowDirsOnly);
                        return sceltaDialogo(dialogo);
                    });
}

bool ApriConShell(const QUrl &indirizzo)
{
    if (RP::Attivo(RP::ApriShell)) {
        RP::Registra(RP::ApriShell, {{QStringLiteral("url"), indirizzo}});
        return RP::Prendi(RP::ApriShell).value_or(QVariant(true)).toBool();
    }
    return QDesktopServices::openUrl(indirizzo);
}

void UnoShot(QObject *contesto, std::function<void()> fatto)
{
    QTimer::singleShot(0, contesto, std::move(fatto));
}

QTimer *CreaTimerUnoShot(QObject *parent, std::function<void()> fatto)
{
    auto *t = new QTimer(parent);
    t->setSingleShot(true);
    t->setInterval(0);
    QObject::connect(t, &QTimer::timeout, parent, std::move(fatto));
    return t;
}

namespace
{
int g_occupati = 0;
} // namespace

CursoreOccupato::CursoreOccupato()
{
    // Without windows (a program without a GUI) there is nothing to show.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    m_attivo = true;
    if (g_occupati++ > 0)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

CursoreOccupato::~CursoreOccupato()
{
    if (m_attivo && --g_occupati == 0)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace UtilFinestre
