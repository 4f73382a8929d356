#include "ProgressCancel.h"

#include <QAbstractButton>
#include <QProgressDialog>

void StayOpenWhenCancelled(QProgressDialog& progress, const std::function<void()>& onCancel)
{
    // Qt makes this connection by name; only a disconnection by name undoes it.
    QObject::disconnect(&progress, SIGNAL(canceled()), &progress, SLOT(cancel()));
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&progress, onCancel] {
        onCancel();
        progress.setLabelText(QStringLiteral("Cancelling..."));
        if (QAbstractButton* button = progress.findChild<QAbstractButton*>())
            button->setEnabled(false);
    });
}
