// make-demo PATH [--customers N] [--menu MENUPATH] [--seed S] [--documenti DIR]:
// writes the demo company database (and its common menu database)
// deterministically; with --documenti, a small PDF under DIR for each
// attached-document line, so that opening one works.
#include "components/util/VbErrore.h"
#include "data/generator/Generatore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>

namespace
{

int Uso()
{
    std::fprintf(
        stderr,
        "uso: make-demo PERCORSO [--customers N] [--menu PERCORSO_MENU] [--seed S] [--documenti CARTELLA]\n");
    return 2;
}

// A one-page PDF showing `titolo` (ASCII), with its cross-reference table.
QByteArray PdfMinimo(const QByteArray &titolo)
{
    QByteArray testo = titolo;
    testo.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
    const QByteArray flusso = "BT /F1 18 Tf 72 760 Td (" + testo + ") Tj ET";
    const QList<QByteArray> oggetti = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(flusso.size()) + " >>\nstream\n" + flusso + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> posizioni;
    for (int i = 0; i < oggetti.size(); ++i) {
        posizioni << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + oggetti[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(oggetti.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype p : posizioni)
        pdf += QByteArray::number(p).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(oggetti.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// The files the attached-document lines name under the documents folder.
int ScriviDocumentiAllegati(const QString &database, const QString &cartella)
{
    const QString prefisso = QStringLiteral("§Documenti§/");
    int scritti = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("allegati"));
        db.setDatabaseName(database);
        if (!db.open())
            throw VbErrore(-1, QStringLiteral("impossibile aprire %1").arg(database));
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT Descrizione, Percorso FROM PianoContiDoc"));
        while (q.next()) {
            const QString percorso = q.value(1).toString();
            if (!percorso.startsWith(prefisso))
                continue;
            const QString file = QDir(cartella).filePath(percorso.mid(prefisso.size()));
            QDir().mkpath(QFileInfo(file).absolutePath());
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly) ||
                f.write(PdfMinimo((q.value(0).toString() + QStringLiteral(" - ") + QFileInfo(file).baseName())
                                      .toLatin1())) < 0)
                throw VbErrore(-1, QStringLiteral("impossibile scrivere %1").arg(file));
            ++scritti;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("allegati"));
    return scritti;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arg = app.arguments().mid(1);
    OpzioniDemo opz;
    QString documenti;
    for (int i = 0; i < arg.size(); ++i) {
        const QString &a = arg.at(i);
        const bool conValore = i + 1 < arg.size();
        bool ok = true;
        if (a == "--customers" && conValore)
            opz.clienti = arg.at(++i).toInt(&ok);
        else if (a == "--menu" && conValore)
            opz.percorsoMenu = arg.at(++i);
        else if (a == "--documenti" && conValore)
            documenti = arg.at(++i);
        else if (a == "--seed" && conValore)
            opz.seme = arg.at(++i).toULongLong(&ok);
        else if (!a.startsWith("--") && opz.percorso.isEmpty())
            opz.percorso = a;
        else
            return Uso();
        if (!ok || opz.clienti < 0 || opz.clienti > 2000000)
            return Uso();
    }
    if (opz.percorso.isEmpty())
        return Uso();
    QDir().mkpath(QFileInfo(opz.percorso).absolutePath());
    if (!opz.percorsoMenu.isEmpty())
        QDir().mkpath(QFileInfo(opz.percorsoMenu).absolutePath());
    try {
        QElapsedTimer t;
        t.start();
        const EsitoDemo e = GeneraDemo(opz);
        std::printf("%s: %d clienti, %d altri conti, %d documenti (%d righe), %d comuni; %s; %.1f s\n",
                    qPrintable(opz.percorso), e.clienti, e.altriConti, e.documenti, e.righe, e.comuni,
                    qPrintable(e.percorsoMenu), double(t.elapsed()) / 1000.0);
        if (!documenti.isEmpty())
            std::printf("%s: %d documenti allegati\n", qPrintable(documenti),
                        ScriviDocumentiAllegati(opz.percorso, documenti));
    } catch (const VbErrore &e) {
        std::fprintf(stderr, "make-demo: %s\n", qPrintable(e.descrizione()));
        return 1;
    }
    return 0;
}
