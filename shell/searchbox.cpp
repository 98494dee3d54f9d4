// SPDX-License-Identifier: GPL-3.0-or-later
#include "searchbox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {

bool breaksLine(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

} // namespace

namespace searchbox {

QString pastedKey(QStringView pasted)
{
    qsizetype start = 0;
    while (start < pasted.size()) {
        qsizetype end = start;
        while (end < pasted.size() && !breaksLine(pasted[end]))
            ++end;
        const QStringView line = pasted.sliced(start, end - start).trimmed();
        if (!line.isEmpty())
            return line.toString();
        start = end + 1;
    }
    return {};
}

} // namespace searchbox

void SearchBox::pasteKey(QClipboard::Mode mode)
{
    if (!isReadOnly())
        insertKey(QGuiApplication::clipboard()->text(mode));
}

bool SearchBox::insertKey(const QString &pasted)
{
    const QString key = searchbox::pastedKey(pasted);
    if (key.isEmpty())
        return false;
    // One change of the text: the selection goes and the key comes in its place. As with the
    // box's own paste, undo takes back the paste alone, neither the typing before it nor
    // the typing after it.
    closeUndoStep();
    insert(key);
    closeUndoStep();
    return true;
}

void SearchBox::closeUndoStep()
{
    // A selection is removed as an undo step of its own; with nothing typed there is
    // nothing to keep apart.
    if (hasSelectedText() || text().isEmpty())
        return;
    // The box ends an undo step where its cursor moves.
    const int at = cursorPosition();
    setCursorPosition(at > 0 ? at - 1 : at + 1);
    setCursorPosition(at);
}

void SearchBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteKey();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SearchBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste is the box's own paste, which is not one that can be replaced; the
    // item is told by its caption, as the box itself words it.
    const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *item : menu->actions()) {
        if (item->text() == paste || item->text().startsWith(paste + u'\t')) {
            disconnect(item, &QAction::triggered, this, nullptr);
            connect(item, &QAction::triggered, this, [this] { pasteKey(); });
        }
    }
    menu->popup(event->globalPos());
    event->accept();
}

void SearchBox::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection where the press put the cursor.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !isReadOnly()) {
        deselect();
        pasteKey(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void SearchBox::dropEvent(QDropEvent *event)
{
    // Text dragged inside the box is moved as it stands.
    if (event->source() == this || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    const QString key = searchbox::pastedKey(event->mimeData()->text());
    if (key.isEmpty()) {
        event->ignore();
        return;
    }
    QMimeData dropped;
    dropped.setText(key);
    QDropEvent keyDrop(event->position(), event->possibleActions(), &dropped, event->buttons(),
                       event->modifiers(), event->type());
    keyDrop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&keyDrop);
    event->setDropAction(keyDrop.dropAction());
    event->setAccepted(keyDrop.isAccepted());
}
