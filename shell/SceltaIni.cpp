// Finding the program INI and choosing among several INI files.
#include "shell/SceltaIni.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/util/ProfiloIni.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

const QString SezionePar = QStringLiteral("Parametri Generali");
const QString TipoScelta = QStringLiteral("sceltaIni");

bool esisteFile(const QString &p)
{
    return !p.isEmpty() && QFileInfo(p).isFile();
}

} // namespace

QString CercaIni(const QString &psIni, const QString &psDirProgramma, const QString &psDirCorrente)
{
    const QString nome = psIni.trimmed().isEmpty() ? NomeIniPredefinito : psIni.trimmed();
    if (QDir::isAbsolutePath(nome) || nome.contains(QLatin1Char('/'))) {
        const QString p = QDir::isAbsolutePath(nome) ? nome : QDir(psDirCorrente).absoluteFilePath(nome);
        return esisteFile(p) ? QDir::cleanPath(p) : QString();
    }
    for (const QString &dir : {QDir(psDirProgramma).filePath(QStringLiteral("main")), psDirCorrente}) {
        if (dir.isEmpty())
            continue;
        const QString p = QDir(dir).absoluteFilePath(nome);
        if (esisteFile(p))
            return QDir::cleanPath(p);
    }
    return {};
}

QList<VoceIni> ElencoIni(const QString &psPathIni)
{
    const ProfiloIni ini(psPathIni);
    const int n = ini.LeggiIntero(SezionePar, QStringLiteral("NumIni"), 0);
    const QDir dir = QFileInfo(psPathIni).absoluteDir();
    QList<VoceIni> elenco;
    for (int i = 1; i <= n; ++i) {
        const QString voce = ini.LeggiStringa(SezionePar, QStringLiteral("Ini%1").arg(i)).trimmed();
        if (voce.isEmpty())
            continue;
        VoceIni v;
        v.percorso = QDir::cleanPath(dir.absoluteFilePath(voce));
        v.descrizione = ini.LeggiStringa(SezionePar, QStringLiteral("DescIni%1").arg(i)).trimmed();
        if (v.descrizione.isEmpty())
            v.descrizione =
                ProfiloIni::Leggi(v.percorso, QStringLiteral("Connessioni"), QStringLiteral("NomeDB"));
        if (v.descrizione.isEmpty())
            v.descrizione = QFileInfo(v.percorso).fileName();
        elenco << v;
    }
    if (ini.LeggiStringa(SezionePar, QStringLiteral("OrdIniDBase"))
            .trimmed()
            .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
        std::stable_sort(elenco.begin(), elenco.end(), [](const VoceIni &a, const VoceIni &b) {
            return a.descrizione.compare(b.descrizione, Qt::CaseInsensitive) < 0;
        });
    return elenco;
}

QString ScegliIni(const QList<VoceIni> &elenco)
{
    if (elenco.isEmpty())
        return {};
    if (RisposteProgrammate::Attivo(TipoScelta)) {
        QStringList descrizioni;
        for (const VoceIni &v : elenco)
            descrizioni << v.descrizione;
        RisposteProgrammate::Registra(TipoScelta, {{QStringLiteral("voci"), descrizioni}});
        const int i = RisposteProgrammate::Prendi(TipoScelta).value_or(0).toInt();
        return i >= 0 && i < elenco.size() ? elenco.at(i).percorso : QString();
    }

    QDialog dlg;
    dlg.setObjectName(QStringLiteral("frmSceltaIni"));
    dlg.setWindowTitle(QStringLiteral("Scelta archivio"));
    auto *lay = new QVBoxLayout(&dlg);
    lay->addWidget(new QLabel(QStringLiteral("Scegliere l'archivio su cui lavorare:"), &dlg));
    auto *lista = new QListWidget(&dlg);
    for (const VoceIni &v : elenco)
        lista->addItem(v.descrizione);
    lista->setCurrentRow(0);
    lay->addWidget(lista);
    auto *bottoni = new QDialogButtonBox(&dlg);
    bottoni->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    bottoni->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole);
    lay->addWidget(bottoni);
    QObject::connect(bottoni, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(bottoni, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    QObject::connect(lista, &QListWidget::itemActivated, &dlg, &QDialog::accept);
    if (dlg.exec() != QDialog::Accepted || lista->currentRow() < 0)
        return {};
    return elenco.at(lista->currentRow()).percorso;
}
