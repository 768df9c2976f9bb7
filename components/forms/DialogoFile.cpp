// The program's file dialogs in the program's language.
#include "components/forms/DialogoFile.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>
#include <algorithm>

const QFileSystemModel *ModelloFileLocale::fileSystem() const
{
    return qobject_cast<const QFileSystemModel *>(sourceModel());
}

QVariant ModelloFileLocale::data(const QModelIndex &indice, int ruolo) const
{
    // Columns of the file list: 1 the size, 3 the modification date.
    const QFileSystemModel *fs = fileSystem();
    if (ruolo != Qt::DisplayRole || !fs || (indice.column() != 1 && indice.column() != 3))
        return QIdentityProxyModel::data(indice, ruolo);
    const QModelIndex origine = mapToSource(indice);
    if (indice.column() == 1)
        return fs->isDir(origine) ? QIdentityProxyModel::data(indice, ruolo)
                                  : QVariant(QLocale().formattedDataSize(fs->size(origine)));
    const QDateTime quando = fs->lastModified(origine);
    return quando.isValid() ? QVariant(QLocale().toString(quando, QLocale::ShortFormat))
                            : QVariant(QString());
}

namespace UtilFinestre
{

void PreparaDialogoFile(QFileDialog &dialogo)
{
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setProxyModel(new ModelloFileLocale(&dialogo));
    // The detail view's columns are sized for Qt's own sample values, some
    // narrower than their heading in Italian ("Dimensione"): each column is
    // made at least as wide as its heading needs, by the header's font.
    if (auto *vista = dialogo.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *intestazione = vista->header();
        for (int i = 0; i < intestazione->count(); ++i)
            if (!intestazione->isSectionHidden(i))
                intestazione->resizeSection(
                    i, std::max(intestazione->sectionSize(i), intestazione->sectionSizeHint(i)));
    }
}

} // namespace UtilFinestre
