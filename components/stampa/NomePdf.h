// The name of a PDF made without asking the user: the PDF path of the
// e-mail and PDF settings ("PdfNomeFile" of the print options) names either
// a folder, which gets a file named after the print and the moment, or the
// file itself. An existing file is never overwritten: "_2", "_3"... go
// before the extension.
#pragma once

#include <QDateTime>
#include <QString>

class OpzStampa;

QString NomePdfAutomatico(const OpzStampa &opz, const QString &titolo, const QDateTime &quando);
// A file name made of a print's title ("Elenco clienti" -> "Elenco_clienti").
QString NomeFileDaTitolo(const QString &titolo);
