// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

// The search box, a single-line box whose every change of text is a search key. A paste
// puts in one line without blanks at either end, in one change of the text, so that a word
// copied with its line break or with spaces around it finds that word.
namespace searchbox {

// What a paste of pasted puts into the box: its first line that holds anything but blanks,
// without the blanks at either end; empty when no line does.
QString pastedKey(QStringView pasted);

} // namespace searchbox

// Every way of pasting (Ctrl+V and Shift+Insert, the context menu's Paste, the middle
// button's paste of the selection, a drop from elsewhere) puts in searchbox::pastedKey of
// the text, replacing the selection, as one change of the text. A paste that keeps nothing
// changes nothing. Typed text goes in exactly as typed.
class SearchBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

    void pasteKey(QClipboard::Mode mode = QClipboard::Clipboard);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Puts in the key of pasted; false when it keeps nothing.
    bool insertKey(const QString &pasted);
    void closeUndoStep();
};
