#pragma once

#include <QDialog>

class QTextBrowser;

namespace ivra {

// The help window of the operator dialogs' Info button and the segmentation
// viewer's: the rich-text (HTML) help above a "Close" button; modal, 400 x 300 at
// least, captioned like the window it helps with.
class HelpDialog : public QDialog {
    Q_OBJECT

public:
    explicit HelpDialog(const QString& text, QWidget* parent = nullptr);

    QTextBrowser* textView() const { return text_; }

    // Runs a help window with the text over parent and deletes it when closed.
    static void showHelp(const QString& text, QWidget* parent);

private:
    QTextBrowser* text_;
};

} // namespace ivra
