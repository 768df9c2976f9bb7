// The program's file dialogs: Qt's own dialog (never the desktop's, whose
// language is the desktop's), with its texts translated and the sizes and
// dates of its files written by the program's locale, as the type column
// already is, instead of the system's.
#pragma once

#include <QIdentityProxyModel>

class QFileDialog;
class QFileSystemModel;

// The file list of a dialog with the size and the modification date of each
// file in the default locale (the type comes from it already).
class ModelloFileLocale : public QIdentityProxyModel
{
    Q_OBJECT
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override;

  private:
    const QFileSystemModel *fileSystem() const;
};

namespace UtilFinestre
{

// Makes `dialogo` one of the program's: Qt's own, with its sizes and dates
// in the default locale.
void PreparaDialogoFile(QFileDialog &dialogo);

} // namespace UtilFinestre
