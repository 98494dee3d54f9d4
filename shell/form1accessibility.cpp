// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window tells assistive technology (a screen reader): a name for every
// control the user sees or reaches, a description where the name is not enough, the heading
// that labels the definition box, and a tree that holds only what is on the screen.

#include "form1.h"

#include "lookup/caption.h"
#include "platform/codepage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>

namespace {

// A control the user cannot see: hidden, a label without text, or lying wholly under a
// shown control stacked above it (rr3 under rr1, Label2 under Label12).
bool unseen(const QWidget *control)
{
    if (control->isWindow() || control->isHidden())
        return true;
    if (const auto *label = qobject_cast<const QLabel *>(control);
        label && label->text().isEmpty() && label->pixmap().isNull())
        return true;
    const QObjectList &siblings = control->parentWidget()->children(); // lowest first
    for (qsizetype k = siblings.indexOf(control) + 1; k < siblings.size(); ++k) {
        const auto *above = qobject_cast<const QWidget *>(siblings[k]);
        if (above && !above->isWindow() && !above->isHidden() &&
            above->geometry().contains(control->geometry()))
            return true;
    }
    return false;
}

// The window's client area as assistive technology sees it: its children are the
// controls the user can see at the moment, in stacking order.
class SeenControls : public QAccessibleWidget
{
public:
    explicit SeenControls(QWidget *area) : QAccessibleWidget(area, QAccessible::Client) {}

    QList<QWidget *> seen() const
    {
        QList<QWidget *> controls;
        for (QObject *child : widget()->children()) {
            auto *control = qobject_cast<QWidget *>(child);
            if (control && !unseen(control))
                controls.append(control);
        }
        return controls;
    }

    int childCount() const override { return int(seen().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> controls = seen();
        if (index < 0 || index >= controls.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(controls[index]);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || !child->object())
            return -1;
        return int(seen().indexOf(child->object()));
    }
};

bool isClientArea(const QObject *object)
{
    return object->objectName() == u"client" && qobject_cast<const Form1 *>(object->parent());
}

QAccessibleInterface *clientAreaFactory(const QString &key, QObject *object)
{
    if (key == u"QWidget" && isClientArea(object))
        return new SeenControls(static_cast<QWidget *>(object));
    return nullptr;
}

// Tells assistive technology that the client area's children changed whenever one of its
// controls is shown or hidden.
class ShownOrHidden : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
            if (QObject *area = watched->parent()) {
                QAccessibleEvent reorder(area, QAccessible::ObjectReorder);
                QAccessible::updateAccessibility(&reorder);
            }
        }
        return false;
    }
};

// The entry a caption of the engine names, as its label shows it: what the label reads.
QString shownLine(const QByteArray &caption)
{
    return platform::codepage::fromWestern(lookup::shownHeadword(caption));
}

void setName(QWidget *control, const QString &name)
{
    // Only a real change: each setting announces a change of name.
    if (control->accessibleName() != name)
        control->setAccessibleName(name);
}

} // namespace

void Form1::setUpAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(clientAreaFactory);
        return true;
    }();
    Q_UNUSED(installed);
    // An interface made for the client area before the factory could see its name is
    // dropped, so that the next query makes the one that leaves out unseen controls.
    menuBar()->setAccessibleName(QStringLiteral("Main menu"));

    QWidget *client = centralWidget();
    QAccessibleInterface *area = QAccessible::queryAccessibleInterface(client);
    if (area && !dynamic_cast<SeenControls *>(area))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(area));
    auto *watcher = new ShownOrHidden(client);
    for (QObject *child : client->children()) {
        if (child->isWidgetType())
            child->installEventFilter(watcher);
    }

    // The heading labels the definition box, whose text the keyboard can select and read.
    Label1->setBuddy(rr1);
    Label1->setAccessibleName(Label1->text().trimmed());
    rr1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    rr->setAccessibleDescription(
        QStringLiteral("Every change of the text moves the list to the first entry that begins "
                       "with it; Enter shows that entry's definition."));
    l->setAccessibleDescription(
        QStringLiteral("The entries around the one found. A click puts an entry into the search "
                       "box, a double click shows its definition."));
    Command1->setAccessibleDescription(QStringLiteral("Shows the definition of the entry found."));
    rr1->setAccessibleDescription(
        QStringLiteral("The definition looked up last; read-only, its text can be selected."));
    rr3->setAccessibleName(QStringLiteral("Definitions area"));
    rr3->setAccessibleDescription(QStringLiteral("Empty: no definition is shown."));

    // The names that follow the mode and the entry shown. The mode items' own handlers run
    // first, so the names are read off the window they leave.
    for (QAction *item : {words, IdiomsandExpressions}) {
        connect(item, &QAction::toggled, this, &Form1::updateAccessibleNames);
        connect(item, &QAction::triggered, this, &Form1::updateAccessibleNames);
    }
    connect(Command1, &QPushButton::clicked, this, &Form1::updateAccessibleNames);
    updateAccessibleNames();
}

void Form1::updateAccessibleNames()
{
    const bool idioms = m_engine.mode() == lookup::Mode::Idioms;
    setName(rr, idioms ? QStringLiteral("Idiom or expression to look up")
                       : QStringLiteral("Word to look up"));
    setName(l, idioms ? QStringLiteral("Idioms and expressions") : QStringLiteral("Words"));

    const QString entry = shownLine(m_engine.shownCaption());
    setName(Label2, entry);
    setName(Label12, shownLine(m_engine.caption()));
    setName(rr1, entry.isEmpty() ? QStringLiteral("Definitions")
                                 : Label1->accessibleName() + u' ' + entry);

    // A caption that became empty or filled in leaves or joins the tree.
    QAccessibleEvent reorder(centralWidget(), QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}
