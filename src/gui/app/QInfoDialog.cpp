#include "QInfoDialog.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTextBrowser>

#include <memory>

namespace ivra {

QInfoDialog::QInfoDialog(const QString& text, QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setObjectName(name);
    setModal(modal);
    if (parent)
        setWindowTitle(parent->windowTitle());

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    text_ = new QTextBrowser(this);
    text_->setHtml(text);
    text_->setOpenLinks(false);
    text_->setAccessibleName(tr("Help"));
    grid->addWidget(text_, 0, 0, 1, 3);

    auto* close = new QPushButton(tr("Close"), this);
    close->setDefault(true);
    grid->addWidget(close, 1, 2);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    setMinimumSize(400, 300);
    resize(400, 300);
}

void QInfoDialog::showHelp(const QString& text, QWidget* parent)
{
    auto dialog = std::make_unique<QInfoDialog>(text, parent, QString(), true);
    dialog->exec();
}

} // namespace ivra
