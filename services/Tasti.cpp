// The windows' common key handling.
#include "services/Tasti.h"

#include "components/forms/CodiciTasto.h"
#include "components/forms/UtilFinestre.h"
#include "services/FormComune.h"
#include "services/Globali.h"
#include "services/frmTrova.h"
#include "services/modHTMLHelp.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace CT = CodiciTasto;

namespace
{

QWidget *attivo(QWidget *form)
{
    QWidget *w = QApplication::focusWidget();
    if (form && (!w || w->window() != form->window()))
        w = form->window()->focusWidget();
    // A grid's cell editor is part of its grid: the grid is the active control.
    for (QWidget *p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (auto *vista = qobject_cast<QAbstractItemView *>(p))
            return vista;
    return w;
}

bool multiriga(const QWidget *w)
{
    return qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w);
}

bool campoDiTesto(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || multiriga(w);
}

} // namespace

int FiltraTasto(int KeyAscii, QWidget *form, bool pbTogliInvioEsc)
{
    using namespace Globali;
    if (KeyAscii == '.' && UltKeyCode == CT::Decimal && UltShift == 0 &&
        TastierinoVirgola.trimmed().compare(QStringLiteral("S"), Qt::CaseInsensitive) == 0)
        return ',';
    if (pbTogliInvioEsc) {
        // A newline is what Enter is for in a multi-line field such as the notes.
        if (KeyAscii == CT::Return && !multiriga(attivo(form)))
            return 0;
        if (KeyAscii == CT::Escape)
            return 0;
    }
    return KeyAscii;
}

int GestisciTastiCtrl(int &KeyCode, int &Shift, QWidget *form, bool pbAbilita)
{
    Globali::UltKeyCode = KeyCode;
    Globali::UltShift = Shift;
    if (!pbAbilita || Shift != CT::MaskCtrl)
        return 0;
    QWidget *campo = attivo(form);
    if (!campoDiTesto(campo))
        return 0;
    switch (KeyCode) {
    case 'F':
        Trova::Apri(campo, false);
        break;
    case 'H':
        Trova::Apri(campo, true);
        break;
    case 'G':
        if (Trova::UltimaRicerca().isEmpty())
            Trova::Apri(campo, false);
        else
            Trova::TrovaSuccessivo(campo, Trova::UltimaRicerca(), Trova::UltimeMaiuscole());
        break;
    default:
        return 0;
    }
    KeyCode = 0;
    return 1;
}

QString ComandoDelTasto(int KeyCode, int Shift)
{
    if (Shift == 0) {
        if (KeyCode == CT::PageUp)
            return QStringLiteral("Precedente");
        if (KeyCode == CT::PageDown)
            return QStringLiteral("Successivo");
    }
    if (Shift == CT::MaskCtrl) {
        if (KeyCode == CT::Home)
            return QStringLiteral("Inizio");
        if (KeyCode == CT::End)
            return QStringLiteral("Fine");
    }
    if (Shift == CT::MaskAlt) {
        switch (KeyCode) {
        case 'R':
            return QStringLiteral("Ricerca");
        case 'S':
            return QStringLiteral("Salva");
        case 'C':
            return QStringLiteral("Cancella");
        case 'A':
            return QStringLiteral("Annulla");
        case 'D':
            return QStringLiteral("Duplica");
        case 'V':
            return QStringLiteral("VarKey");
        case 'L':
            return QStringLiteral("Lista");
        case 'I':
            return QStringLiteral("Inizio");
        case 'P':
            return QStringLiteral("Precedente");
        case 'U':
            return QStringLiteral("Successivo");
        case 'F':
            return QStringLiteral("Fine");
        case 'H':
            return QStringLiteral("Chiudi");
        case 'M':
            return QStringLiteral("Menu");
        case CT::Subtract:
        case 189:
            return QStringLiteral("ListaInd");
        case CT::Add:
        case 187:
            return QStringLiteral("ListaAvanti");
        default:
            break;
        }
    }
    return {};
}

bool TastoDelBottone(const QAction *bottone, int KeyCode, int Shift)
{
    if (!bottone || Shift != CT::MaskAlt || !bottone->isVisible() || !bottone->isEnabled())
        return false;
    const QString suggerimento = bottone->toolTip();
    if (suggerimento.size() < 3 || suggerimento[0] != QLatin1Char('(') || suggerimento[2] != QLatin1Char(')'))
        return false;
    const QChar lettera = suggerimento[1].toUpper();
    return lettera.isLetterOrNumber() && lettera.unicode() < 128 && KeyCode == lettera.unicode();
}

int ComandoDaTasto(int &KeyCode, int &Shift, FormComune *form, bool pbAbilita)
{
    if (!pbAbilita || !form || KeyCode == 0)
        return 0;
    const QString comando = ComandoDelTasto(KeyCode, Shift);
    if (comando.isEmpty())
        return 0;
    // Inside multi-line fields and grids these keys move the cursor, not the record.
    if (Shift != CT::MaskAlt) {
        QWidget *w = attivo(form->finestra());
        if (multiriga(w) || qobject_cast<QAbstractItemView *>(w))
            return 0;
    }
    if (!form->ComandoDisponibile(comando))
        return 0;
    KeyCode = 0;
    form->ButtonComando(comando);
    return 1;
}

void RipetiKeyUp(FormComune *form, int indice, int KeyCode, int piTxtAppo)
{
    if (!form)
        return;
    UtilFinestre::ImpostaFocus(form->CampoTesto(indice, piTxtAppo != 0));
    QCoreApplication::processEvents();
    int codice = KeyCode;
    if (piTxtAppo)
        form->txtAppo_KeyUp(indice, codice, 0);
    else
        form->txt_KeyUp(indice, codice, 0);
}

bool GestisciTastoHelp(int &KeyCode, int &Shift, QWidget *form, bool)
{
    if (KeyCode != CT::F1)
        return false;
    if (Shift & (CT::MaskCtrl | CT::MaskAlt))
        HelpIndice();
    else if (Shift & CT::MaskShift)
        HelpSommario();
    else
        HelpContesto(ContestoHelp(attivo(form) ? attivo(form) : form));
    KeyCode = 0;
    return true;
}
