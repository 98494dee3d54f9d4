// SPDX-License-Identifier: GPL-3.0-or-later
#include "form2.h"

#include "shell/appresources.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

namespace {
// The client area is a little smaller than the picture: its last 3 columns and 5 rows
// lie outside it.
constexpr QSize kClientSize(515, 457);
constexpr QSize kPictureSize(518, 462);

// The picture (scripts/make-about-picture.sh) leaves this band free for the version of the
// build, between what the program is and the credits, and writes its text in this ink.
constexpr QRect kVersionBand(0, 350, 518, 32);
constexpr QRgb kInk = 0x5A4A20;

QString versionText()
{
    return QStringLiteral("Version " VELLUMSTACK_VERSION);
}

// The stored picture with the version written into its band.
QPixmap aboutPicture()
{
    QPixmap picture(QStringLiteral(":/vellumstack/about.bmp"));
    if (picture.isNull())
        return picture;
    QPainter painter(&picture);
    // The face of the picture's own text where it is installed, another sans-serif face
    // where not.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(kInk));
    painter.drawText(kVersionBand, Qt::AlignCenter, versionText());
    return picture;
}

} // namespace

Form2::Form2(QWidget *parent) : QWidget(parent, Qt::Window)
{
    initAppResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Vellumstack"));
    setWindowIcon(QIcon(QStringLiteral(":/vellumstack/icon.png")));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientSize);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(false);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(aboutPicture());
    Image1->setGeometry(QRect(QPoint(0, 0), kPictureSize));
    Image1->setAccessibleName(QStringLiteral("About Vellumstack"));
    Image1->setAccessibleDescription(
        QStringLiteral("Vellumstack, an offline English–Arabic dictionary. %1. Arabic "
                       "translations from the FreeDict English–Arabic dictionary; idioms and "
                       "their glosses from WordNet 3.0, © Princeton University.")
            .arg(versionText()));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), kClientSize);
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void Form2::closeEvent(QCloseEvent *event)
{
    Q_EMIT unloaded();
    event->accept();
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // The window has no button of its own; a keyboard user leaves it with Esc, the same
    // close as the close box's.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
