#pragma once

#include <QDialog>

class QTextBrowser;

namespace ivra {

// The help window every operator dialog's Info button opens: the rich-text (HTML)
// help above a "Close" button; 400 x 300 at least.
class QInfoDialog : public QDialog {
    Q_OBJECT

public:
    QInfoDialog(const QString& text, QWidget* parent = nullptr, const QString& name = {}, bool modal = true,
                Qt::WindowFlags flags = {});

    QTextBrowser* textView() const { return text_; }

    // Runs a modal help window with the text over parent and deletes it when closed.
    static void showHelp(const QString& text, QWidget* parent);

private:
    QTextBrowser* text_;
};

} // namespace ivra
