// SPDX-License-Identifier: MIT
#include "app/pictures.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include <cstdio>

namespace talmo {
namespace {

// Read by Qt's own PNG reader. Left to guess the format, QImageReader first
// loads every image format plugin installed (gif, ico, jpeg with libjpeg) to
// ask each of them, which cost the start a few milliseconds.
QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

void ShowPicture(QLabel* box, const QString& name, ProgramEnd& end) {
    const QString base = ":/pictures/" + name;
    // Read as images: they keep their own pixel size, whatever the screen.
    const QImage plain = ReadPng(base + ".png");
    if (plain.isNull()) {
        std::fprintf(stderr, "talmo: the picture %s cannot be loaded\n", qPrintable(name));
        end.EndProgram(1);
        return;
    }
    // Its own size, or smaller to fit the box; in device pixels.
    QSize logical = plain.size();
    if (logical.width() > box->width() || logical.height() > box->height()) {
        logical.scale(box->size(), Qt::KeepAspectRatio);
    }
    const qreal density = box->devicePixelRatioF();
    const QSize device = (QSizeF(logical) * density).toSize();
    // Drawn from the double-size image whenever more pixels are needed.
    QImage source = plain;
    if (device != plain.size() && QFile::exists(base + "@2x.png")) {
        source = ReadPng(base + "@2x.png");
    }
    QPixmap shown =
        QPixmap::fromImage(source.size() == device ? source
                                                   : source.scaled(device, Qt::KeepAspectRatio,
                                                                   Qt::SmoothTransformation));
    shown.setDevicePixelRatio(density);
    box->setPixmap(shown);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(
            QPixmap::fromImage(ReadPng(QStringLiteral(":/pictures/talmo-%1.png").arg(size))));
    }
    return icon;
}

}  // namespace talmo
