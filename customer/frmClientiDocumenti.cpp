// Attached documents of the customer form (grid 0): choosing the file of a
// line with the file dialog, and opening it with the desktop's program. A
// stored path may begin with a placeholder, a key of the INI section [Base]
// between two "§", that stands for a documents folder, so that the stored
// paths survive a move of that folder.
#include "customer/frmClienti.h"

#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace
{

void avviso(const QString &testo)
{
    msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

bool separatore(QChar c)
{
    return c == u'/' || c == u'\\';
}

// The chosen path with every occurrence of the base folder written back as its
// placeholder, as the expansion puts it back everywhere. Only a whole folder
// counts: "/doc2/a" does not hold "/doc", since a stored "§Doc§2/a" would name
// another folder once the base folder moves.
QString ConSegnaposto(const QString &percorso, const QString &cartella, const QString &segnaposto)
{
    if (cartella.isEmpty() || segnaposto.isEmpty())
        return percorso;
    QString r;
    qsizetype da = 0;
    for (qsizetype p = percorso.indexOf(cartella); p >= 0; p = percorso.indexOf(cartella, p + 1)) {
        const qsizetype fine = p + cartella.size();
        const bool inizioIntero = p == 0 || separatore(cartella.front()) || separatore(percorso[p - 1]);
        const bool fineIntera =
            fine == percorso.size() || separatore(cartella.back()) || separatore(percorso[fine]);
        if (p < da || !inizioIntero || !fineIntera)
            continue;
        r += percorso.mid(da, p - da) + segnaposto;
        da = fine;
    }
    return r + percorso.mid(da);
}

// The current line's path with its placeholder expanded.
QString PercorsoEspanso(GestLinee &g, QString &segnaposto, QString &valore)
{
    return LeggiListaIni(g.ValoreCella(QStringLiteral("Percorso")).toString(), QStringLiteral("§"),
                         QStringLiteral("Base"), segnaposto, valore);
}

} // namespace

void frmClienti::CercaDocumento()
{
    if (LinAttuale != 0)
        return;
    GestLinee *g = GestLin(0);
    if (g->Livello() != 1)
        return;
    if (g->RigaCorrente() < 0) {
        avviso(QStringLiteral(
            "Selezionare la riga del documento, o aggiungerne una, prima di scegliere il file."));
        return;
    }
    try {
        QString segnaposto, valore;
        const QString percorso = PercorsoEspanso(*g, segnaposto, valore);
        const UtilGlob &u = Globali::Util();
        const QString cartella = u.CartellaDaPercorso(percorso);
        const QString nome = u.NomeDaPercorso(percorso);
        const QString scelto = UtilFinestre::ScegliFileDaAprire(
            this, QStringLiteral("File Base da Copiare"),
            nome.isEmpty() ? cartella : u.UnisciPercorso(cartella, nome), QString());
        if (scelto.isEmpty())
            return;
        g->ImpostaValoreCella(QStringLiteral("Percorso"), ConSegnaposto(scelto, valore, segnaposto));
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void frmClienti::ApriDocumento()
{
    if (LinAttuale != 0)
        return;
    try {
        QString segnaposto, valore;
        const QString percorso = PercorsoEspanso(*GestLin(0), segnaposto, valore).trimmed();
        if (Globali::Util().ValoreVuoto(percorso))
            return;
        // A web address goes to the browser as it is; a file must be there.
        static const QRegularExpression indirizzo(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
        QUrl url;
        if (indirizzo.match(percorso).hasMatch()) {
            url = QUrl(percorso);
        } else {
            if (!QFileInfo::exists(percorso)) {
                avviso(QStringLiteral("Il documento non esiste:\r\n") + percorso);
                return;
            }
            url = QUrl::fromLocalFile(percorso);
        }
        if (!UtilFinestre::ApriConShell(url))
            avviso(QString::fromUtf8("Impossibile aprire il documento:\r\n") + percorso +
                   QString::fromUtf8("\r\nNessun programma è associato a questo tipo di file."));
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}
