#include "HelpDialog.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTextBrowser>

namespace ivra {

HelpDialog::HelpDialog(const QString& text, QWidget* parent) : QDialog(parent)
{
    setModal(true);
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

void HelpDialog::showHelp(const QString& text, QWidget* parent)
{
    HelpDialog dialog(text, parent);
    dialog.exec();
}

} // namespace ivra
