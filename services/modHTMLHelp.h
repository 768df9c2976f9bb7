// Context help: the help pages (HTML under docs/help) opened in the browser
// through an opener that tests replace.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// Folder of the help pages: the one set, else the one the "H" switch names
// (NomeFileHelp: the folder, a file in it, or "name.chm" for the folder
// "name"), else CLIENTI_HELP, else "help" beside the program, else the source
// tree's docs/help. Opening a page that does not exist says so.
QString CartellaHelp();
void ImpostaCartellaHelp(const QString &cartella);

// The page (with its anchor) of a help context id; the contents page for an
// unknown id.
QUrl PaginaHelp(int contesto);
// The context id of a control: its "HelpContextID" property, or its parents'.
int ContestoHelp(const QWidget *w);

bool HelpContesto(int contesto);
bool HelpSommario();
bool HelpIndice();

// Replaces the opener (the desktop's browser through the shell opener).
void ImpostaApriHelp(std::function<bool(const QUrl &)> apri);
