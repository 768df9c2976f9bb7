// The name of a PDF made without asking the user: the PDF path of the
// e-mail and PDF settings ("PdfNomeFile" of the print options) names either
// a folder, which gets a file named after the print and the moment, or the
// file itself (a name ending in ".pdf"). A folder that does not exist is
// refused, never taken for a file name: the answer is "" and `errore` names
// the folder. An existing file is never overwritten: "_2", "_3"... go before
// the extension.
#pragma once

#include <QDateTime>
#include <QString>

class OpzStampa;

QString NomePdfAutomatico(const OpzStampa &opz, const QString &titolo, const QDateTime &quando,
                          QString *errore = nullptr);
// A file name made of a print's title ("Elenco clienti" -> "Elenco_clienti").
QString NomeFileDaTitolo(const QString &titolo);
