// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom of the main window: the designed layout, every position, size and font size,
// shown times one factor. A start takes the factor the run before kept, or else the largest
// up to 1 at which the design shows whole on the screen; Ctrl+Plus, Ctrl+Minus and Ctrl+0
// zoom in, out and back to that start factor, and the factor chosen is kept for the next
// start.

#include "form1.h"

#include "platform/atomicwrite.h"

#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>

#include <algorithm>

namespace {

// The keys of a zoom: the platform's own, and the same keys as they are typed on the
// keyboards where plus shares its key with the equals sign, and on the keypad.
QList<QKeySequence> zoomKeys(QKeySequence::StandardKey standard,
                             std::initializer_list<QKeyCombination> more)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    for (const QKeyCombination key : more) {
        if (!keys.contains(QKeySequence(key)))
            keys.append(QKeySequence(key));
    }
    return keys;
}

} // namespace

void Form1::setDesignGeometry(QWidget *control, const QRect &design)
{
    m_designed[control].geometry = design;
    control->setGeometry(zoom::scaled(design, m_zoom));
}

QRect Form1::designGeometry(QWidget *control) const
{
    return m_designed.value(control).geometry;
}

void Form1::setDesignFont(QWidget *control, const QFont &design)
{
    m_designed[control].pointSize = design.pointSizeF();
    QFont font = design;
    font.setPointSizeF(design.pointSizeF() * m_zoom);
    control->setFont(font);
}

QFont Form1::designFont(QWidget *control) const
{
    QFont font = control->font();
    if (const qreal points = m_designed.value(control).pointSize; points > 0)
        font.setPointSizeF(points);
    return font;
}

void Form1::connectZoom()
{
    const auto shortcut = [this](const QList<QKeySequence> &keys, void (Form1::*zoom)()) {
        auto *keysOfZoom = new QShortcut(this);
        keysOfZoom->setKeys(keys);
        connect(keysOfZoom, &QShortcut::activated, this, zoom);
    };
    const Qt::KeyboardModifiers keypad = Qt::ControlModifier | Qt::KeypadModifier;
    shortcut(zoomKeys(QKeySequence::ZoomIn,
                      {Qt::ControlModifier | Qt::Key_Equal, keypad | Qt::Key_Plus}),
             &Form1::zoomIn);
    shortcut(zoomKeys(QKeySequence::ZoomOut, {keypad | Qt::Key_Minus}), &Form1::zoomOut);
    shortcut({QKeySequence(Qt::ControlModifier | Qt::Key_0), QKeySequence(keypad | Qt::Key_0)},
             &Form1::zoomBack);
}

QSize Form1::clientRoom(const QSize &outer, const QMargins &frame) const
{
    return zoom::clientRoom(outer, frame, menuBar()->sizeHint().height());
}

void Form1::fitZoom(const QSize &room)
{
    m_startZoom = zoom::startFactor(room);
    m_zoomRange = zoom::range(room);
    applyZoom(m_keptZoom ? zoom::keptFactor(*m_keptZoom, m_zoomRange) : m_startZoom);
}

void Form1::applyZoom(double factor)
{
    if (factor == m_zoom)
        return;
    m_zoom = factor;
    for (auto it = m_designed.cbegin(); it != m_designed.cend(); ++it) {
        QWidget *control = it.key();
        control->setGeometry(zoom::scaled(it->geometry, factor));
        if (it->pointSize > 0) {
            QFont font = control->font();
            font.setPointSizeF(it->pointSize * factor);
            control->setFont(font);
        }
    }
    fitCloseWordsLine();
}

void Form1::zoomIn()
{
    const double factor = zoom::zoomedIn(m_zoom, m_zoomRange);
    if (factor == m_zoom)
        return;
    applyZoom(factor);
    keepZoom(zoom::percentOf(factor));
}

void Form1::zoomOut()
{
    const double factor = zoom::zoomedOut(m_zoom, m_zoomRange);
    if (factor == m_zoom)
        return;
    applyZoom(factor);
    keepZoom(zoom::percentOf(factor));
}

void Form1::zoomBack()
{
    applyZoom(m_startZoom);
    // The next start fits its own screen again.
    keepZoom(std::nullopt);
}

void Form1::keepZoom(std::optional<int> percent)
{
    if (percent == m_keptZoom)
        return;
    m_keptZoom = percent;
    // Kept beside the settings file; a zoom that cannot be kept still applies to this run.
    const QString path = zoom::keptPath(settingsFile().path());
    if (!path.isEmpty())
        platform::writeFileAtomically(path, zoom::formatKept(percent));
}
